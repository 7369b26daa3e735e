#pragma once

#include <QDialog>
#include <QTimer>

#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace varenta::ui {

// The About box, which also serves as the start-up splash: the logo is revealed as six strips
// covering it shrink, and as a splash the window stays up five more seconds when closed.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // The splash (`splash`) or the About box, chosen before the window is shown.
    explicit frmAbout(bool splash, QWidget* parent = nullptr);

    bool FadeDone() const { return fadeDone_; }

    // Strip i's height in twips (560 at load, 50 less each tick of the reveal).
    int StripHeight(int i) const { return stripHeight_[size_t(i)]; }
    int Timer1Interval() const { return interval_; } // as the window asked, before scaling
    int HoldTicks() const { return holdTicks_; }

    // Closes at once, without the splash's hold (the program is ending on an error).
    void CloseNow() {
        held_ = true;
        close();
    }

    // Scales the timer intervals: the reveal's 10 ms ticks and the hold's one-second ticks.
    // Tests and measurements shorten them; 1.0 is the real pace.
    static void SetTimeScale(double reveal, double hold);

    static constexpr int StripCount = 6;

public slots:
    void done(int r) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Tick();
    void StartTimer(int intervalMs);
    void PlaceStrip(int i);

    bool splash_;
    bool fadeDone_ = false;
    bool holding_ = false;
    bool held_ = false;
    int interval_ = 10;
    int holdTicks_ = 0;
    std::array<int, StripCount> stripHeight_{};
    std::array<QFrame*, StripCount> strips_{};
    QLabel* imgNRVLogo_;
    QPushButton* cmdOK_;
    QFrame* sspMenuChoice_;
    QTimer* Timer1_;
};

// The program's emblem, drawn at the given size in pixels.
QPixmap DrawLogo(const QSize& size);

} // namespace varenta::ui

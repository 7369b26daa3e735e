#pragma once

#include "administration/Audio.h"
#include "administration/Presentation.h"

#include <QDialog>
#include <QString>

#include <array>
#include <memory>

class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace varenta::ui {
class MenuButtons;
class MsgPanel;
} // namespace varenta::ui

namespace varenta::administration {

// The on-screen test: the client reads the instructions, then answers the 116 items one at a
// time with the arrow keys and Enter while each text is read aloud. The client leaves only by
// finishing; the supervisor can abandon with Shift+Alt+F10. The answers are stored in the
// current client's record when the last item is answered.
class frmPresentQA : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString Language READ Language WRITE SetLanguage)
public:
    explicit frmPresentQA(QWidget* parent = nullptr);
    ~frmPresentQA() override;

    // The question table to present, "English" or "Spanish"; set before exec().
    QString Language() const { return language_; }
    void SetLanguage(const QString& language) { language_ = language; }

    // Replace the question database and the sound device (tests); the window does not own
    // them. Null restores the program's own.
    void SetItemSource(ItemSource* source) { itemSource_ = source; }
    void SetWaveDevice(WaveDevice* device) { waveDevice_ = device; }

    // Reads the items and runs the test. Accepted when the answers were stored; rejected when
    // the test was abandoned or could not start (the reason was shown).
    int exec() override;
    // Reads the items and sizes the window to the screen, without showing it. False when the
    // test cannot be given: the reason was shown and the new client dropped.
    bool Prepare();

    // For tests: the logic behind the window (null before exec()) and the sound state.
    Presentation* presentation() const { return presentation_.get(); }
    bool SoundOn() const { return audio_ && audio_->SoundOn(); }

public slots:
    void reject() override; // Escape and window-manager closes do not end the test

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void Activate();
    // Runs one step of the logic, then shows the result and moves the focus.
    template <typename F> void Step(F&& step);
    void Render();
    void ApplyFocus();
    void FocusOn(QWidget* w);
    void FocusArrived(QWidget* w);
    void FocusLeft(QWidget* w);
    bool HandleKey(QObject* watched, QKeyEvent* key);
    void Chosen(int i);
    void MoveToAnswer(int from, int step);
    void PaintStatement(bool focused);
    void PaintAnswer(int i, bool highlighted);
    void FitInstructions();
    void Finish();

    QString language_ = QStringLiteral("English");
    ItemSource* itemSource_ = nullptr;
    WaveDevice* waveDevice_ = nullptr;
    std::unique_ptr<ItemSource> ownSource_;
    std::unique_ptr<WaveDevice> ownDevice_;
    std::unique_ptr<WaveAudio> audio_;
    std::unique_ptr<Presentation> presentation_;
    bool activated_ = false;
    bool busy_ = false; // a step is running: focus moves are its own, not the client's
    bool closing_ = false;

    QGroupBox* fraInstructions = nullptr;
    QPlainTextEdit* txtInstructions = nullptr;
    QFrame* frQandA = nullptr;
    QGroupBox* fraQuestions = nullptr;
    QPlainTextEdit* txtQuestion = nullptr;
    QGroupBox* fraAnswer = nullptr;
    // One button per answer, for the most answers an item offers; the others are hidden.
    static constexpr int AnswerButtons = 5;
    std::array<QPushButton*, AnswerButtons> cmdMenuChoice{};
    std::array<QFrame*, AnswerButtons> sspMenuChoice{};
    std::array<QLabel*, AnswerButtons> txtButtonText{};
    ui::MsgPanel* MsgPanel = nullptr;
    ui::MenuButtons* menu_ = nullptr;
};

// Runs the test in `language` for the current client, as the entry-method window does.
// True when the answers were stored.
bool PresentTest(const QString& language, QWidget* parent = nullptr);

} // namespace varenta::administration

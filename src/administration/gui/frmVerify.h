#pragma once

#include "administration/Verification.h"

#include <QDialog>

#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varenta::ui {
class MsgPanel;
}

namespace varenta::administration {

// Second keying of the current client's paper answer sheet; the items keyed differently are
// keyed a third time, and the result is stored. Cancel stores nothing.
class frmVerify : public QDialog {
    Q_OBJECT
public:
    explicit frmVerify(QWidget* parent = nullptr);
    ~frmVerify() override;

    const Verification& State() const { return *state_; }
    // True while verified answers wait to be stored after a failed write.
    bool SavePending() const { return savePending_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowQuestionLabels();
    void KeyPressed(QKeyEvent* event);
    void FinishVerification();
    // Stores the corrected answers; on a failed write they stay here to be stored again.
    void StoreCorrections();
    void PlaceFrame();

    std::unique_ptr<Verification> state_;
    QWidget* area_;
    QGroupBox* frAll_;
    QGroupBox* Frame1_;
    QGroupBox* Frame2_;
    QLabel* lblPrevQuestion_;
    QLabel* lblCurQuestion_;
    QLineEdit* txtPrevQuestion_;
    QLineEdit* txtCurQuestion_;
    QPushButton* cmdCancel_;
    ui::MsgPanel* pnlMessage_;
    bool savePending_ = false;
};

} // namespace varenta::administration

#pragma once

#include "intake/CourtHistory.h"

#include <QDialog>

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varenta::ui {
class MenuButtons;
class MsgPanel;
} // namespace varenta::ui

namespace varenta::intake {

// "Court History": eight counts about the client's dealings with the courts, each 0 to 99 or
// N; question 1 takes an age. "Information OK" checks all eight, stores them (writing the
// record when a stored client is edited) and sets ContinueFlag; "Cancel Input" (or the close
// box) abandons the intake, discarding a new client. Escape does nothing: a stray press must
// not throw away a typed client.
class frmCourtHistory : public QDialog {
    Q_OBJECT
public:
    explicit frmCourtHistory(QWidget* parent = nullptr);

    bool EditMode() const;

    void GetCourtData();
    // Stores the answers (and writes the record in edit mode); false when the write failed.
    bool SaveCourtData();
    static bool CheckCourtValue(const QString& text) { return intake::CheckCourtValue(text); }

    QLineEdit* answerField(int question) const { return fields_[size_t(question - 1)]; }

public slots:
    void reject() override; // the close box: as "Cancel Input"

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Activate();
    CourtAnswers Answers() const;
    bool EnterCheck(int question);
    // Questions 2 to 8: the rule of the third character.
    bool CourtFieldKeyPress(int question, QKeyEvent* key);
    void InformationOk();
    void CancelInput();
    void Check();

    bool loaded_ = false;
    QFrame* frCourt_;
    QLabel* lblClientName_;
    std::array<QLabel*, CourtQuestionCount> lblInfo_{};
    std::array<QLineEdit*, CourtQuestionCount> fields_{};
    ui::MsgPanel* msgPanel_;
    ui::MenuButtons* buttons_;
    QPushButton* cmdCheck_;
};

} // namespace varenta::intake

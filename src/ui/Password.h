#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

namespace varenta::ui {

class MenuButtons;

// A small modal prompt for one line of text. The caller sets the properties, runs exec() and
// reads Cancelled and InputValue afterwards.
class frmMyInputBox : public QDialog {
    Q_OBJECT
public:
    explicit frmMyInputBox(QWidget* parent = nullptr);

    bool PasswordInput() const { return passwordInput_; }
    void SetPasswordInput(bool on) { passwordInput_ = on; }
    qint16 InputLength() const { return inputLength_; }
    void SetInputLength(qint16 n) { inputLength_ = n; }
    QString HelpMessage() const { return helpMessage_; }
    void SetHelpMessage(const QString& text) { helpMessage_ = text; }
    QString InputValue() const { return inputValue_; }
    bool Cancelled() const { return cancelled_; }

    int exec() override;

    QLineEdit* txtInput() const { return txtInput_; }

public slots:
    void done(int r) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Activate();
    void InformationOk();
    void CancelInput();

    QLabel* lblHelpMsg_;
    QLineEdit* txtInput_;
    MenuButtons* buttons_;
    bool passwordInput_ = false;
    qint16 inputLength_ = 0; // 0: no limit
    QString helpMessage_;
    QString inputValue_;
    bool cancelled_ = false;
    bool closingByOk_ = false;
};

// Asks for the supervisor password until it is given (true) or the prompt is cancelled (false).
bool AskSupervisorPassword(QWidget* parent = nullptr);

// Whether an entry is the supervisor password: the build's letter, in either case, and
// nothing else.
bool IsSupervisorPassword(const QString& entry);

} // namespace varenta::ui

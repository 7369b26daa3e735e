#include "ui/Password.h"

#include "app/BuildConfig.h"
#include "app/Messages.h"
#include "ui/MenuButtons.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varenta::ui {

frmMyInputBox::frmMyInputBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMyInputBox"));
    setWindowTitle(QStringLiteral("MyInputBox"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Twips(240), Twips(240), Twips(240), Twips(180));
    layout->setSpacing(Twips(180));

    lblHelpMsg_ = new QLabel(this);
    lblHelpMsg_->setObjectName(QStringLiteral("lblHelpMsg"));
    lblHelpMsg_->setWordWrap(true);
    lblHelpMsg_->setTextFormat(Qt::PlainText);
    lblHelpMsg_->setMinimumWidth(Twips(5400));
    layout->addWidget(lblHelpMsg_);

    txtInput_ = new QLineEdit(this);
    txtInput_->setObjectName(QStringLiteral("txtInput"));
    txtInput_->setMinimumHeight(Twips(360));
    layout->addWidget(txtInput_);

    auto* row = new QWidget(this);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(Twips(240));
    buttons_ = new MenuButtons(this, nullptr);
    rowLayout->addStretch();
    rowLayout->addWidget(
        buttons_->Add(QStringLiteral("Information OK"), QString(), row)->parentWidget());
    rowLayout->addWidget(
        buttons_->Add(QStringLiteral("Cancel Input"), QString(), row)->parentWidget());
    rowLayout->addStretch();
    layout->addWidget(row);
    for (int i = 0; i < buttons_->count(); ++i)
        buttons_->button(i)->setMinimumWidth(Twips(2100));

    connect(buttons_, &MenuButtons::chosen, this, [this](int i) {
        if (PairButton(i) == PairButton::Accept)
            InformationOk();
        else
            CancelInput();
    });
    SetTabChain(
        {txtInput_, buttons_->button(PairButton::Accept), buttons_->button(PairButton::Cancel)});
}

void frmMyInputBox::Activate() {
    cancelled_ = false;
    closingByOk_ = false;
    txtInput_->setMaxLength(inputLength_ > 0 ? inputLength_ : 32767);
    lblHelpMsg_->setText(helpMessage_);
    if (passwordInput_) {
        txtInput_->setEchoMode(QLineEdit::Password);
        // The prompt promises asterisks, whatever the style would draw.
        txtInput_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    } else {
        txtInput_->setEchoMode(QLineEdit::Normal);
        txtInput_->setStyleSheet(QString());
    }
    buttons_->ResetMenuButtons();
    adjustSize();
    CenterForm(this);
    txtInput_->setFocus(Qt::OtherFocusReason);
}

int frmMyInputBox::exec() {
    Activate();
    return QDialog::exec();
}

void frmMyInputBox::InformationOk() {
    if (txtInput_->text().isEmpty()) {
        MsgBox(passwordInput_ ? QStringLiteral("Please enter the required password.")
                              : QStringLiteral("Please enter the required data."),
               MsgButtons::Ok, MsgIcon::Question, QStringLiteral("Input required"));
        txtInput_->setFocus(Qt::OtherFocusReason);
        return;
    }
    inputValue_ = txtInput_->text();
    closingByOk_ = true;
    accept();
}

void frmMyInputBox::CancelInput() {
    reject();
}

void frmMyInputBox::done(int r) {
    // Escape, the window's close box and "Cancel Input" all cancel.
    if (!closingByOk_)
        cancelled_ = true;
    QDialog::done(r);
}

void frmMyInputBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~Qt::KeypadModifier)
            break;
        InformationOk();
        return;
    case Qt::Key_Escape:
        CancelInput();
        return;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

bool IsSupervisorPassword(const QString& entry) {
    return entry.toUpper() == QString(QChar::fromLatin1(build::SupervisorLetter)).toUpper();
}

bool AskSupervisorPassword(QWidget* parent) {
    for (;;) {
        frmMyInputBox box(parent);
        box.SetInputLength(8);
        box.SetHelpMessage(QStringLiteral("Enter the Supervisor password to continue.  For "
                                          "security, asterisks (*) will show as you type."));
        box.setWindowTitle(QStringLiteral("Enter Supervisor Password"));
        box.SetPasswordInput(true);
        box.exec();
        if (box.Cancelled())
            return false;
        const QString entry = box.InputValue();
        if (IsSupervisorPassword(entry))
            return true;
        MsgBox(QStringLiteral("Incorrect password.  Please try again."), MsgButtons::Ok,
               MsgIcon::Critical, QStringLiteral("Incorrect Password"));
    }
}

} // namespace varenta::ui

#include "administration/gui/frmVerify.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/AuditTrail.h"
#include "store/SaveWithRetry.h"
#include "ui/MenuButtons.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varenta::administration {

using ui::Twips;

namespace {

const QString kKeyingHelp = QStringLiteral("Enter response data from answer sheet. ") +
                            QStringLiteral("Press Backspace for previous question.");
const QString kCancelHelp = QStringLiteral("Press Enter to Cancel Data Verification ") +
                            QStringLiteral("and return to Main Menu");
const QString kPendingHelp =
    QStringLiteral("The verified responses are not stored yet. Press Enter to store them, or "
                   "Cancel to discard them.");

QString QuestionCaption(int item) {
    return QStringLiteral("Question #") + QString::number(item);
}

QLineEdit* CodeBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAlignment(Qt::AlignCenter);
    box->setMaxLength(1);
    QFont f = box->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    box->setFont(f);
    box->setFixedWidth(Twips(600));
    return box;
}

QGroupBox* QuestionFrame(QWidget* parent, const char* name, const QString& caption, QLabel*& label,
                         const char* labelName, QLineEdit* box) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(frame);
    label = new QLabel(frame);
    label->setObjectName(QString::fromLatin1(labelName));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    box->setParent(frame);
    layout->addWidget(box, 0, Qt::AlignHCenter);
    frame->setMinimumWidth(Twips(2400));
    return frame;
}

} // namespace

frmVerify::frmVerify(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmVerify"));
    setWindowTitle(QStringLiteral("Test Data Input Verification"));
    setModal(true);

    area_ = ui::AddDarkArea(this);

    frAll_ = new QGroupBox(QStringLiteral("Data Verification"), area_);
    frAll_->setObjectName(QStringLiteral("frAll"));
    ui::SetBackground(frAll_, ui::FaceColour, Qt::black);
    txtPrevQuestion_ = CodeBox(frAll_, "txtPrevQuestion");
    txtPrevQuestion_->setReadOnly(true);
    txtPrevQuestion_->setFocusPolicy(Qt::NoFocus);
    txtCurQuestion_ = CodeBox(frAll_, "txtCurQuestion");
    Frame1_ = QuestionFrame(frAll_, "Frame1", QStringLiteral("Previous Question"), lblPrevQuestion_,
                            "lblPrevQuestion", txtPrevQuestion_);
    Frame2_ = QuestionFrame(frAll_, "Frame2", QStringLiteral("Current Question"), lblCurQuestion_,
                            "lblCurQuestion", txtCurQuestion_);
    cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), frAll_);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setMinimumSize(Twips(1500), Twips(450));

    auto* frames = new QHBoxLayout;
    frames->setSpacing(Twips(360));
    frames->addWidget(Frame1_);
    frames->addWidget(Frame2_);
    auto* inner = new QVBoxLayout(frAll_);
    inner->setContentsMargins(Twips(360), Twips(300), Twips(360), Twips(300));
    inner->setSpacing(Twips(300));
    inner->addLayout(frames);
    inner->addWidget(cmdCancel_, 0, Qt::AlignHCenter);
    // The previous-question frame keeps its place while hidden, so nothing jumps.
    QSizePolicy keep = Frame1_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Frame1_->setSizePolicy(keep);
    ui::FixAtSizeHint(frAll_);

    pnlMessage_ = ui::AddFootPanel(area_);
    pnlMessage_->setObjectName(QStringLiteral("pnlMessage"));

    txtCurQuestion_->installEventFilter(this);
    cmdCancel_->installEventFilter(this);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    cmdCancel_->setAutoDefault(true); // Enter on the focused button presses it

    state_ = std::make_unique<Verification>(CurrentRecord().Responses);
    Frame1_->hide();
    lblCurQuestion_->setText(QuestionCaption(1));
    pnlMessage_->SetCaption(kKeyingHelp);

    resize(std::max(Twips(9000), frAll_->width() + Twips(1200)),
           std::max(Twips(6000), frAll_->height() + Twips(2400)));
    ui::CenterForm(this);
    txtCurQuestion_->setFocus();
}

frmVerify::~frmVerify() = default;

void frmVerify::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceFrame();
    txtCurQuestion_->setFocus();
}

void frmVerify::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceFrame();
}

void frmVerify::PlaceFrame() {
    ui::PlaceFramed(area_, frAll_, pnlMessage_);
}

void frmVerify::keyPressEvent(QKeyEvent* event) {
    // Escape would throw away everything keyed so far: only Cancel does that.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmVerify::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmdCancel_) {
        if (event->type() == QEvent::FocusIn)
            pnlMessage_->SetCaption(kCancelHelp);
        else if (event->type() == QEvent::FocusOut)
            pnlMessage_->SetCaption(savePending_ ? kPendingHelp : kKeyingHelp);
        return false;
    }
    if (watched == txtCurQuestion_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        KeyPressed(key);
        txtCurQuestion_->clear();
        return true;
    }
    if (watched == txtCurQuestion_ && event->type() == QEvent::KeyRelease) {
        txtCurQuestion_->clear();
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

void frmVerify::KeyPressed(QKeyEvent* event) {
    if (savePending_) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            StoreCorrections();
        else if (!event->text().isEmpty())
            Beep();
        return;
    }
    if (event->key() == Qt::Key_Backspace) {
        if (!state_->Back()) {
            Beep();
            return;
        }
        ShowQuestionLabels();
        return;
    }
    const QString text = event->text();
    if (text.isEmpty())
        return; // arrows, shift and the like type nothing
    const QChar c = text.at(0);
    if (text.size() != 1 || !c.isDigit() || c.unicode() > u'9') {
        Beep();
        return;
    }
    switch (state_->KeyCode(c)) {
    case Verification::Key::Refused:
        Beep();
        return;
    case Verification::Key::Accepted:
        ShowQuestionLabels();
        return;
    case Verification::Key::PassEnded:
        txtPrevQuestion_->setText(QString(c));
        FinishVerification();
        return;
    }
}

void frmVerify::ShowQuestionLabels() {
    lblCurQuestion_->setText(QuestionCaption(state_->CurrentItem()));
    const int previous = state_->PreviousItem();
    if (previous == 0) {
        Frame1_->hide();
        txtPrevQuestion_->clear();
        return;
    }
    lblPrevQuestion_->setText(QuestionCaption(previous));
    txtPrevQuestion_->setText(QString(state_->Entered(previous)));
    Frame1_->show();
}

void frmVerify::FinishVerification() {
    switch (state_->FinishPass()) {
    case Verification::Outcome::NoCorrections:
        MsgBox(QStringLiteral("Data Verification complete. No corrections needed."), MsgButtons::Ok,
               MsgIcon::None, QStringLiteral("Data Verification."));
        // The record is unchanged, so a write that is given up loses nothing.
        if (SaveClientWithRetry(Globals().CurrentClient))
            audit::Record(audit::Event::Verified, Globals().CurrentClient, 0);
        accept();
        return;
    case Verification::Outcome::CorrectionsNeeded:
        MsgBox(QStringLiteral("Data Correction needed. Please correct the following questions."),
               MsgButtons::Ok, MsgIcon::None, QStringLiteral("Data Corrections"));
        ShowQuestionLabels();
        txtCurQuestion_->clear();
        txtCurQuestion_->setFocus();
        return;
    case Verification::Outcome::Corrected:
        StoreCorrections();
        return;
    }
}

void frmVerify::StoreCorrections() {
    ClientRecord& record = CurrentRecord();
    const QString before = record.Responses;
    record.Responses = state_->NewResponses();
    if (!SaveClientWithRetry(Globals().CurrentClient)) {
        // Memory keeps what the disk holds; the verified answers wait here for another try.
        record.Responses = before;
        savePending_ = true;
        pnlMessage_->SetCaption(kPendingHelp);
        txtCurQuestion_->setFocus();
        return;
    }
    savePending_ = false;
    audit::Record(audit::Event::Verified, Globals().CurrentClient, state_->ChangedAnswers());
    MsgBox(QStringLiteral("Data Verification complete."), MsgButtons::Ok, MsgIcon::None,
           QStringLiteral("Data Verification"));
    accept();
}

} // namespace varenta::administration

#include "intake/gui/frmCourtHistory.h"

#include "app/Globals.h"
#include "app/Messages.h"
#include "intake/ClientInfo.h"
#include "intake/gui/StorableText.h"
#include "ui/MenuButtons.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace varenta::intake {

namespace {

const char* FieldObjectName(int question) {
    static const char* names[] = {"txtAge1stArrest",   "txtProbations",  "txtProbRevocations",
                                  "txtTimesArrested",  "txtJDetentions", "txtJCHearings",
                                  "txtAlcoholArrests", "txtDrugArrests"};
    return names[question - 1];
}

} // namespace

frmCourtHistory::frmCourtHistory(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCourtHistory"));
    setWindowTitle(QStringLiteral("Court History"));
    setModal(true);
    resize(ui::Twips(10800), ui::Twips(6000));

    lblClientName_ = ui::AddClientNameLabel(this);
    lblClientName_->setVisible(false);
    frCourt_ = ui::AddSunkenFrame(this, QStringLiteral("frCourt"));
    auto* grid = new QGridLayout(frCourt_);
    grid->setContentsMargins(ui::Twips(300), ui::Twips(300), ui::Twips(300), ui::Twips(300));
    grid->setHorizontalSpacing(ui::Twips(150));
    grid->setVerticalSpacing(ui::Twips(150));
    grid->setColumnMinimumWidth(2, ui::Twips(450));
    for (int q = 1; q <= CourtQuestionCount; ++q) {
        auto* label = new QLabel(CourtCaption(q), frCourt_);
        label->setObjectName(QStringLiteral("lblInfo(%1)").arg(q - 1));
        auto* edit = new QLineEdit(frCourt_);
        edit->setObjectName(QString::fromLatin1(FieldObjectName(q)));
        edit->setMaxLength(CourtAnswerLength);
        edit->setValidator(new StorableText(edit));
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")) + 8);
        edit->installEventFilter(this);
        label->setBuddy(edit);
        const int row = (q - 1) % 4;
        const int column = q <= 4 ? 0 : 3;
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1);
        lblInfo_[size_t(q - 1)] = label;
        fields_[size_t(q - 1)] = edit;
    }

    msgPanel_ = ui::AddHelpLine(this);
    buttons_ = new ui::MenuButtons(this, msgPanel_);
    QWidget* buttonRow = ui::AddButtonPair(
        buttons_, this,
        {QStringLiteral("Information OK"),
         QStringLiteral("If information is correct press Enter or press Tab to change an entry."),
         [this] { InformationOk(); }},
        {QStringLiteral("Cancel Input"),
         QStringLiteral("Cancel information input and return to Main Menu."),
         [this] { CancelInput(); }},
        ui::Twips(2200), ui::Twips(300));

    cmdCheck_ = ui::AddHiddenCommand(this, QStringLiteral("Check"), QStringLiteral("cmdCheck"),
                                     [this] { Check(); });

    QVBoxLayout* column = ui::AboveMiddleColumn(this, msgPanel_);
    column->addWidget(lblClientName_);
    column->addSpacing(ui::Twips(150));
    column->addLayout(ui::CentredRow(frCourt_));
    column->addSpacing(ui::Twips(300));
    column->addWidget(buttonRow);

    QList<QWidget*> chain(fields_.begin(), fields_.end());
    ui::SetTabChain(chain << buttons_->button(ui::PairButton::Accept)
                          << buttons_->button(ui::PairButton::Cancel));
}

bool frmCourtHistory::EditMode() const {
    return Globals().EditMode;
}

void frmCourtHistory::GetCourtData() {
    const CourtAnswers stored = intake::GetCourtData();
    for (int i = 0; i < CourtQuestionCount; ++i)
        fields_[size_t(i)]->setText(stored[size_t(i)]);
}

CourtAnswers frmCourtHistory::Answers() const {
    CourtAnswers a;
    for (int i = 0; i < CourtQuestionCount; ++i)
        a[size_t(i)] = fields_[size_t(i)]->text();
    return a;
}

bool frmCourtHistory::SaveCourtData() {
    return intake::SaveCourtData(Answers(), EditMode());
}

void frmCourtHistory::showEvent(QShowEvent* event) {
    const bool first = !loaded_;
    if (first) {
        loaded_ = true;
        ui::CenterForm(this);
        if (EditMode())
            GetCourtData();
    }
    QDialog::showEvent(event);
    if (first)
        QTimer::singleShot(0, this, [this] { Activate(); });
}

void frmCourtHistory::Activate() {
    buttons_->ResetMenuButtons();
    lblClientName_->setText(CurrentRecord().ClientName);
    lblClientName_->setVisible(true);
    if (EditMode() || Globals().ScanEditMode)
        buttons_->button(ui::PairButton::Accept)->setFocus(Qt::OtherFocusReason);
    else
        fields_[0]->setFocus(Qt::OtherFocusReason);
}

bool frmCourtHistory::EnterCheck(int question) {
    QLineEdit* edit = answerField(question);
    const CheckResult r = CheckCourtAnswer(question, edit->text());
    if (r.text != edit->text())
        edit->setText(r.text);
    if (!r.ok) {
        Beep();
        MsgBox(CourtError(question), MsgButtons::Ok, MsgIcon::Critical, CourtErrorTitle(question));
        edit->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (question < CourtQuestionCount)
        answerField(question + 1)->setFocus(Qt::TabFocusReason);
    else
        buttons_->button(ui::PairButton::Accept)->setFocus(Qt::TabFocusReason);
    return true;
}

bool frmCourtHistory::CourtFieldKeyPress(int question, QKeyEvent* key) {
    if (question == 1 || key->text().isEmpty() ||
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    QLineEdit* edit = answerField(question);
    if (CourtKeyAllowed(edit->text(), int(edit->selectedText().size()), key->text().at(0)))
        return false;
    Beep();
    return true;
}

bool frmCourtHistory::eventFilter(QObject* watched, QEvent* event) {
    const auto it = std::find(fields_.begin(), fields_.end(), watched);
    if (it == fields_.end())
        return QDialog::eventFilter(watched, event);
    const int question = int(it - fields_.begin()) + 1;
    switch (event->type()) {
    case QEvent::FocusIn:
        (*it)->selectAll();
        msgPanel_->SetCaption(CourtPrompt(question));
        return false;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            EnterCheck(question);
            return true;
        }
        return CourtFieldKeyPress(question, key);
    }
    default:
        return false;
    }
}

void frmCourtHistory::InformationOk() {
    const int invalid = FirstInvalidCourtAnswer(Answers());
    if (invalid >= 0) {
        fields_[size_t(invalid)]->setFocus(Qt::OtherFocusReason);
        EnterCheck(invalid + 1);
        return;
    }
    if (!SaveCourtData()) {
        buttons_->button(ui::PairButton::Accept)
            ->setFocus(Qt::OtherFocusReason); // kept for a retry
        return;
    }
    Globals().ContinueFlag = true;
    QDialog::accept();
}

void frmCourtHistory::CancelInput() {
    if (!EditMode())
        DiscardNewClient();
    Globals().ContinueFlag = false;
    QDialog::reject();
}

void frmCourtHistory::reject() {
    CancelInput();
}

void frmCourtHistory::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        return; // "Cancel Input" is the way out
    QDialog::keyPressEvent(event);
}

void frmCourtHistory::Check() {
    intake::Check([this] { intake::SaveCourtData(Answers(), false); });
}

} // namespace varenta::intake

#include "intake/gui/frmClientInfo.h"

#include "app/Globals.h"
#include "app/Messages.h"
#include "intake/gui/StorableText.h"
#include "store/SaveWithRetry.h"
#include "ui/MenuButtons.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace varenta::intake {

namespace {

constexpr InfoField kAllFields[] = {InfoField::Name,        InfoField::ID,     InfoField::Age,
                                    InfoField::DateOfBirth, InfoField::Gender, InfoField::Race,
                                    InfoField::Education};

const char* FieldObjectName(InfoField f) {
    static const char* names[] = {"txtName",   "txtID",   "txtAge",      "txtDateOfBirth",
                                  "cmbGender", "cmbRace", "cmbEducation"};
    return names[int(f)];
}

int EntryLimit(InfoField f) {
    switch (f) {
    case InfoField::Name:
        return NameLength;
    case InfoField::ID:
        return IdLength;
    case InfoField::Age:
        return AgeLength;
    default:
        return DateLength;
    }
}

bool IsEnter(const QKeyEvent* k) {
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
}

} // namespace

frmClientInfo::frmClientInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmClientInfo"));
    setWindowTitle(QStringLiteral("Client Information"));
    setModal(true);
    resize(ui::Twips(9600), ui::Twips(6600));

    frClient_ = ui::AddSunkenFrame(this, QStringLiteral("frClient"));
    auto* grid = new QGridLayout(frClient_);
    grid->setContentsMargins(ui::Twips(300), ui::Twips(300), ui::Twips(300), ui::Twips(300));
    grid->setHorizontalSpacing(ui::Twips(150));
    grid->setVerticalSpacing(ui::Twips(120));

    int row = 0;
    for (InfoField f : kAllFields) {
        auto* label = new QLabel(FieldCaption(f), frClient_);
        label->setObjectName(QStringLiteral("lblInfo(%1)").arg(CaptionIndex(f)));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QWidget* w;
        if (IsChoiceField(f)) {
            auto* combo = new QComboBox(frClient_);
            combo->addItems(ChoiceEntries(f));
            combo->setCurrentIndex(-1);
            combo->view()->installEventFilter(this);
            combo->setMinimumWidth(ui::Twips(3200));
            w = combo;
        } else {
            auto* edit = new QLineEdit(frClient_);
            edit->setMaxLength(EntryLimit(f));
            edit->setValidator(new StorableText(edit));
            const QString sample(EntryLimit(f) + 2, QLatin1Char('W'));
            edit->setMinimumWidth(
                qMin(edit->fontMetrics().horizontalAdvance(sample), ui::Twips(4000)));
            w = edit;
        }
        w->setObjectName(QString::fromLatin1(FieldObjectName(f)));
        w->installEventFilter(this);
        label->setBuddy(w);
        lblInfo_[size_t(f)] = label;
        fields_[size_t(f)] = w;
        grid->addWidget(label, row, 0);
        grid->addWidget(w, row, 1, Qt::AlignLeft);
        ++row;
    }

    msgPanel_ = ui::AddHelpLine(this);
    buttons_ = new ui::MenuButtons(this, msgPanel_);
    QWidget* buttonRow = ui::AddButtonPair(
        buttons_, this, {QStringLiteral("Information OK"), QString(), [this] { InformationOk(); }},
        {QStringLiteral("Cancel Input"),
         QStringLiteral("Cancel information input and return to Main Menu."),
         [this] { CancelInput(); }},
        ui::Twips(2200), ui::Twips(300));

    cmdNonDeviant_ =
        ui::AddHiddenCommand(this, QStringLiteral("Non-Deviant"), QStringLiteral("cmdNonDeviant"),
                             [this] { NonDeviant(); });
    cmdCheck_ = ui::AddHiddenCommand(this, QStringLiteral("Check"), QStringLiteral("cmdCheck"),
                                     [this] { Check(); });

    QVBoxLayout* column = ui::AboveMiddleColumn(this, msgPanel_);
    column->addLayout(ui::CentredRow(frClient_));
    column->addSpacing(ui::Twips(300));
    column->addWidget(buttonRow);

    QList<QWidget*> chain(fields_.begin(), fields_.end());
    ui::SetTabChain(chain << buttons_->button(ui::PairButton::Accept)
                          << buttons_->button(ui::PairButton::Cancel));
}

bool frmClientInfo::EditMode() const {
    return Globals().EditMode;
}
bool frmClientInfo::ScanEditMode() const {
    return Globals().ScanEditMode;
}
void frmClientInfo::SetScanEditMode(bool on) {
    Globals().ScanEditMode = on;
}

QLineEdit* frmClientInfo::textField(InfoField f) const {
    return qobject_cast<QLineEdit*>(fields_[size_t(f)]);
}

QComboBox* frmClientInfo::choiceField(InfoField f) const {
    return qobject_cast<QComboBox*>(fields_[size_t(f)]);
}

void frmClientInfo::Load() {
    if (loaded_)
        return;
    loaded_ = true;
    ui::CenterForm(this);
    form_.Open(EditMode());
    ToScreen();
    if (form_.Locked())
        LockClientFields();
    UpdateOkHelp();
}

void frmClientInfo::showEvent(QShowEvent* event) {
    const bool first = !loaded_;
    Load();
    QDialog::showEvent(event);
    if (first)
        QTimer::singleShot(0, this, [this] { Activate(); });
}

void frmClientInfo::Activate() {
    buttons_->ResetMenuButtons();
    if (EditMode() || ScanEditMode())
        buttons_->button(ui::PairButton::Accept)->setFocus(Qt::OtherFocusReason);
    else
        fields_[0]->setFocus(Qt::OtherFocusReason);
    if (Globals().NameDeleted)
        MsgBox(MsgLines({QStringLiteral("This client's name has been deleted."),
                         QStringLiteral("Editing this information is not permitted.")}),
               MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Name Deleted"));
    else if (form_.EditsMade == EditLimit)
        MsgBox(MsgLines({QStringLiteral("This client's information has been changed 3 times."),
                         QStringLiteral("No further editing is permitted.  Press Enter to "
                                        "continue.")}),
               MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Edit Limit Reached"));
}

void frmClientInfo::ToScreen() {
    const ClientInfoValues& v = form_.values;
    textField(InfoField::Name)->setText(v.name);
    textField(InfoField::ID)->setText(v.id);
    textField(InfoField::Age)->setText(v.age);
    textField(InfoField::DateOfBirth)->setText(v.dateOfBirth);
    choiceField(InfoField::Gender)->setCurrentIndex(v.gender);
    choiceField(InfoField::Race)->setCurrentIndex(v.race);
    choiceField(InfoField::Education)->setCurrentIndex(v.education);
}

void frmClientInfo::FromScreen() {
    ClientInfoValues& v = form_.values;
    v.name = textField(InfoField::Name)->text();
    v.id = textField(InfoField::ID)->text();
    v.age = textField(InfoField::Age)->text();
    v.dateOfBirth = textField(InfoField::DateOfBirth)->text();
    v.gender = choiceField(InfoField::Gender)->currentIndex();
    v.race = choiceField(InfoField::Race)->currentIndex();
    v.education = choiceField(InfoField::Education)->currentIndex();
}

void frmClientInfo::RecordToScreen() {
    form_.RecordToScreen();
    ToScreen();
    if (form_.Locked())
        LockClientFields();
}

void frmClientInfo::RecordToDB() {
    FromScreen();
    form_.RecordToDB();
}

void frmClientInfo::LockClientFields() {
    form_.Lock();
    for (QWidget* w : fields_)
        w->setEnabled(false);
    UpdateOkHelp();
}

void frmClientInfo::ShowEditLimit() {
    MsgBox(MsgLines({QStringLiteral("This client's information has been edited"),
                     QStringLiteral("3 times already. Further editing of this"),
                     QStringLiteral("information is no longer permitted.")}),
           MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Edit Limit Reached"));
}

void frmClientInfo::UpdateOkHelp() {
    QString line;
    if (Globals().NameDeleted)
        line = QStringLiteral("Client name has been deleted. Editting is not permitted. Press "
                              "Enter to continue.");
    else if (form_.EditsMade >= EditLimit)
        line = QStringLiteral("No further editing permitted. Press Enter to save and continue.");
    else
        line = QStringLiteral("If information is correct press Enter or press Tab to change an "
                              "entry.");
    buttons_->SetHelpLine(0, line);
    if (buttons_->button(ui::PairButton::Accept)->hasFocus())
        msgPanel_->SetCaption(line);
}

void frmClientInfo::CountFieldEdit(InfoField f) {
    if (!EditMode())
        return;
    FromScreen();
    const bool enabled = fields_[size_t(f)]->isEnabled();
    if (form_.CountFieldEdit(f, enabled) == ClientInfoForm::EditCount::LimitReached) {
        ShowEditLimit();
        LockClientFields();
        if (!QApplication::focusWidget() || !QApplication::focusWidget()->isEnabled() ||
            QApplication::focusWidget()->window() != this)
            buttons_->button(ui::PairButton::Accept)->setFocus(Qt::OtherFocusReason);
    }
    UpdateOkHelp();
}

QWidget* frmClientInfo::NextAfter(InfoField f) const {
    switch (f) {
    case InfoField::Name:
        return fields_[size_t(InfoField::ID)];
    case InfoField::ID:
        return fields_[size_t(InfoField::Age)];
    case InfoField::Age: // the Enter path leaves the date of birth to Tab
    case InfoField::DateOfBirth:
        return fields_[size_t(InfoField::Gender)];
    case InfoField::Gender:
        return fields_[size_t(InfoField::Race)];
    case InfoField::Race:
        return fields_[size_t(InfoField::Education)];
    case InfoField::Education:
        return buttons_->button(ui::PairButton::Accept);
    }
    return nullptr;
}

bool frmClientInfo::EnterCheck(InfoField f) {
    bool ok;
    if (IsChoiceField(f)) {
        ok = choiceField(f)->currentIndex() >= 0;
    } else {
        QLineEdit* edit = textField(f);
        const CheckResult r = CheckTextField(f, edit->text());
        ok = r.ok;
        if (r.text != edit->text())
            edit->setText(r.text);
    }
    if (!ok) {
        Beep();
        MsgBox(FieldError(f), MsgButtons::Ok, MsgIcon::Critical);
        fields_[size_t(f)]->setFocus(Qt::OtherFocusReason);
        if (f == InfoField::DateOfBirth)
            textField(f)->selectAll();
        return false;
    }
    QWidget* next = NextAfter(f);
    if (next && next->isEnabled())
        next->setFocus(Qt::TabFocusReason);
    else
        buttons_->button(ui::PairButton::Accept)->setFocus(Qt::TabFocusReason);
    return true;
}

void frmClientInfo::FieldFocusIn(InfoField f) {
    if (auto* edit = textField(f))
        edit->selectAll();
    msgPanel_->SetCaption(FieldPrompt(f));
    QFont font = lblInfo_[size_t(f)]->font();
    font.setBold(true);
    lblInfo_[size_t(f)]->setFont(font);
}

void frmClientInfo::FieldFocusOut(InfoField f, QFocusEvent* event) {
    // A message box or a drop-down list taking the focus for a moment is not leaving the field.
    if (closing_ || event->reason() == Qt::ActiveWindowFocusReason ||
        event->reason() == Qt::PopupFocusReason)
        return;
    QWidget* to = QApplication::focusWidget();
    if (to && to->window() != this)
        return;
    if (f == InfoField::DateOfBirth && !checkingDate_ &&
        to != buttons_->button(ui::PairButton::Cancel) && fields_[size_t(f)]->isEnabled()) {
        // The date is checked however it is left; "Cancel Input" stays within reach.
        if (!CheckTextField(f, textField(f)->text()).ok) {
            checkingDate_ = true;
            Beep();
            MsgBox(FieldError(f), MsgButtons::Ok, MsgIcon::Critical);
            textField(f)->setFocus(Qt::OtherFocusReason);
            textField(f)->selectAll();
            checkingDate_ = false;
            return;
        }
    }
    QFont font = lblInfo_[size_t(f)]->font();
    font.setBold(false);
    lblInfo_[size_t(f)]->setFont(font);
    CountFieldEdit(f);
}

bool frmClientInfo::ChoiceKey(InfoField f, QKeyEvent* key) {
    QComboBox* combo = choiceField(f);
    if (MoveThroughList(combo, key))
        return true;
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) {
        combo->setCurrentIndex(-1);
        Beep();
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false; // arrows, F4 and the like keep their list meaning
    if (text.at(0).unicode() < 0x20 && text != QLatin1String("\b"))
        return false;
    const intake::ChoiceKey c = ChoiceKeyFor(f, text.at(0));
    if (c.accepted) {
        combo->setCurrentIndex(c.code);
    } else {
        combo->setCurrentIndex(-1);
        Beep();
    }
    return true;
}

bool frmClientInfo::MoveThroughList(QComboBox* combo, QKeyEvent* key) {
    if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier))
        return false; // Alt+Down opens the list as usual
    const int at = combo->currentIndex();
    const int last = combo->count() - 1;
    int to;
    switch (key->key()) {
    case Qt::Key_Down:
        to = std::min(at + 1, last);
        break;
    case Qt::Key_Up:
        to = std::max(at - 1, 0);
        break;
    case Qt::Key_PageDown:
    case Qt::Key_End:
        to = last;
        break;
    case Qt::Key_PageUp:
    case Qt::Key_Home:
        to = 0;
        break;
    default:
        return false;
    }
    // The entry reached opens the list, so staff see the entries they move through.
    if (to != at) {
        combo->setCurrentIndex(to);
        combo->showPopup();
    }
    return true;
}

bool frmClientInfo::ListKey(InfoField f, QKeyEvent* key) {
    const QString text = key->text();
    if (!IsEnter(key) && !text.isEmpty() && text.at(0).unicode() >= 0x20 &&
        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // A typed key means what it means in the closed field: a code key chooses, any other
        // empties the field with a beep.
        choiceField(f)->hidePopup();
        return ChoiceKey(f, key);
    }
    if (!IsEnter(key))
        return false;
    // Enter in the open list takes the highlighted entry and goes on, as Enter in the closed
    // field would: the prompt asks for the arrows, then Enter.
    QComboBox* combo = choiceField(f);
    const QModelIndex highlighted = combo->view()->currentIndex();
    if (highlighted.isValid())
        combo->setCurrentIndex(highlighted.row());
    combo->hidePopup();
    QTimer::singleShot(0, this, [this, f] {
        if (fields_[size_t(f)]->hasFocus())
            EnterCheck(f);
    });
    return true;
}

bool frmClientInfo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (InfoField f : kAllFields) {
            if (IsChoiceField(f) && watched == choiceField(f)->view())
                return ListKey(f, static_cast<QKeyEvent*>(event));
        }
    }
    const auto it = std::find(fields_.begin(), fields_.end(), watched);
    if (it == fields_.end())
        return QDialog::eventFilter(watched, event);
    const InfoField f = InfoField(it - fields_.begin());
    switch (event->type()) {
    case QEvent::FocusIn:
        FieldFocusIn(f);
        return false;
    case QEvent::FocusOut:
        FieldFocusOut(f, static_cast<QFocusEvent*>(event));
        return false;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnter(key)) {
            EnterCheck(f);
            return true;
        }
        if (f == InfoField::DateOfBirth &&
            (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !CheckTextField(f, textField(f)->text()).ok) {
            Beep();
            MsgBox(FieldError(f), MsgButtons::Ok, MsgIcon::Critical);
            textField(f)->selectAll();
            return true;
        }
        if (IsChoiceField(f))
            return ChoiceKey(f, key);
        return false;
    }
    default:
        return false;
    }
}

void frmClientInfo::InformationOk() {
    FromScreen();
    const bool editable = !form_.Locked();
    const int failing = FirstFailingField(form_.values, editable);
    if (failing >= 0) {
        if (fields_[size_t(failing)]->isEnabled()) {
            fields_[size_t(failing)]->setFocus(Qt::OtherFocusReason);
            EnterCheck(InfoField(failing));
        } else {
            Beep();
            MsgBox(FieldError(InfoField(failing)), MsgButtons::Ok, MsgIcon::Critical);
        }
        return;
    }
    switch (form_.InformationOk(ScanEditMode())) {
    case ClientInfoForm::OkOutcome::Stored:
    case ClientInfoForm::OkOutcome::Written:
        closing_ = true;
        QDialog::accept();
        return;
    case ClientInfoForm::OkOutcome::DiskFull:
        ShowDiskFull();
        Globals().ContinueFlag = false;
        closing_ = true;
        QDialog::reject();
        return;
    case ClientInfoForm::OkOutcome::WriteFailed:
        buttons_->button(ui::PairButton::Accept)
            ->setFocus(Qt::OtherFocusReason); // typed data stays for a retry
        return;
    }
}

void frmClientInfo::CancelInput() {
    Globals().ContinueFlag = false;
    closing_ = true;
    QDialog::reject();
}

void frmClientInfo::reject() {
    CancelInput();
}

void frmClientInfo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        return; // "Cancel Input" is the way out
    QDialog::keyPressEvent(event);
}

void frmClientInfo::NonDeviant() {
    intake::NonDeviant();
}

void frmClientInfo::Check() {
    intake::Check([this] { RecordToDB(); });
}

} // namespace varenta::intake

#include "administration/gui/frmSelectEntryMethod.h"

#include "administration/AnswerGrid.h"
#include "administration/QuestionDb.h"
#include "administration/gui/frmNewEntry.h"
#include "administration/gui/frmPresentQA.h"
#include "administration/gui/frmSelectLanguage.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "intake/CourtHistory.h"
#include "intake/gui/frmClientInfo.h"
#include "intake/gui/frmCourtHistory.h"
#include "ui/MenuButtons.h"
#include "ui/Password.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace varenta::administration {

namespace {

EntryMethodHooks g_hooks;
const StateReset resetHooks([] { g_hooks = {}; });

void ShowError(const VError& e) {
    MsgBox(ErrorText(e), MsgButtons::Ok, MsgIcon::Critical);
}

} // namespace

EntryMethodHooks& EntryMethod() {
    return g_hooks;
}

frmSelectEntryMethod::frmSelectEntryMethod(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSelectEntryMethod"));
    setWindowTitle(QStringLiteral("Entry Method"));
    setModal(true);
    resize(ui::Twips(8400), ui::Twips(6000));

    fraSelectMethod_ = ui::AddChoiceFrame(this, QStringLiteral("Select Client Data Entry Method"));
    frBlank_ = new QFrame(this);
    frBlank_->setObjectName(QStringLiteral("frBlank"));
    frBlank_->setVisible(false);

    msgPanel_ = ui::AddHelpLine(this);
    buttons_ = new ui::MenuButtons(this, msgPanel_);
    const struct {
        const char* caption;
        const char* help;
    } methods[] = {
        {"Administer Test to Client",
         "Onscreen Presentation. Enter client information then present the test on the computer."},
        {"Enter Test Data from Answer Sheet",
         "Paper-Pencil Presentation. Manually enter test information from completed answer sheet."},
        {"Scan Answer Sheet", "Optical Scanner Presentation. Scan completed answer sheet."},
        {"Cancel New Client Entry", "Cancel. Do not enter a new client. Return to Main Menu."},
    };
    for (const auto& m : methods) {
        QPushButton* b = buttons_->Add(QString::fromLatin1(m.caption), QString::fromLatin1(m.help),
                                       fraSelectMethod_);
        b->setMinimumWidth(ui::Twips(4200));
        fraSelectMethod_->layout()->addWidget(buttons_->panel(buttons_->count() - 1));
    }
    buttons_->panel(ScanSheet)->setVisible(false); // scanning is not offered
    connect(buttons_, &ui::MenuButtons::chosen, this, [this](int i) { Chosen(i); });

    auto* stack = new QGridLayout;
    stack->addWidget(fraSelectMethod_, 0, 0);
    stack->addWidget(frBlank_, 0, 0);
    ui::AboveMiddleColumn(this, msgPanel_)->addLayout(ui::CentredRow(stack));
}

void frmSelectEntryMethod::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::CenterForm(this);
    QTimer::singleShot(0, this, [this] {
        buttons_->ResetMenuButtons();
        if (!busy_)
            buttons_->button(AdministerTest)->setFocus(Qt::OtherFocusReason);
    });
}

void frmSelectEntryMethod::Chosen(int i) {
    if (busy_ || done_)
        return;
    switch (i) {
    case AdministerTest:
        AdministerTestToClient();
        break;
    case AnswerSheet:
        EnterTestDataFromAnswerSheet();
        break;
    case CancelEntry:
        Finish();
        break;
    default:
        break;
    }
}

void frmSelectEntryMethod::reject() {
    if (!busy_ && !done_)
        Finish();
}

void frmSelectEntryMethod::Finish() {
    done_ = true;
    QDialog::accept();
}

void frmSelectEntryMethod::NoLanguageTable() {
    MsgBox(MsgLines({QStringLiteral("The question database %1 holds no English or Spanish question "
                                    "table, so the test cannot be given on the computer.")
                         .arg(QuestionDbLocation()),
                     QString(),
                     QStringLiteral("Reinstall the program's files, or enter the answers from an "
                                    "answer sheet.")}),
           MsgButtons::Ok, MsgIcon::Critical);
}

bool frmSelectEntryMethod::QuestionDbUsable(bool forScreen) {
    try {
        if (forScreen) {
            frmSelectLanguage probe(this);
            if (probe.LanguageCount() > 0)
                return true;
            NoLanguageTable();
            return false;
        }
        QuestionDb db;
        QuestionTable english = db.OpenTable(QStringLiteral("English"));
        AnswerGrid::FromTable(english);
        return true;
    } catch (const VError& e) {
        ShowError(e);
        return false;
    }
}

bool frmSelectEntryMethod::TakeClientDetails() {
    busy_ = true;
    GlobalState& g = Globals();
    g.EditMode = false;
    intake::frmClientInfo info(this);
    info.exec();
    if (!g.ContinueFlag)
        return false;
    g.ContinueFlag = false;
    intake::frmCourtHistory court(this);
    court.exec();
    return g.ContinueFlag;
}

void frmSelectEntryMethod::AdministerTestToClient() {
    if (!QuestionDbUsable(true))
        return;
    if (!TakeClientDetails())
        return Finish();

    GlobalState& g = Globals();

    frmSelectLanguage languages(this);
    int count = 0;
    try {
        count = languages.LanguageCount();
        if (count == 0)
            NoLanguageTable();
    } catch (const VError& e) {
        ShowError(e);
    }
    if (count == 0) {
        // Checked before the chain began, so the file changed since: nothing is stored.
        intake::DiscardNewClient();
        g.ContinueFlag = false;
        return Finish();
    }
    if (count < 2) {
        language_ = languages.LanguageCaption(0);
    } else {
        g.ContinueFlag = false;
        languages.exec();
        if (!g.ContinueFlag)
            return Finish();
        language_ = languages.Language();
    }

    fraSelectMethod_->setVisible(false);
    frBlank_->setVisible(true);
    msgPanel_->SetCaption(QStringLiteral("Press the Enter key to continue."));
    MsgBox(QStringLiteral("Press the Enter key to begin the test."), MsgButtons::Ok, MsgIcon::None,
           QString::fromLatin1(ProductName));

    RunPresentation();

    if (g.ContinueFlag) {
        // The client may not leave the test and reach the main menu without the supervisor.
        const auto ask = EntryMethod().askSupervisorPassword;
        while (!(ask ? ask(this) : ui::AskSupervisorPassword(this))) {
        }
    }
    Finish();
}

void frmSelectEntryMethod::RunPresentation() {
    const auto present = EntryMethod().presentTest;
    if (present)
        present(this, language_);
    else
        PresentTest(language_, this);
}

void frmSelectEntryMethod::EnterTestDataFromAnswerSheet() {
    if (!QuestionDbUsable(false))
        return;
    if (TakeClientDetails()) {
        Globals().ContinueFlag = false;
        frmNewEntry grid(this);
        grid.exec();
    }
    Finish();
}

} // namespace varenta::administration

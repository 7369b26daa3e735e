#include "supervisor/gui/frmSupervisorOptions.h"

#include "administration/gui/frmVerify.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/gui/frmComments.h"
#include "reports/gui/frmPrintSelected.h"
#include "reports/gui/frmViewReport.h"
#include "store/AuditTrail.h"
#include "store/DelNames.h"
#include "supervisor/RecordsOperations.h"
#include "supervisor/gui/frmAuditTrail.h"
#include "ui/MenuButtons.h"
#include "ui/Password.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace varenta::supervisor {

namespace {

const QString kOptionHelp =
    QStringLiteral("Use the arrow keys or mouse to choose print operation.");

const char* const kOptionCaptions[] = {
    "Print above current client's report",
    "Select and print multiple clients' reports",
    "Print all clients' reports",
};

const char* const kRecordsCaptions[] = {
    "Export Scores...",
    "Back Up Data Disk...",
    "View Audit Trail",
};

const QString kVerifyText = QStringLiteral(
    "This gives you the opportunity to re-enter the client's responses from the answer sheet.  "
    "After you enter the responses, any differences from what was just entered and what was "
    "previously stored will be reported.  This gives you the opportunity to correct any errors.");

const QString kDeleteText = QStringLiteral(
    "This operation will delete the client's name from the client database.  USE WITH CAUTION!  "
    "Once the name has been deleted on this data disk, it CANNOT be retrieved.  All other "
    "associated client data, demographics, court history and responses will NOT be deleted.  "
    "Use this operation to protect client confidentiality when you are done with the disk.");

void SetBold(QWidget* w, bool bold) {
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

} // namespace

frmSupervisorOptions::frmSupervisorOptions(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSupervisorOptions"));
    setWindowTitle(QStringLiteral("Supervisor Operations"));
    setModal(true);

    area_ = ui::AddDarkArea(this);
    frControls_ = ui::AddRaisedFrame(area_, QStringLiteral("frControls"));
    msgPanel_ = ui::AddFootPanel(area_);

    tabs_ = new QTabWidget(frControls_);
    tabs_->setObjectName(QStringLiteral("sstSupervisorOperations"));
    tabs_->addTab(BuildReportsTab(), QStringLiteral("&Reports"));
    tabs_->addTab(BuildCommentTab(kVerifyText), QStringLiteral("&Verify Data"));
    tabs_->addTab(BuildCommentTab(kDeleteText), QStringLiteral("&Delete Names"));
    tabs_->addTab(BuildRecordsTab(), QStringLiteral("Re&cords"));
    ui::SetBackground(tabs_, ui::Blue);
    tabs_->tabBar()->installEventFilter(this);
    connect(tabs_, &QTabWidget::currentChanged, this, &frmSupervisorOptions::TabChanged);

    frCurrentClient_ = new QGroupBox(QStringLiteral("Current Client"), frControls_);
    frCurrentClient_->setObjectName(QStringLiteral("frCurrentClient"));
    lblNameDisplay_ = new QLabel(QStringLiteral("No Clients"), frCurrentClient_);
    lblNameDisplay_->setObjectName(QStringLiteral("lblNameDisplay"));
    lblNameDisplay_->setTextFormat(Qt::PlainText);
    QFont nameFont = lblNameDisplay_->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.15);
    lblNameDisplay_->setFont(nameFont);
    lblNameDisplay_->setMinimumWidth(QFontMetrics(nameFont).horizontalAdvance(QLatin1Char('M')) *
                                     20);
    auto* nameLayout = new QVBoxLayout(frCurrentClient_);
    nameLayout->addWidget(lblNameDisplay_);

    buttons_ = new ui::MenuButtons(this, msgPanel_);
    QPushButton* execute =
        buttons_->Add(QStringLiteral("Execute Selection"),
                      QStringLiteral("Perform the selected operation."), frControls_);
    QPushButton* back = buttons_->Add(
        QStringLiteral("Go to Main Menu"),
        QStringLiteral("Close the Utilities window returning to the Main Menu."), frControls_);
    for (QPushButton* b : {execute, back}) {
        b->setMinimumSize(ui::Twips(2700), ui::Twips(540));
        b->installEventFilter(this);
    }
    QFrame* tabPanel = buttons_->AddPanel(tabs_, frControls_);
    connect(buttons_, &ui::MenuButtons::chosen, this, [this](int i) {
        if (executing_)
            return;
        if (Place(i) == Place::ExecuteSelection)
            ExecuteSelection();
        else
            reject();
    });

    auto* right = new QVBoxLayout;
    right->setSpacing(ui::Twips(240));
    right->addWidget(frCurrentClient_);
    right->addStretch();
    right->addWidget(buttons_->panel(Place::ExecuteSelection));
    right->addWidget(buttons_->panel(Place::GoToMainMenu));
    auto* layout = new QHBoxLayout(frControls_);
    layout->setContentsMargins(ui::Twips(300), ui::Twips(300), ui::Twips(300), ui::Twips(300));
    layout->setSpacing(ui::Twips(360));
    layout->addWidget(tabPanel);
    layout->addLayout(right);
    ui::FixAtSizeHint(frControls_);
    // Controls of the tabs not shown are passed over.
    ui::SetTabChain({tabs_->tabBar(), options_[0], options_[1], options_[2], chkComments_,
                     chkSumPage_, recordsOptions_[0], recordsOptions_[1], recordsOptions_[2],
                     chkExportNames_, execute, back});

    // The toolkit's own choosers work from the keyboard alike on every desktop.
    fileChooser_ = [](QWidget* parent, const QString& title, const QString& start) {
        return QFileDialog::getSaveFileName(parent, title, start,
                                            QStringLiteral("CSV files (*.csv);;All files (*)"),
                                            nullptr, QFileDialog::DontUseNativeDialog);
    };
    folderChooser_ = [](QWidget* parent, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(
            parent, title, start, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    };

    resize(frControls_->width() + ui::Twips(1440),
           frControls_->height() + msgPanel_->minimumHeight() + ui::Twips(2400));
    ui::CenterForm(this);

    // Loading: a fresh state every time the window opens.
    lblNameDisplay_->setText(state_.InitialName());
    tabs_->setCurrentIndex(ReportsTab);
    options_[PrintCurrent]->setChecked(true);
    recordsOptions_[ExportScoresOption]->setChecked(true);
    tabs_->tabBar()->setFocus();
}

QWidget* frmSupervisorOptions::BuildReportsTab() {
    auto* page = new QWidget;
    ui::SetBackground(page, ui::Blue);
    auto* frame = new QGroupBox(QStringLiteral("Choose Report Operation"), page);
    frame->setObjectName(QStringLiteral("fraPrintOptions"));
    ui::SetBackground(frame, ui::FaceColour, Qt::black);
    auto* layout = new QVBoxLayout(frame);
    layout->setSpacing(ui::Twips(120));
    for (int i = 0; i < 3; ++i) {
        options_[i] = new QRadioButton(QString::fromLatin1(kOptionCaptions[i]), frame);
        options_[i]->setObjectName(QStringLiteral("optPrintOption(%1)").arg(i));
        options_[i]->installEventFilter(this);
        connect(options_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                OptionChosen(i);
        });
        layout->addWidget(options_[i]);
    }
    layout->addSpacing(ui::Twips(180));
    chkComments_ = new QCheckBox(QStringLiteral("Add/Edit Comments"), frame);
    chkComments_->setObjectName(QStringLiteral("chkComments"));
    chkSumPage_ = new QCheckBox(QStringLiteral("One-page summary report"), frame);
    chkSumPage_->setObjectName(QStringLiteral("chkSumPage"));
    for (QCheckBox* box : {chkComments_, chkSumPage_}) {
        box->installEventFilter(this);
        layout->addWidget(box);
    }
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(ui::Twips(240), ui::Twips(240), ui::Twips(240), ui::Twips(240));
    pageLayout->addWidget(frame);
    pageLayout->addStretch();
    return page;
}

QWidget* frmSupervisorOptions::BuildRecordsTab() {
    auto* page = new QWidget;
    ui::SetBackground(page, ui::Blue);
    auto* frame = new QGroupBox(QStringLiteral("Choose Records Operation"), page);
    frame->setObjectName(QStringLiteral("fraRecordsOptions"));
    ui::SetBackground(frame, ui::FaceColour, Qt::black);
    auto* layout = new QVBoxLayout(frame);
    layout->setSpacing(ui::Twips(120));
    for (int i = 0; i < 3; ++i) {
        recordsOptions_[i] = new QRadioButton(QString::fromLatin1(kRecordsCaptions[i]), frame);
        recordsOptions_[i]->setObjectName(QStringLiteral("optRecordsOption(%1)").arg(i));
        recordsOptions_[i]->installEventFilter(this);
        connect(recordsOptions_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                RecordsOptionChosen(i);
        });
        layout->addWidget(recordsOptions_[i]);
    }
    layout->addSpacing(ui::Twips(180));
    chkExportNames_ = new QCheckBox(QStringLiteral("Include client names in the export"), frame);
    chkExportNames_->setObjectName(QStringLiteral("chkExportNames"));
    chkExportNames_->installEventFilter(this);
    layout->addWidget(chkExportNames_);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(ui::Twips(240), ui::Twips(240), ui::Twips(240), ui::Twips(240));
    pageLayout->addWidget(frame);
    pageLayout->addStretch();
    return page;
}

QWidget* frmSupervisorOptions::BuildCommentTab(const QString& text) {
    auto* page = new QWidget;
    ui::SetBackground(page, ui::Blue);
    auto* frame = new QGroupBox(QStringLiteral("Operation Comments"), page);
    ui::SetBackground(frame, ui::FaceColour, Qt::black);
    auto* label = new QLabel(text, frame);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(ui::Twips(4800));
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(label);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(ui::Twips(240), ui::Twips(240), ui::Twips(240), ui::Twips(240));
    pageLayout->addWidget(frame);
    pageLayout->addStretch();
    return page;
}

void frmSupervisorOptions::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (e->spontaneous() || activated_)
        return;
    activated_ = true;
    // After the window is on screen, so the message stands over it.
    QTimer::singleShot(0, this, &frmSupervisorOptions::Activation);
}

void frmSupervisorOptions::Activation() {
    PlaceFrame();
    ui::SetBackground(tabs_, ui::Blue);
    if (!state_.EmptyDrive())
        return;
    MsgBox(MsgLines({QStringLiteral("There are no clients on this data disk."),
                     QStringLiteral("Returning to main menu.")}),
           MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Empty Data Disk"));
    reject();
}

void frmSupervisorOptions::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    PlaceFrame();
}

void frmSupervisorOptions::PlaceFrame() {
    ui::PlaceFramed(area_, frControls_, msgPanel_);
}

bool frmSupervisorOptions::eventFilter(QObject* watched, QEvent* e) {
    const QEvent::Type type = e->type();
    if ((type != QEvent::FocusIn && type != QEvent::FocusOut) || !buttons_)
        return QDialog::eventFilter(watched, e);
    const bool in = type == QEvent::FocusIn;
    if (watched == tabs_->tabBar()) {
        ui::SetBackground(buttons_->panel(Place::TabsPanel), in ? ui::Cyan : ui::Blue);
    } else if (watched == buttons_->button(Place::ExecuteSelection) ||
               watched == buttons_->button(Place::GoToMainMenu)) {
        if (in)
            ui::SetBackground(buttons_->panel(Place::TabsPanel), ui::Blue);
    } else if (watched == chkExportNames_) {
        if (in)
            msgPanel_->SetCaption(QStringLiteral("Press the space bar to put the clients' names "
                                                 "in the export; they are left out unless "
                                                 "ticked."));
    } else if (watched == chkComments_ || watched == chkSumPage_) {
        if (in)
            msgPanel_->SetCaption(watched == chkComments_
                                      ? QStringLiteral("Press the space bar to add or edit the "
                                                       "client's comments before the report.")
                                      : QStringLiteral("Press the space bar to add a one-page "
                                                       "summary to each report."));
    } else {
        for (QRadioButton* option : options_) {
            if (watched != option)
                continue;
            SetBold(option, in);
            if (in)
                msgPanel_->SetCaption(kOptionHelp);
        }
        for (int i = 0; i < 3; ++i) {
            if (watched != recordsOptions_[i])
                continue;
            SetBold(recordsOptions_[i], in);
            if (in)
                msgPanel_->SetCaption(SupervisorOptions::RecordsOptionHelp(i));
        }
    }
    return QDialog::eventFilter(watched, e);
}

void frmSupervisorOptions::TabChanged(int tab) {
    const std::optional<TabView> view = state_.TabChanged(tab);
    if (!view)
        return;
    msgPanel_->SetCaption(view->helpLine);
    lblNameDisplay_->setText(state_.EmptyDrive() && tab != DeleteNamesTab
                                 ? QStringLiteral("No Clients")
                                 : view->nameDisplay);
    if (view->restoreOption)
        options_[state_.Option()]->setChecked(true);
}

void frmSupervisorOptions::OptionChosen(int option) {
    state_.ChooseOption(option);
    // Greyed out, the box keeps its tick for when the first option is chosen again.
    chkComments_->setEnabled(state_.CommentsEnabled());
}

void frmSupervisorOptions::RecordsOptionChosen(int option) {
    state_.ChooseRecordsOption(option);
    chkExportNames_->setEnabled(state_.ExportNamesEnabled());
    if (recordsOptions_[option]->hasFocus())
        msgPanel_->SetCaption(SupervisorOptions::RecordsOptionHelp(option));
}

void frmSupervisorOptions::ExecuteSelection() {
    const int tab = tabs_->currentIndex();
    const Operation op = state_.OperationFor(tab, chkComments_->isChecked());
    executing_ = true;
    try {
        if (op == Operation::DatabaseEmpty)
            MsgBox(SupervisorOptions::EmptyText(), MsgButtons::Ok, MsgIcon::Information,
                   SupervisorOptions::EmptyTitle(tab));
        else if (!SupervisorOptions::NeedsPassword(op) || ui::AskSupervisorPassword(this))
            Run(op);
    } catch (const VError& e) {
        ui::NormalPointer();
        MsgBox(ErrorText(e));
    } catch (const std::exception& e) {
        ui::NormalPointer();
        MsgBox(QStringLiteral("The operation stopped unexpectedly: %1")
                   .arg(QString::fromLocal8Bit(e.what())));
    }
    executing_ = false;
    // Done, refused or cancelled: back to the Main menu.
    accept();
}

void frmSupervisorOptions::Run(Operation op) {
    executed_ = true;
    scoring::ReportRequest request;
    request.summaryPage = chkSumPage_->isChecked();
    switch (op) {
    case Operation::ViewReport:
        reports::ViewReport(this, request);
        break;
    case Operation::EditComments: {
        reports::frmComments comments(this);
        comments.SetRequest(request);
        if (comments.Loaded())
            comments.exec();
        break;
    }
    case Operation::PrintSelected: {
        reports::frmPrintSelected window(this);
        window.SetRequest(request);
        window.exec();
        break;
    }
    case Operation::PrintAll:
        PrintAllReports();
        break;
    case Operation::Verify: {
        administration::frmVerify verify(this);
        verify.exec();
        break;
    }
    case Operation::DeleteNames:
        DelNames();
        break;
    case Operation::ExportScores:
        ExportScores();
        break;
    case Operation::BackUp:
        BackUp();
        break;
    case Operation::ViewAuditTrail: {
        frmAuditTrail trail(this);
        trail.exec();
        break;
    }
    case Operation::DatabaseEmpty:
        break;
    }
}

void frmSupervisorOptions::PrintAllReports() {
    scoring::ReportRequest request;
    request.summaryPage = chkSumPage_->isChecked();
    const reports::BatchPrintResult printed =
        reports::PrintReportsOf(AllClients(), request, msgPanel_);
    if (!printed.printed.isEmpty())
        audit::RecordDisk(audit::Event::PrintAll, int(printed.printed.size()));
    Globals().CurrentClient = 1;
}

void frmSupervisorOptions::ExportScores() {
    const QString path = fileChooser_(this, QStringLiteral("Export Scores"), SuggestedExportPath());
    if (path.isEmpty())
        return; // cancelled: nothing written, nothing recorded
    ExportScoresTo(path, chkExportNames_->isChecked());
}

void frmSupervisorOptions::BackUp() {
    const QString folder =
        folderChooser_(this, QStringLiteral("Back Up Data Disk: choose where the backup goes"),
                       BackupStartFolder());
    if (folder.isEmpty())
        return;
    BackUpTo(folder);
}

void ShowSupervisorOptions() {
    frmSupervisorOptions window(QApplication::activeWindow());
    window.exec();
}

} // namespace varenta::supervisor

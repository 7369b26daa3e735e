#include "ui/frmMainMenu.h"

#include "app/Config.h"
#include "app/DataDrive.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "app/StartUp.h"
#include "store/AuditTrail.h"
#include "store/ClientStore.h"
#include "store/SaveWithRetry.h"
#include "ui/MainMenuHooks.h"
#include "ui/MenuButtons.h"
#include "ui/Palette.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"
#include "ui/frmAbout.h"
#include "ui/frmDriveSelect.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace varenta::ui {

namespace {

// The client list: reports focus changes and, like the list boxes users know, takes the first
// arrow key after a refresh to choose the first line.
class NameList : public QListWidget {
public:
    explicit NameList(QWidget* parent) : QListWidget(parent) {}
    std::function<void(Qt::FocusReason)> onFocusIn;
    std::function<void()> onFocusOut;
    std::function<void()> onKey;

protected:
    void focusInEvent(QFocusEvent* e) override {
        QListWidget::focusInEvent(e);
        if (onFocusIn)
            onFocusIn(e->reason());
    }
    void focusOutEvent(QFocusEvent* e) override {
        QListWidget::focusOutEvent(e);
        if (onFocusOut)
            onFocusOut();
    }
    void keyPressEvent(QKeyEvent* e) override {
        const bool arrow = e->key() == Qt::Key_Up || e->key() == Qt::Key_Down;
        if (arrow && selectedItems().isEmpty() && count() > 0)
            setCurrentRow(0);
        else
            QListWidget::keyPressEvent(e);
        if (onKey)
            onKey();
    }
};

} // namespace

frmMainMenu::frmMainMenu(const MainMenuOptions& options, QWidget* parent)
    : QMainWindow(parent), options_(options) {
    setObjectName(QStringLiteral("frmMainMenu"));
    setWindowTitle(QString::fromLatin1(ProductName));
    BuildMenu();
    BuildWindow();
    resize(Twips(11400), Twips(8400));
}

frmMainMenu::~frmMainMenu() {
    delete driveDialog_;
}

void frmMainMenu::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mnuBar"));
    mnuExit_ = bar->addAction(QStringLiteral("E&xit!"));
    mnuExit_->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit_, &QAction::triggered, this, &frmMainMenu::ExitApplication);

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    mnuSelectDrive_ = options->addAction(QStringLiteral("Select &Data Drive"));
    mnuSelectDrive_->setObjectName(QStringLiteral("mnuSelectDrive"));
    connect(mnuSelectDrive_, &QAction::triggered, this, &frmMainMenu::SelectDataDriveFromMenu);
    mnuNumLock_ = options->addAction(QStringLiteral("&Num Lock Always On"));
    mnuNumLock_->setObjectName(QStringLiteral("mnuNumLock"));
    mnuNumLock_->setCheckable(true);
    connect(mnuNumLock_, &QAction::triggered, this, &frmMainMenu::ToggleNumLock);
    mnuPrintDos_ = options->addAction(QStringLiteral("&Print to DOS port"));
    mnuPrintDos_->setObjectName(QStringLiteral("mnuPrintDos"));
    mnuPrintDos_->setCheckable(true);
    connect(mnuPrintDos_, &QAction::triggered, this, &frmMainMenu::TogglePrintDos);

    mnuAbout_ = bar->addAction(QStringLiteral("&About..."));
    mnuAbout_->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout_, &QAction::triggered, this, &frmMainMenu::ShowAbout);
}

void frmMainMenu::BuildWindow() {
    area_ = new QWidget(this);
    area_->setObjectName(QStringLiteral("MainArea"));
    SetBackground(area_, AreaColour);
    setCentralWidget(area_);
    area_->installEventFilter(this);

    msgPanel_ = AddFootPanel(area_);
    QFont helpFont = msgPanel_->font();
    helpFont.setPointSizeF(helpFont.pointSizeF() * 1.1);
    msgPanel_->setFont(helpFont);

    frMainMenu_ = AddRaisedFrame(area_, QStringLiteral("frMainMenu"));

    auto* grid = new QGridLayout(frMainMenu_);
    grid->setContentsMargins(Twips(300), Twips(240), Twips(300), Twips(300));
    grid->setHorizontalSpacing(Twips(360));
    grid->setVerticalSpacing(Twips(180));

    auto* title = new QLabel(QString::fromLatin1(ProductName), frMainMenu_);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont tf = title->font();
    tf.setPointSizeF(tf.pointSizeF() * 2.0);
    tf.setBold(true);
    title->setFont(tf);
    QPalette tp = title->palette();
    tp.setColor(QPalette::WindowText, DarkBlue);
    title->setPalette(tp);
    auto* subtitle = new QLabel(QStringLiteral("Screening of juvenile court clients"), frMainMenu_);
    subtitle->setObjectName(QStringLiteral("lblSubtitle"));
    auto* heading = new QVBoxLayout;
    heading->setSpacing(0);
    heading->addWidget(title);
    heading->addWidget(subtitle);
    grid->addLayout(heading, 0, 0, 1, 3);

    // Left: the logo, with the two developer buttons under it.
    auto* left = new QVBoxLayout;
    imgNRVLogo_ = new QLabel(frMainMenu_);
    imgNRVLogo_->setObjectName(QStringLiteral("imgNRVLogo"));
    const QSize logoSize(Twips(1740), Twips(2436));
    imgNRVLogo_->setFixedSize(logoSize);
    imgNRVLogo_->setPixmap(DrawLogo(logoSize));
    left->addWidget(imgNRVLogo_, 0, Qt::AlignHCenter | Qt::AlignTop);
    left->addStretch();
    cmdNonDeviant_ = new QPushButton(QStringLiteral("Non-Deviant"), frMainMenu_);
    cmdNonDeviant_->setObjectName(QStringLiteral("cmdNonDeviant"));
    cmdCkecout_ = new QPushButton(QStringLiteral("Automated Checkout"), frMainMenu_);
    cmdCkecout_->setObjectName(QStringLiteral("cmdCkecout"));
    for (QPushButton* b : {cmdNonDeviant_, cmdCkecout_}) {
        b->setAutoDefault(false);
        b->setVisible(options_.administrator);
        b->installEventFilter(this); // Enter presses them, as it does every button
        left->addWidget(b);
    }
    connect(cmdNonDeviant_, &QPushButton::clicked, this, &frmMainMenu::NonDeviant);
    connect(cmdCkecout_, &QPushButton::clicked, this, &frmMainMenu::AutomatedCheckout);
    grid->addLayout(left, 1, 0);

    // Middle: the four menu buttons.
    auto* column = new QVBoxLayout;
    column->setSpacing(Twips(150));
    buttons_ = new MenuButtons(this, msgPanel_);
    // In the order of Choice.
    const std::pair<const char*, const char*> choices[] = {
        {"Edit Current Client", "Edit client's information."},
        {"Add New Client",
         "Enter a new client. Test client on computer or enter data from answer sheet."},
        {"Supervisor Options", "Print client report, verify data entry or delete client names."},
        {"Exit Application", "Quit the program."},
    };
    QFont buttonFont = font();
    buttonFont.setPointSizeF(buttonFont.pointSizeF() * 1.15);
    for (const auto& [caption, help] : choices) {
        QPushButton* b =
            buttons_->Add(QString::fromLatin1(caption), QString::fromLatin1(help), frMainMenu_);
        b->setFont(buttonFont);
        b->setMinimumSize(Twips(3300), Twips(570));
        column->addWidget(b->parentWidget());
    }
    column->addStretch();
    grid->addLayout(column, 1, 1);
    connect(buttons_, &MenuButtons::chosen, this, [this](int i) {
        switch (Choice(i)) {
        case Choice::EditCurrentClient:
            EditCurrentClient();
            break;
        case Choice::AddNewClient:
            AddNewClient();
            break;
        case Choice::SupervisorOptions:
            SupervisorOptions();
            break;
        case Choice::ExitApplication:
            ExitApplication();
            break;
        }
    });

    // Right: the client list.
    fraClient_ = new QGroupBox(QStringLiteral("Client List"), frMainMenu_);
    fraClient_->setObjectName(QStringLiteral("fraClient"));
    fraClient_->setAlignment(Qt::AlignHCenter);
    auto* clientLayout = new QVBoxLayout(fraClient_);
    clientLayout->setContentsMargins(Twips(120), Twips(120), Twips(120), Twips(120));
    auto* list = new NameList(fraClient_);
    list_ = list;
    list_->setObjectName(QStringLiteral("lbNameDisplay"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    StyleClientList(list_, 31, Twips(3300));
    QPalette lp = list_->palette();
    lp.setColor(QPalette::Highlight, DarkBlue);
    lp.setColor(QPalette::HighlightedText, Qt::white);
    list_->setPalette(lp);
    clientLayout->addWidget(list_);
    PaintSelectable(fraClient_, false);
    grid->addWidget(fraClient_, 1, 2);

    list->onFocusIn = [this](Qt::FocusReason r) { ListFocusIn(r); };
    list->onFocusOut = [this] { ListFocusOut(); };
    list->onKey = [this] { UpdateEditButton(); };
    connect(list_, &QListWidget::itemSelectionChanged, this, &frmMainMenu::ListChosen);

    SetTabChain({buttons_->button(Choice::ExitApplication), list_, cmdNonDeviant_, cmdCkecout_});
    FixAtSizeHint(frMainMenu_);
    setMinimumSize(frMainMenu_->width() + Twips(480),
                   frMainMenu_->height() + msgPanel_->minimumHeight() + Twips(1400));
    buttons_->button(Choice::EditCurrentClient)->setEnabled(false);
}

QListWidget* frmMainMenu::lbNameDisplay() const {
    return list_;
}

bool frmMainMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize)
        PlaceFrames();
    if ((watched == cmdNonDeviant_ || watched == cmdCkecout_) &&
        event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            auto* button = static_cast<QPushButton*>(watched);
            // Held down, Enter must not repeat the action.
            if (!key->isAutoRepeat() && button->isEnabled())
                button->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMainMenu::PlaceFrames() {
    PlaceFramed(area_, frMainMenu_, msgPanel_);
}

// ---------------------------------------------------------------------------------------
// Start-up

bool frmMainMenu::StartUp() {
    GlobalState& g = Globals();
    ConfigureDatabaseLayer();

    DriveSelectionHooks hooks = DriveHooks();
    hooks.startUpCandidate = options_.dataDir;
    const DriveSelection selection = SelectDataDrive(true, hooks);
    if (selection == DriveSelection::EndProgram ||
        (selection != DriveSelection::Accepted && !fileio::IsDirectory(g.DataPath))) {
        NormalPointer();
        EndProgram(1);
        return false;
    }

    BusyPointer();
    std::unique_ptr<frmAbout> splash(new frmAbout(true));
    splash->show();
    while (!splash->FadeDone())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!RunStartUpStep([] { LoadClients(); })) {
        splash->CloseNow();
        NormalPointer();
        EndProgram(1);
        return false;
    }
    splash->close(); // stays on screen for its last few seconds
    splash.reset();
    NormalPointer();

    setWindowTitle(QString::fromLatin1(ProductName));
    CenterForm(this);
    InitCodeTables();
    Activation();
    numLock_ = ReadNumLockSetting();
    mnuNumLock_->setChecked(numLock_);
    mnuPrintDos_->setChecked(ReadPrintDosSetting());
    listRefresh_ = true;
    closeOthers_ = true;
    g.SectionEnd = TestSectionEnds;
    NormalPointer();
    ready_ = true;
    emit ready();
    return true;
}

void frmMainMenu::EndProgram(int code) {
    ended_ = true;
    exitCode_ = code;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    close();
    emit programEnded(code);
}

void frmMainMenu::closeEvent(QCloseEvent* event) {
    if (!ended_) {
        ended_ = true;
        exitCode_ = 0;
        emit programEnded(0);
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------
// Activation and the client list

void frmMainMenu::Activation() {
    PlaceFrames();
    buttons_->ResetMenuButtons();
    UpdateEditButton();
    RefreshNameDisplay();
    buttons_->button(Choice::EditCurrentClient)->setEnabled(false);
    if (closeOthers_) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w == this || !w->isVisible() || w->windowType() == Qt::Popup ||
                w->windowType() == Qt::ToolTip)
                continue;
            w->close();
        }
    }
}

void frmMainMenu::RefreshNameDisplay() {
    const GlobalState& g = Globals();
    if (g.ClientCount <= 0 || !listRefresh_)
        return;
    QSignalBlocker block(list_);
    list_->clear();
    for (int n = 1; n <= g.ClientCount; ++n)
        list_->addItem(ClientListLine(n));
    list_->setCurrentRow(-1);
}

void frmMainMenu::UpdateEditButton() {
    const QList<QListWidgetItem*> chosen = list_->selectedItems();
    buttons_->button(Choice::EditCurrentClient)
        ->setEnabled(!chosen.isEmpty() && !chosen.first()->text().isEmpty());
}

void frmMainMenu::ListChosen() {
    UpdateEditButton();
    const QList<QListWidgetItem*> chosen = list_->selectedItems();
    if (chosen.isEmpty())
        return;
    const QString text = chosen.first()->text();
    bool ok = false;
    const int n = text.left(text.indexOf(QLatin1Char('-'))).toInt(&ok);
    if (ok && n >= 1 && n <= MaxClients)
        Globals().CurrentClient = qint16(n);
}

void frmMainMenu::ListFocusIn(Qt::FocusReason reason) {
    Q_UNUSED(reason);
    if (Globals().ClientCount < 1) {
        buttons_->button(Choice::AddNewClient)->setFocus(Qt::TabFocusReason);
        return;
    }
    PaintSelectable(fraClient_, true);
    msgPanel_->SetCaption(QStringLiteral("Use up or down arrow keys or mouse to select client."));
    UpdateEditButton();
}

void frmMainMenu::ListFocusOut() {
    PaintSelectable(fraClient_, false);
    msgPanel_->SetCaption(QString());
}

// ---------------------------------------------------------------------------------------
// Operations

void frmMainMenu::RunOperation(std::function<void()> operation) {
    try {
        operation();
    } catch (const VError& e) {
        NormalPointer();
        MsgBox(ErrorText(e));
    } catch (const std::exception& e) {
        NormalPointer();
        MsgBox(QStringLiteral("The operation stopped unexpectedly: %1")
                   .arg(QString::fromLocal8Bit(e.what())));
    }
}

bool frmMainMenu::RefuseFullDisk() {
    if (Globals().ClientCount < MaxClients)
        return false;
    ShowDiskFull();
    return true;
}

void frmMainMenu::EditCurrentClient() {
    Globals().EditMode = true;
    listRefresh_ = false;
    closeOthers_ = false;
    frMainMenu_->hide();
    RunOperation(MainMenu().editCurrentClient);
    closeOthers_ = true;
    ReturnFromOperation(Choice::AddNewClient); // Edit stays disabled until a client is chosen again
}

void frmMainMenu::AddNewClient() {
    if (RefuseFullDisk())
        return;
    Globals().EditMode = false;
    listRefresh_ = false;
    frMainMenu_->hide();
    RunOperation(MainMenu().addNewClient);
    ReturnFromOperation(Choice::AddNewClient);
}

void frmMainMenu::SupervisorOptions() {
    listRefresh_ = false;
    frMainMenu_->hide();
    RunOperation(MainMenu().supervisorOptions);
    ReturnFromOperation(Choice::SupervisorOptions);
}

void frmMainMenu::ReturnFromOperation(Choice button) {
    frMainMenu_->show();
    listRefresh_ = true;
    Activation();
    // The keyboard comes back here, on a button, so that the user sees where Enter acts even
    // where no window manager hands the focus back after a dialog.
    raise();
    activateWindow();
    buttons_->button(button)->setFocus(Qt::OtherFocusReason);
}

void frmMainMenu::ExitApplication() {
    EndProgram(0);
}

void frmMainMenu::SelectDataDriveFromMenu() {
    DriveSelection result = DriveSelection::Left;
    RunOperation([&] { result = SelectDataDrive(false, DriveHooks()); });
    NormalPointer();
    if (result == DriveSelection::EndProgram)
        EndProgram(1);
}

DriveSelectionHooks frmMainMenu::DriveHooks() {
    DriveSelectionHooks hooks;
    hooks.chooseDrive = [this] { return DriveDialog()->ChooseDrive(); };
    hooks.refreshClientList = [this] {
        list_->clear();
        RefreshNameDisplay();
        UpdateEditButton();
    };
    hooks.normalPointer = [] { NormalPointer(); };
    hooks.busyPointer = [] { BusyPointer(); };
    return hooks;
}

frmDriveSelect* frmMainMenu::DriveDialog() {
    // Made once and kept, so that it offers the last choice again.
    if (!driveDialog_)
        driveDialog_ = new frmDriveSelect(isVisible() ? this : nullptr);
    return driveDialog_;
}

void frmMainMenu::ToggleNumLock() {
    const bool on = !numLock_;
    try {
        WriteNumLockSetting(on);
        numLock_ = on;
    } catch (const VError& e) {
        MsgBox(MsgLines(
                   {QStringLiteral("The setting could not be saved."), QString(), e.description()}),
               MsgButtons::Ok, MsgIcon::Exclamation);
    }
    mnuNumLock_->setChecked(numLock_);
}

void frmMainMenu::TogglePrintDos() {
    const bool on = !Globals().PrintDOS;
    try {
        WritePrintDosSetting(on);
    } catch (const VError& e) {
        MsgBox(MsgLines(
                   {QStringLiteral("The setting could not be saved."), QString(), e.description()}),
               MsgButtons::Ok, MsgIcon::Exclamation);
    }
    mnuPrintDos_->setChecked(Globals().PrintDOS);
}

void frmMainMenu::ShowAbout() {
    {
        frmAbout about(false, this);
        about.exec();
    }
    Activation();
}

void frmMainMenu::NonDeviant() {
    if (RefuseFullDisk())
        return;
    BusyPointer();
    GlobalState& g = Globals();
    const int n = g.ClientCount + 1;
    ClientRecord& r = g.Clients[size_t(n)];
    r.ClientName = Fit(QStringLiteral("Non-Deviant Test  %1").arg(n), width::ClientName);
    r.Age = Fit(QStringLiteral("31"), width::Age);
    r.ClientID = Fit(QStringLiteral("N"), width::ClientID);
    r.GenderCode = QStringLiteral("1");
    r.RaceCode = QStringLiteral("1");
    r.EducationCode = QStringLiteral("1");
    for (int q = 1; q <= 8; ++q)
        *r.CourtField(q) = Fit(QStringLiteral("N"), width::Court);
    r.Responses = Fit(MainMenu().nonDeviantResponses(), width::Responses);
    r.EditCount = QStringLiteral("0");
    r.NameDeleted = QStringLiteral("0");
    r.Reserved = QStringLiteral("0");
    try {
        SaveClient(n);
    } catch (const VError& e) {
        NormalPointer();
        MsgBox(ErrorText(e));
        return;
    }
    audit::Record(audit::Event::AddedTestClient, n);
    g.CurrentClient = qint16(n);
    g.ClientCount = qint16(n);
    QApplication::processEvents();
    listRefresh_ = true;
    NormalPointer();
    Activation();
}

void frmMainMenu::AutomatedCheckout() {
    RunOperation(MainMenu().automatedCheckout);
    Activation();
}

void frmMainMenu::BringToFront() {
    if (ready_) {
        if (isMinimized() || !isVisible())
            showNormal();
        raise();
        activateWindow();
    }
    QWidget* front = QApplication::activeModalWidget();
    if (!front) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && w->windowType() != Qt::Popup &&
                w->windowType() != Qt::ToolTip)
                front = w;
    }
    if (front) {
        if (front->isMinimized())
            front->showNormal();
        front->raise();
        front->activateWindow();
    }
}

} // namespace varenta::ui

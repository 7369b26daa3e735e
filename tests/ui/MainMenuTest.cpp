#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "support/AuditCheck.h"
#include "support/ModalScript.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"
#include "ui/MainMenuHooks.h"
#include "ui/MenuButtons.h"
#include "ui/WindowHelpers.h"
#include "ui/frmAbout.h"
#include "ui/frmMainMenu.h"

#include <QAction>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;
using namespace varenta::ui;

namespace {

class MainMenuTest : public OnDataDisk {
protected:
    void SetUp() override {
        frmAbout::SetTimeScale(0.0, 0.0);
        Globals().ProgramDir = program.path();
    }

    void MakeDisk(int clients, const QString& settings = QString()) {
        WriteDataDisk(disk.path(), SampleClients(clients));
        WriteFile(
            program.file(QStringLiteral("qvtest.ini")),
            (QStringLiteral("[Path]\r\nFilePath=%1\r\n").arg(disk.path()) + settings).toUtf8());
    }
    // Starts the window active on a disk of `clients` sample clients, or on the one made already.
    void Start(frmMainMenu& w, int clients = -1) {
        if (clients >= 0)
            MakeDisk(clients);
        ASSERT_TRUE(w.StartUp());
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    static QWidget* Focused() { return QApplication::focusWidget(); }
};

TEST_F(MainMenuTest, StartUpListsTheClientsAndTheSettingsMenuWritesBack) {
    MakeDisk(12, QStringLiteral("[Settings]\r\nNumLock=False\r\nPrintDOS=Tru\r\n"));
    frmMainMenu w;
    Start(w);
    EXPECT_TRUE(messages.shown().empty()) << qPrintable(messages.texts().join(QLatin1Char('|')));
    QListWidget* list = w.lbNameDisplay();
    ASSERT_EQ(list->count(), 12);
    EXPECT_EQ(list->item(0)->text(), "1-Client 1                 ");
    EXPECT_TRUE(list->item(11)->text().startsWith("12-Client 12"));
    EXPECT_FALSE(w.menuButtons()->button(0)->isEnabled());
    EXPECT_FALSE(w.NumLock());
    EXPECT_FALSE(w.mnuNumLock()->isChecked());
    EXPECT_TRUE(w.mnuPrintDos()->isChecked());
    EXPECT_TRUE(Globals().PrintDOS);
    EXPECT_EQ(Globals().GenderNames.value(2), "Female");
    EXPECT_FALSE(w.findChild<QPushButton*>(QStringLiteral("cmdNonDeviant"))->isVisible());
    // The first control that takes the focus is "Add New Client": Edit is disabled.
    EXPECT_EQ(Focused(), w.menuButtons()->button(1));

    // The menu's settings are written back, keeping the other lines.
    w.mnuNumLock()->trigger();
    EXPECT_TRUE(w.mnuNumLock()->isChecked());
    EXPECT_TRUE(Ini().contains("NumLock=True"));
    w.mnuPrintDos()->trigger();
    EXPECT_FALSE(w.mnuPrintDos()->isChecked());
    EXPECT_FALSE(Globals().PrintDOS);
    EXPECT_TRUE(Ini().contains("PrintDOS=False"));
    EXPECT_TRUE(Ini().contains(QStringLiteral("FilePath=") + disk.path()));
    EXPECT_TRUE(messages.shown().empty());
    // A setting that cannot be saved is reported and not shown as changed.
    fileio::InjectWriteFailure(0, ENOSPC);
    w.mnuNumLock()->trigger();
    fileio::ClearInjectedFailure();
    EXPECT_TRUE(w.mnuNumLock()->isChecked());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.startsWith("The setting could not be saved."));
}

// Client 12 chosen with the arrows enables Edit, which runs with its flags; back from it the
// list is rebuilt and Edit waits for a line to be chosen again.
TEST_F(MainMenuTest, ChoosingAClientWithTheArrowsEnablesEditWhichRunsWithItsFlags) {
    frmMainMenu w;
    Start(w, 14);
    w.menuButtons()->button(3)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Tab);
    ASSERT_EQ(Focused(), w.lbNameDisplay());
    auto* frame = w.findChild<QGroupBox*>(QStringLiteral("fraClient"));
    EXPECT_EQ(frame->palette().color(QPalette::Window), Cyan);
    EXPECT_TRUE(frame->font().bold());
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("MsgPanel"))->text(),
              "Use up or down arrow keys or mouse to select client.");
    EXPECT_FALSE(w.menuButtons()->button(0)->isEnabled()); // no line chosen yet
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(w.lbNameDisplay(), Qt::Key_Down);
    EXPECT_EQ(w.lbNameDisplay()->selectedItems().value(0)->text().left(3), "12-");
    EXPECT_EQ(Globals().CurrentClient, 12);
    EXPECT_TRUE(w.menuButtons()->button(0)->isEnabled());

    QTest::keyClick(Focused(), Qt::Key_Backtab);
    EXPECT_EQ(frame->palette().color(QPalette::Window), Blue);
    EXPECT_FALSE(frame->font().bold());
    EXPECT_EQ(Focused(), w.menuButtons()->button(3));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("MsgPanel"))->text(), "Quit the program.");

    bool editMode = false, refreshDuring = true, closeOthersDuring = true, frameHidden = false;
    MainMenu().editCurrentClient = [&] {
        editMode = Globals().EditMode;
        refreshDuring = w.ListRefreshAllowed();
        closeOthersDuring = w.CloseOthersOnActivation();
        frameHidden = !w.findChild<QFrame*>(QStringLiteral("frMainMenu"))->isVisible();
        Globals().Clients[12].ClientName = Fit(QStringLiteral("Renamed"), 25);
    };
    w.menuButtons()->button(0)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.menuButtons()->button(0), Qt::Key_Return);
    EXPECT_TRUE(editMode);
    EXPECT_FALSE(refreshDuring);
    EXPECT_FALSE(closeOthersDuring);
    EXPECT_TRUE(frameHidden);
    EXPECT_TRUE(w.ListRefreshAllowed() && w.CloseOthersOnActivation());
    EXPECT_TRUE(w.findChild<QFrame*>(QStringLiteral("frMainMenu"))->isVisible());
    EXPECT_TRUE(w.lbNameDisplay()->item(11)->text().startsWith("12-Renamed "));
    EXPECT_FALSE(w.menuButtons()->button(0)->isEnabled());
    EXPECT_TRUE(w.lbNameDisplay()->selectedItems().isEmpty());
    EXPECT_EQ(w.lbNameDisplay()->count(), 14);
}

TEST_F(MainMenuTest, AFullDiskRefusesNewClientsBeforeAnythingIsWritten) {
    frmMainMenu w;
    Start(w, MaxClients);
    ASSERT_EQ(w.lbNameDisplay()->count(), 51);
    int supervisorRuns = 0;
    MainMenu().supervisorOptions = [&] { ++supervisorRuns; };
    w.menuButtons()->button(2)->click(); // the supervisor still works on a full disk
    EXPECT_EQ(supervisorRuns, 1);
    EXPECT_TRUE(messages.shown().empty());
    int runs = 0;
    MainMenu().addNewClient = [&] { ++runs; };
    MainMenu().nonDeviantResponses = [] { return QString(116, QLatin1Char('1')); };
    const QByteArray before = ReadFile(Globals().DataFilePath);
    w.menuButtons()->button(1)->click();
    w.findChild<QPushButton*>(QStringLiteral("cmdNonDeviant"))->click();
    EXPECT_EQ(runs, 0);
    ASSERT_EQ(messages.shown().size(), 2u);
    for (const Message& m : messages.shown()) {
        EXPECT_EQ(m.title, "Data Disk Full");
        EXPECT_TRUE(m.text.contains("new data disk"));
    }
    EXPECT_EQ(ReadFile(Globals().DataFilePath), before);
    EXPECT_EQ(Globals().ClientCount, 51);
}

TEST_F(MainMenuTest, NonDeviantClientIsWrittenListedAndCurrent) {
    MainMenuOptions options;
    options.administrator = true;
    frmMainMenu w(options);
    Start(w, 4);
    const QString responses = QStringLiteral("12").repeated(58);
    MainMenu().nonDeviantResponses = [&] { return responses; };
    Globals().Clients[5].DateOfBirth = Fit(QStringLiteral("01/02/2003"), 10);
    auto* button = w.findChild<QPushButton*>(QStringLiteral("cmdNonDeviant"));
    ASSERT_TRUE(button->isVisible());
    // Enter presses the two administrator buttons as it does every other button.
    int checkouts = 0;
    MainMenu().automatedCheckout = [&] { ++checkouts; };
    w.lbNameDisplay()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Tab);
    ASSERT_EQ(Focused(), button);
    QTest::keyClick(Focused(), Qt::Key_Return);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(Globals().ClientCount, 5);
    EXPECT_EQ(Globals().CurrentClient, 5);
    ASSERT_EQ(w.lbNameDisplay()->count(), 5);
    EXPECT_EQ(w.lbNameDisplay()->item(4)->text(), "5-Non-Deviant Test  5      ");
    EXPECT_FALSE(w.menuButtons()->button(0)->isEnabled());
    button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Tab);
    ASSERT_EQ(Focused(), w.findChild<QPushButton*>(QStringLiteral("cmdCkecout")));
    QTest::keyClick(Focused(), Qt::Key_Enter); // the keypad's Enter too
    EXPECT_EQ(checkouts, 1);
    EXPECT_EQ(Globals().ClientCount, 5) << "one Enter, one client";

    Globals() = GlobalState(); // as the program starts again
    UseDataDisk(disk.path());
    const ClientRecord& r = Globals().Clients[5];
    EXPECT_EQ(r.ClientName.trimmed(), "Non-Deviant Test  5");
    EXPECT_EQ(r.Age, "31");
    EXPECT_EQ(r.ClientID.trimmed(), "N");
    EXPECT_EQ(r.GenderCode + r.RaceCode + r.EducationCode, "111");
    for (int q = 1; q <= 8; ++q)
        EXPECT_EQ(*r.CourtField(q), "N ");
    EXPECT_EQ(r.Responses, responses);
    EXPECT_EQ(r.EditCount + r.NameDeleted + r.Reserved, "000");
    EXPECT_EQ(r.DateOfBirth, "01/02/2003"); // left as the slot held it
    EXPECT_EQ(AuditEvents(disk.path()), QStringList{"added-test-client 5"});
}

TEST_F(MainMenuTest, EmptyDiskTabLandsOnAddNewClientAndExitEndsWithoutAsking) {
    frmMainMenu w;
    Start(w, 0);
    int ended = -1;
    QObject::connect(&w, &frmMainMenu::programEnded, [&](int code) { ended = code; });
    w.menuButtons()->button(3)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), w.menuButtons()->button(1));
    EXPECT_FALSE(w.menuButtons()->button(0)->isEnabled());
    QTest::keyClick(Focused(), Qt::Key_Down);
    QTest::keyClick(Focused(), Qt::Key_Down);
    QTest::keyClick(Focused(), Qt::Key_Return);
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(messages.shown().empty());
}

} // namespace

// The supervisor window's records tab: exporting scores, backing up the disk and reading the
// audit trail, all from the keyboard and all behind the password.
#include "app/BuildConfig.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/ProgramFiles.h"
#include "store/AuditTrail.h"
#include "supervisor/gui/frmAuditTrail.h"
#include "supervisor/gui/frmSupervisorOptions.h"
#include "support/AuditCheck.h"
#include "support/GuiDriver.h" // QTest and the window helpers
#include "support/ModalScript.h"
#include "support/OnDataDisk.h"
#include "support/PasswordPrompt.h"
#include "support/Screens.h"
#include "support/TestSupport.h"
#include "ui/Password.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;
using varenta::supervisor::frmAuditTrail;
using varenta::supervisor::frmSupervisorOptions;

namespace {

class RecordsTest : public OnDataDisk {
protected:
    void SetUp() override {
        LoadDisk(5);
        UseReportProgramDir(program.path());
    }

    // Opens the window on the records tab, choosers answering from `chosen`.
    void Open(int option = 0) {
        window = std::make_unique<frmSupervisorOptions>();
        window->setProperty("scripted", true);
        const auto answer = [this](QWidget*, const QString& title, const QString& start) {
            asked << title + " @ " + start;
            return chosen;
        };
        window->SetFileChooser(answer);
        window->SetFolderChooser(answer);
        window->show();
        QApplication::processEvents();
        QApplication::processEvents();
        tabs = window->findChild<QTabWidget*>("sstSupervisorOperations");
        ASSERT_TRUE(tabs);
        tabs->setCurrentIndex(3);
        Option(option)->setChecked(true);
    }
    QRadioButton* Option(int i) const {
        return window->findChild<QRadioButton*>(QStringLiteral("optRecordsOption(%1)").arg(i));
    }
    QCheckBox* Names() const { return window->findChild<QCheckBox*>("chkExportNames"); }
    void Execute(const QString& password = SupervisorPassword) {
        ModalScript script;
        script.Then(TypePassword(password));
        if (password != SupervisorPassword)
            script.Then(TypePassword("", Qt::Key_Escape));
        MenuButton(window.get(), 0)->setFocus();
        QTest::keyClick(MenuButton(window.get(), 0), Qt::Key_Return);
        EXPECT_EQ(script.remaining(), 0);
        EXPECT_FALSE(window->isVisible());
    }

    TempDir out;
    std::unique_ptr<frmSupervisorOptions> window;
    QTabWidget* tabs = nullptr;
    QString chosen;
    QStringList asked;
};

TEST_F(RecordsTest, TheRecordsTabFromTheKeyboard) {
    Open();
    tabs->setCurrentIndex(0);
    QTabBar* bar = tabs->tabBar();
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_C, Qt::AltModifier); // "Re&cords"
    ASSERT_EQ(tabs->currentIndex(), 3);
    EXPECT_EQ(window->findChild<QLabel*>("lblNameDisplay")->text(), "All Clients");
    QTest::keyClick(bar, Qt::Key_Tab);
    ASSERT_TRUE(Option(0)->hasFocus());
    EXPECT_TRUE(HelpLine(window.get()).startsWith("Save every client's scores in a file"));
    QTest::keyClick(Option(0), Qt::Key_Down);
    EXPECT_TRUE(Option(1)->isChecked());
    EXPECT_FALSE(Names()->isEnabled()); // names belong to the export only
    QTest::keyClick(Option(1), Qt::Key_Tab);
    EXPECT_TRUE(MenuButton(window.get(), 0)->hasFocus());
    Option(1)->setFocus();
    QTest::keyClick(Option(1), Qt::Key_Up);
    QTest::keyClick(Option(0), Qt::Key_Tab);
    ASSERT_TRUE(Names()->hasFocus());
    QTest::keyClick(Names(), Qt::Key_Space);
    EXPECT_TRUE(Names()->isChecked());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(RecordsTest, ExportWritesTheFileRecordsItAndLeavesNamesOutUnlessTicked) {
    chosen = out.file("scores.csv");
    Open(0);
    Execute();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith("Export Scores @ " + QDir::homePath() + "/"));
    const QByteArray csv = ReadFile(chosen);
    EXPECT_EQ(csv.count("\r\n"), 6);
    EXPECT_FALSE(csv.contains("Client 1"));
    EXPECT_EQ(messages.last().title, "Export Scores");
    EXPECT_TRUE(messages.last().text.startsWith("The scores of 5 clients were saved in\n" + chosen +
                                                "\n\nThe file holds no client names."));
    EXPECT_EQ(AuditEvents(disk.path()), QStringList{"scores-exported (5)"});

    chosen = out.file("named.csv");
    Open(0);
    Names()->setChecked(true);
    Execute();
    EXPECT_TRUE(ReadFile(chosen).contains("Client 1"));
    EXPECT_EQ(AuditEvents(disk.path()).last(), "scores-exported-with-names (5)");

    // The chooser cancelled, or the password not given: nothing written, nothing recorded.
    messages.clear();
    chosen.clear();
    Open(0);
    Execute();
    asked.clear();
    Open(0);
    Execute("x");
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(messages.titles(), QStringList{"Incorrect Password"});
    EXPECT_EQ(AuditEvents(disk.path()).size(), 2);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(RecordsTest, BackUpIntoAChosenFolderOrSayWhyNot) {
    chosen = out.file("gone");
    Open(1);
    Execute();
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(messages.last().text.contains("Error 76:"));
    EXPECT_TRUE(messages.last().text.endsWith("The data disk itself was not changed."));
    EXPECT_FALSE(QFile::exists(disk.file("Audit.log")));

    chosen = out.path();
    Open(1);
    Execute();
    const QStringList made = QDir(out.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(messages.last().title, "Back Up Data Disk");
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
    EXPECT_TRUE(messages.last().text.contains(out.file(made[0])));
    EXPECT_TRUE(messages.last().text.contains("5 clients copied"));
    EXPECT_EQ(AuditEvents(disk.path()), QStringList{"backup (5)"});
}

TEST_F(RecordsTest, TheAuditTrailIsReadNewestFirstFromTheKeyboard) {
    for (int n = 1; n <= 40; ++n)
        audit::Record(audit::Event::ReportViewed, n % 5 + 1);
    audit::RecordDisk(audit::Event::NamesDeleted, 5);
    Open(2);
    ModalScript script;
    script.Then(TypePassword(SupervisorPassword)).Then([](QWidget* w) {
        auto* trail = qobject_cast<frmAuditTrail*>(w);
        ASSERT_TRUE(trail);
        QListWidget* list = trail->lstAuditTrail();
        ASSERT_TRUE(QTest::qWaitFor([list] { return list->hasFocus(); }));
        ASSERT_EQ(list->count(), 41);
        EXPECT_TRUE(list->item(0)->text().endsWith("Names deleted (5 clients)"));
        EXPECT_TRUE(list->item(40)->text().endsWith("Client 2: report viewed"));
        EXPECT_TRUE(list->item(40)->text().contains(audit::UserName() + " on "));
        QTest::keyClick(list, Qt::Key_PageDown);
        EXPECT_GT(list->currentRow(), 5);
        QTest::keyClick(list, Qt::Key_End);
        EXPECT_EQ(list->currentRow(), 40);
        QTest::keyClick(list, Qt::Key_Tab);
        ASSERT_TRUE(MenuButton(w, 0)->hasFocus());
        QTest::keyClick(MenuButton(w, 0), Qt::Key_Return);
    });
    MenuButton(window.get(), 0)->setFocus();
    QTest::keyClick(MenuButton(window.get(), 0), Qt::Key_Return);
    EXPECT_EQ(script.remaining(), 0);
    EXPECT_EQ(script.unexpected(), 0);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(AuditEvents(disk.path()).size(), 41); // reading it is not an event
}

// For the developers' guide: the records tab and the audit trail.
TEST_F(RecordsTest, DISABLED_ScreensForTheGuide) {
    for (int n = 1; n <= 5; ++n)
        audit::Record(audit::Event::AddedFromSheet, n);
    audit::Record(audit::Event::Verified, 2, 1);
    audit::Record(audit::Event::ReportPrinted, {2, 3});
    audit::RecordDisk(audit::Event::ScoresExported, 5);
    Open(0);
    Option(0)->setFocus();
    SaveScreen(window.get(), "supervisor-records.png");
    frmAuditTrail trail;
    trail.show();
    SaveScreen(&trail, "audit-trail.png");
}

} // namespace

#include "administration/gui/frmVerify.h"
#include "app/BuildConfig.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/ProgramFiles.h"
#include "reports/gui/frmComments.h"
#include "reports/gui/frmPrintSelected.h"
#include "reports/gui/frmViewReport.h"
#include "reports/print/PdfCheck.h"
#include "reports/print/ReportPrint.h"
#include "store/ClientStore.h"
#include "supervisor/gui/frmSupervisorOptions.h"
#include "support/AuditCheck.h"
#include "support/GuiDriver.h" // QTest and the window helpers
#include "support/ModalScript.h"
#include "support/OnDataDisk.h"
#include "support/PasswordPrompt.h"
#include "support/Screens.h"
#include "support/TestSupport.h"
#include "ui/Password.h"
#include "ui/WindowHelpers.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;
using varenta::supervisor::frmSupervisorOptions;

namespace {

class SupervisorTest : public OnDataDisk {
protected:
    void SetUp() override {
        LoadDisk(5);
        UseReportProgramDir(program.path());
    }

    void Open() {
        window = std::make_unique<frmSupervisorOptions>();
        window->setProperty("scripted", true); // not one of the windows the scripts act on
        window->show();
        QApplication::processEvents();
        QApplication::processEvents();
        tabs = window->findChild<QTabWidget*>("sstSupervisorOperations");
        ASSERT_TRUE(tabs);
    }
    template <typename T> T* Find(const QString& name) const {
        T* w = window->findChild<T*>(name);
        EXPECT_TRUE(w) << name.toStdString();
        return w;
    }
    QRadioButton* Option(int i) const {
        return Find<QRadioButton>(QStringLiteral("optPrintOption(%1)").arg(i));
    }
    QPushButton* Button(int i) const { return MenuButton(window.get(), i); }
    QString HelpLine() const { return varenta::testing::HelpLine(window.get()); }
    QString NameDisplay() const { return Find<QLabel>("lblNameDisplay")->text(); }
    QColor PanelColour(int i) const {
        return Find<QWidget>(QStringLiteral("sspMenuChoice(%1)").arg(i))
            ->palette()
            .color(QPalette::Window);
    }
    // Presses "Execute Selection" from the keyboard.
    void Execute() {
        Button(0)->setFocus();
        QTest::keyClick(Button(0), Qt::Key_Return);
    }
    QStringList Pdfs() const {
        return QDir(out.path()).entryList({"*.pdf"}, QDir::Files, QDir::Name);
    }

    TempDir out;
    // No printer here: the reports go into PDF files the user names once.
    pdf::NoPrinter noPrinter{out.file("Reports.pdf")};
    std::unique_ptr<frmSupervisorOptions> window;
    QTabWidget* tabs = nullptr;
};

TEST_F(SupervisorTest, AnEmptyDataDiskSendsTheUserBackAtOnce) {
    LoadDisk(0);
    Open();
    QApplication::processEvents();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, "Empty Data Disk");
    EXPECT_EQ(messages.last().text,
              "There are no clients on this data disk.\nReturning to main menu.");
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SupervisorTest, TabsAndOptionsFromTheKeyboard) {
    Globals().CurrentClient = 3;
    Open();
    EXPECT_EQ(window->windowTitle(), "Supervisor Operations");
    const QString name = "Client 3" + QString(17, u' ');
    EXPECT_EQ(NameDisplay(), name);
    EXPECT_TRUE(Option(0)->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("chkComments")->isChecked());
    QTabBar* bar = tabs->tabBar();
    ASSERT_TRUE(bar->hasFocus());
    EXPECT_EQ(PanelColour(2), ui::Cyan);

    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(HelpLine(), "Click Execute to perform data verification.");
    EXPECT_EQ(NameDisplay(), name);
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(HelpLine(), "Click Execute to perform delete names operation.");
    EXPECT_EQ(NameDisplay(), "All Clients");
    QTest::keyClick(bar, Qt::Key_R, Qt::AltModifier); // "&Reports"
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(NameDisplay(), name);
    EXPECT_EQ(HelpLine(), QString());

    // Into the options: bold while focused, arrows choose, comments only for option 0.
    QTest::keyClick(bar, Qt::Key_Tab);
    ASSERT_TRUE(Option(0)->hasFocus());
    EXPECT_EQ(PanelColour(2), ui::Blue);
    EXPECT_TRUE(Option(0)->font().bold());
    EXPECT_EQ(HelpLine(), "Use the arrow keys or mouse to choose print operation.");
    auto* comments = Find<QCheckBox>("chkComments");
    comments->setChecked(true);
    QTest::keyClick(Option(0), Qt::Key_Down);
    EXPECT_TRUE(Option(1)->isChecked());
    EXPECT_FALSE(Option(0)->font().bold());
    EXPECT_FALSE(comments->isEnabled());
    QTest::keyClick(Option(1), Qt::Key_Down);
    EXPECT_TRUE(Option(2)->isChecked());
    EXPECT_FALSE(comments->isEnabled());
    QTest::keyClick(Option(2), Qt::Key_Up);
    QTest::keyClick(Option(1), Qt::Key_Up);
    EXPECT_TRUE(comments->isEnabled());
    EXPECT_TRUE(comments->isChecked());

    // The chosen option survives a trip to another tab.
    QTest::keyClick(Option(0), Qt::Key_Down);
    tabs->setCurrentIndex(2);
    tabs->setCurrentIndex(0);
    EXPECT_TRUE(Option(1)->isChecked());

    Button(1)->setFocus();
    EXPECT_EQ(HelpLine(), "Close the Utilities window returning to the Main Menu.");
    EXPECT_EQ(PanelColour(1), ui::Cyan);
    QTest::keyClick(Button(1), Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SupervisorTest, PrintAllPrintsEveryClientInRecordOrderAndEndsOnTheFirst) {
    LoadDisk(3);
    Globals().CurrentClient = 2;
    Open();
    Option(2)->setChecked(true);
    Find<QCheckBox>("chkSumPage")->setChecked(true);
    ModalScript script;
    script.Then(TypePassword(SupervisorPassword));
    messages.Answer(MsgAnswer::Yes); // no printer: PDF files instead
    Execute();
    EXPECT_TRUE(window->Executed());
    ASSERT_EQ(Pdfs(), (QStringList{"Reports 1.pdf", "Reports 2.pdf", "Reports 3.pdf"}));
    EXPECT_TRUE(messages.last().text.endsWith(
        ":\nReports 1.pdf\nReports 2.pdf\nReports 3.pdf")); // in printing order
    for (int n = 1; n <= 3; ++n) {
        const QString path = out.file(QStringLiteral("Reports %1.pdf").arg(n));
        EXPECT_TRUE(pdf::PageText(path, 1).contains(QStringLiteral("Client %1").arg(n)));
        const int pages = pdf::PageCount(path);
        EXPECT_TRUE(pdf::PageText(path, pages).contains("ONE PAGE SUMMARY"))
            << "the summary page was asked for";
    }
    EXPECT_EQ(Globals().CurrentClient, 1);
    EXPECT_EQ(AuditEvents(disk.path()), QStringList{"print-all (3)"});
    EXPECT_TRUE(TempCopies(program).isEmpty());
    EXPECT_FALSE(window->isVisible());
}

// The choice of clients from the keyboard; its other paths are the print-selected window's tests.
TEST_F(SupervisorTest, PrintSelectedClients2And5) {
    Open();
    Option(1)->setChecked(true);
    ModalScript script;
    script.Then(TypePassword(SupervisorPassword)).Then([](QWidget* w) {
        ASSERT_TRUE(qobject_cast<reports::frmPrintSelected*>(w));
        auto* list = qobject_cast<reports::frmPrintSelected*>(w)->lbNameDisplay();
        EXPECT_TRUE(QTest::qWaitFor([list] { return list->hasFocus(); })) << "open, in the list";
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                            Qt::Key_Space, Qt::Key_Tab})
            QTest::keyClick(list, key);
        EXPECT_TRUE(MenuButton(w, 0)->hasFocus());
        EXPECT_EQ(varenta::testing::HelpLine(w), "Print selected client reports");
        QTest::keyClick(MenuButton(w, 0), Qt::Key_Return);
    });
    messages.Answer(MsgAnswer::Yes); // no printer: PDF files instead
    Execute();
    EXPECT_EQ(script.remaining(), 0);
    ASSERT_EQ(Pdfs(), (QStringList{"Reports 2.pdf", "Reports 5.pdf"}));
    EXPECT_TRUE(pdf::PageText(out.file("Reports 2.pdf"), 1).contains("Client 2"));
    EXPECT_TRUE(pdf::PageText(out.file("Reports 5.pdf"), 1).contains("Client 5"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
    EXPECT_TRUE(messages.last().text.endsWith(":\nReports 2.pdf\nReports 5.pdf"));
    EXPECT_EQ(Globals().CurrentClient, 5);
    EXPECT_EQ(AuditEvents(disk.path()), (QStringList{"report-printed 2", "report-printed 5"}));
    EXPECT_TRUE(TempCopies(program).isEmpty());
}

TEST_F(SupervisorTest, CommentsAreEditedAndTheReportShowsThem) {
    Globals().CurrentClient = 4;
    Open();
    Find<QCheckBox>("chkComments")->setChecked(true);
    QString shown;
    ModalScript script;
    script.Then(TypePassword(SupervisorPassword))
        .Then([](QWidget* w) {
            ASSERT_TRUE(qobject_cast<reports::frmComments*>(w));
            auto* text = w->findChild<QPlainTextEdit*>("txtComments");
            QTest::keyClicks(text, "Met with family.");
            QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, "Next review in June.");
            QTest::keyClick(text, Qt::Key_Tab);
            QTest::keyClick(w->focusWidget(), Qt::Key_Return);
        })
        .Then([&](QWidget* w) {
            auto* viewer = qobject_cast<reports::frmViewReport*>(w);
            ASSERT_TRUE(viewer);
            // Read once the report is in.
            ASSERT_TRUE(QTest::qWaitFor([viewer] { return viewer->HasReport(); }));
            shown = viewer->Text1->toPlainText();
            viewer->cmdCancel->click();
        });
    Execute();
    EXPECT_EQ(script.remaining(), 0);
    EXPECT_EQ(shown,
              ShownReport(ReadFile(scoring::ReportFilePath()))); // the fresh report, all of it
    EXPECT_TRUE(shown.simplified().contains(
        "COMMENTS/RECOMMENDATIONS: Met with family. Next review in June."));
    const QByteArray comments = ReadFile(disk.file("Comments.dat"));
    ASSERT_EQ(comments.size(), 5 * 300);
    EXPECT_EQ(comments.mid(900, 300),
              QByteArray("Met with family.  Next review in June.").leftJustified(300, ' '));
    EXPECT_EQ(AuditEvents(disk.path()), (QStringList{"comment-saved 4", "report-viewed 4"}));
    EXPECT_FALSE(ReadFile(disk.file("Audit.log")).contains("family"));
}

// A wrong password, then cancel; and the two operations that need no password.
TEST_F(SupervisorTest, CancelAtThePasswordDoesNothing) {
    Open();
    ModalScript script;
    script.Then(TypePassword("x")).Then(TypePassword("", Qt::Key_Escape));
    Execute();
    EXPECT_EQ(script.remaining(), 0);
    EXPECT_EQ(script.unexpected(), 0); // no report window opened
    EXPECT_EQ(messages.titles(), QStringList{"Incorrect Password"});
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Executed());
    EXPECT_FALSE(QFile::exists(scoring::ReportFilePath()));
    EXPECT_FALSE(QFile::exists(disk.file("Audit.log")));
}

TEST_F(SupervisorTest, VerifyAndDeleteNamesAskForNoPassword) {
    Open();
    tabs->setCurrentIndex(1);
    ModalScript script;
    script.Then([](QWidget* w) {
        ASSERT_TRUE(qobject_cast<administration::frmVerify*>(w));
        w->findChild<QPushButton*>("cmdCancel")->click();
    });
    Execute();
    EXPECT_EQ(script.remaining(), 0);
    EXPECT_FALSE(window->isVisible());

    // Delete Names asks for no password but warns first (its answers are the store's tests).
    Open();
    tabs->setCurrentIndex(2);
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Ok});
    Execute();
    EXPECT_EQ(messages.titles().value(0), "WARNING!");
    EXPECT_EQ(messages.shown().at(0).defaultButton, MsgDefault::Second); // Enter answers No
    EXPECT_EQ(messages.last().text, "Process complete. Press Enter to continue.");
    EXPECT_FALSE(window->isVisible());
    LoadClients();
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(Globals().Clients[size_t(n)].NameDeleted, "1");
    EXPECT_EQ(AuditEvents(disk.path()), QStringList{"names-deleted (5)"}); // verify was cancelled
}

// For the developers' guide: each tab as the user sees it.
TEST_F(SupervisorTest, DISABLED_ScreensForTheGuide) {
    Globals().Clients[3].ClientName = Fit("Dante Whitlock", width::ClientName);
    Globals().CurrentClient = 3;
    Open();
    QTest::keyClick(tabs->tabBar(), Qt::Key_Tab);
    SaveScreen(window.get(), "supervisor-reports.png");
    tabs->setCurrentIndex(1);
    tabs->tabBar()->setFocus();
    SaveScreen(window.get(), "supervisor-verify.png");
    tabs->setCurrentIndex(2);
    Button(0)->setFocus();
    SaveScreen(window.get(), "supervisor-delete.png");
}

} // namespace

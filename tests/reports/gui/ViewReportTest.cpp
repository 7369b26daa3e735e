#include "reports/gui/frmViewReport.h"

#include "../print/FakePrintService.h"
#include "../print/PdfCheck.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/ProgramFiles.h"
#include "reports/print/ReportPrint.h"
#include "store/Cp1252.h"
#include "support/AuditCheck.h"
#include "support/OnDataDisk.h"
#include "support/Screens.h"
#include "support/TestSupport.h"
#include "ui/MenuButtons.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::reports;
using namespace varenta::testing;

namespace {

QByteArray LongReport() {
    QString text;
    for (int page = 1; page <= 3; ++page) {
        if (page > 1)
            text += QStringLiteral("\f\r\n");
        for (int line = 1; line <= 50; ++line)
            text += QStringLiteral("       page %1 line %2 Peña\r\n").arg(page).arg(line);
    }
    return cp1252::Encode(text);
}

class ViewReportTest : public OnDataDisk {
protected:
    void SetUp() override {
        Globals().ProgramDir = program.path();
        viewer.SetScorer([this](const scoring::ReportRequest& r) {
            requests.push_back(r);
            if (failure)
                throw *failure;
            WriteFile(program.file("report.prn"), report);
        });
    }
    void Open() {
        viewer.show();
        viewer.activateWindow();
        QApplication::processEvents();
        QApplication::processEvents();
    }

    pdf::NoPrinter noPrinter;
    QByteArray report = LongReport();
    std::optional<VError> failure;
    std::vector<scoring::ReportRequest> requests;
    frmViewReport viewer;
};

} // namespace

TEST_F(ViewReportTest, ShowsTheFreshReportScrollsPrintsAndCloses) {
    LoadDisk(2);
    Globals().CurrentClient = 2;
    viewer.setProperty("SummaryPage", true);
    reports::PrintUi().choosePdfPath = [this](const QString&) { return program.file("saved.pdf"); };
    Open();
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Client Report"));
    EXPECT_EQ(viewer.cmdPrintReport->text(), QStringLiteral("&Print Report"));
    EXPECT_EQ(viewer.cmdCancel->text(), QStringLiteral("&Close"));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].summaryPage);
    EXPECT_EQ(viewer.Text1->toPlainText(), ShownReport(report));
    EXPECT_TRUE(viewer.Text1->isReadOnly());
    EXPECT_TRUE(QFontInfo(viewer.Text1->font()).fixedPitch());
    EXPECT_TRUE(viewer.cmdPrintReport->isEnabled());
    EXPECT_TRUE(messages.shown().empty());

    // The frame sits in the window, half of 1000 twips above the middle.
    const QRect inner = viewer.contentsRect();
    const QRect frame = viewer.fraAll->geometry();
    EXPECT_NEAR(frame.center().x(), inner.center().x(), 2);
    EXPECT_GE(frame.top(), 0);
    EXPECT_LT(frame.center().y(), inner.center().y());

    // Scroll keys on a button take the focus into the report, and already scroll.
    QScrollBar* bar = viewer.Text1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    viewer.cmdCancel->setFocus();
    QTest::keyClick(viewer.cmdCancel, Qt::Key_PageDown);
    EXPECT_TRUE(viewer.Text1->hasFocus());
    EXPECT_GT(bar->value(), 0);
    const int afterPageDown = bar->value();
    QTest::keyClick(viewer.Text1, Qt::Key_Down);
    EXPECT_GT(bar->value(), afterPageDown);
    viewer.cmdPrintReport->setFocus();
    QTest::keyClick(viewer.cmdPrintReport, Qt::Key_Up);
    EXPECT_TRUE(viewer.Text1->hasFocus());

    // No printer here: Alt+P offers a PDF file and says where it went; Alt+C closes.
    messages.Answer(MsgAnswer::Yes);
    QTest::keyClick(viewer.Text1, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(pdf::PageCount(program.file("saved.pdf")), 3);
    EXPECT_TRUE(pdf::PageText(program.file("saved.pdf"), 2).contains("page 2 line 1 Peña"));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.last().text.contains(program.file("saved.pdf")));
    EXPECT_TRUE(viewer.isVisible());
    QTest::keyClick(viewer.cmdPrintReport, Qt::Key_C, Qt::AltModifier);
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.result(), QDialog::Rejected);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(AuditEvents(disk.path()), (QStringList{"report-viewed 2", "report-printed 2"}));
}

TEST_F(ViewReportTest, AScoringErrorIsShownAndTheWindowStaysUsable) {
    failure = VError(err::FileNotFound, QStringLiteral("File not found: /prog/QVB.TXT"));
    Open();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains("/prog/QVB.TXT"));
    EXPECT_TRUE(messages.last().text.startsWith("Error 53:"));
    EXPECT_FALSE(viewer.HasReport());
    EXPECT_TRUE(viewer.Text1->toPlainText().isEmpty());
    EXPECT_FALSE(viewer.cmdPrintReport->isEnabled());
    EXPECT_TRUE(viewer.cmdCancel->hasFocus());

    QTest::keyClick(viewer.cmdCancel, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(messages.shown().size(), 1u) << "nothing to print, nothing asked";
    QTest::keyClick(viewer.cmdCancel, Qt::Key_Return);
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(requests.size(), 1u);
}

// Closing a box the viewer opened re-activates it; that must not start scoring again (and
// show the error again, and again). Coming back from another window of the program does.
TEST_F(ViewReportTest, ScoresOncePerShowingAndAgainAfterAnotherWindow) {
    Open();
    ASSERT_EQ(viewer.ScoringRuns(), 1);
    {
        QMessageBox box(QMessageBox::Information, "t", "own box", QMessageBox::Ok, &viewer);
        box.show();
        box.activateWindow();
        QApplication::processEvents();
        box.close();
    }
    Open(); // active again
    EXPECT_EQ(viewer.ScoringRuns(), 1);

    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::processEvents();
    if (QGuiApplication::focusWindow() != other.windowHandle())
        GTEST_SKIP() << "this platform does not move the focus between windows";
    Open(); // active again
    EXPECT_EQ(viewer.ScoringRuns(), 2);

    viewer.hide();
    Open();
    EXPECT_EQ(viewer.ScoringRuns(), 3);
}

// "Print Report" goes straight to the default printer; "Print To" (Alt+T or Ctrl+P) opens the
// print dialog first, for another printer, copies or a PDF file. Each has its help line.
TEST(ViewReportPrinting, PrintReportAndPrintToFromTheKeyboard) {
    TempDir dir;
    Globals().ProgramDir = dir.path();
    Globals().CurrentClient = 7;
    FakePrinting printing;
    ScriptedMessages messages;
    frmViewReport viewer;
    viewer.SetScorer([&](const scoring::ReportRequest&) {
        WriteFile(dir.file("report.prn"), "page one\r\n\f\r\npage two\r\n");
    });
    std::vector<std::optional<reports::PrintTarget>> choices;
    int dialogs = 0;
    viewer.SetPrinterChooser([&]() -> std::optional<reports::PrintTarget> {
        ++dialogs;
        const auto choice = choices.front();
        choices.erase(choices.begin());
        return choice;
    });
    viewer.show();
    viewer.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const auto help = [&] { return viewer.msgPanel->text(); };

    ASSERT_TRUE(viewer.Text1->hasFocus());
    EXPECT_EQ(help(), "Use the arrow keys, Page Up and Page Down to read the report.");
    QTest::keyClick(viewer.Text1, Qt::Key_Tab);
    ASSERT_TRUE(viewer.cmdPrintReport->hasFocus());
    EXPECT_EQ(help(), "Print the report on the default printer.");
    QTest::keyClick(viewer.cmdPrintReport, Qt::Key_Return);
    ASSERT_EQ(printing->submitted.size(), 1u);
    EXPECT_EQ(printing->submitted[0].printer, "office");
    EXPECT_EQ(dialogs, 0);

    QTest::keyClick(viewer.cmdPrintReport, Qt::Key_Tab);
    ASSERT_TRUE(viewer.cmdPrintTo->hasFocus());
    EXPECT_EQ(viewer.cmdPrintTo->text(), "Print &To...");
    EXPECT_EQ(help(), "Choose a printer, the number of copies, or a PDF file, then print the "
                      "report.");
    printing->printers.insert(QStringLiteral("upstairs"), printing->printers.value("office"));
    reports::PrintTarget upstairs = reports::PrintTarget::Printer(QStringLiteral("upstairs"));
    upstairs.SetCopies(2);
    choices = {upstairs, std::nullopt,
               reports::PrintTarget::PdfFile(dir.file("chosen.pdf"), QPageSize::A4)};
    QTest::keyClick(viewer.cmdPrintTo, Qt::Key_Return);
    ASSERT_EQ(printing->submitted.size(), 2u);
    EXPECT_EQ(printing->submitted[1].printer, "upstairs");
    EXPECT_TRUE(
        printing->submitted[1].options.contains({QStringLiteral("copies"), QStringLiteral("2")}));
    QTest::keyClick(viewer.cmdPrintTo, Qt::Key_T, Qt::AltModifier); // the dialog cancelled
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(printing->submitted.size(), 2u);
    EXPECT_TRUE(messages.shown().empty());
    QTest::keyClick(viewer.cmdPrintTo, Qt::Key_Up); // into the report
    ASSERT_TRUE(viewer.Text1->hasFocus());
    QTest::keyClick(viewer.Text1, Qt::Key_P, Qt::ControlModifier); // into a PDF file
    EXPECT_EQ(pdf::PageCount(dir.file("chosen.pdf")), 2);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(dir.file("chosen.pdf")));

    // The print service is not running: said so, not that no printer is set up.
    printing->reachable = false;
    messages.clear();
    messages.Answer(MsgAnswer::No);
    QTest::keyClick(viewer.Text1, Qt::Key_P, Qt::AltModifier);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.startsWith("The print service of this computer is not "
                                                "running or cannot be reached"));
    EXPECT_TRUE(messages.last().text.endsWith("Do you want to save it as a PDF file instead?"));
    printing->reachable = true;

    // The default printer is stopped: said before anything is sent, PDF offered (declined).
    printing->printers["office"].state = reports::PrinterState::Stopped;
    messages.clear();
    messages.Answer(MsgAnswer::No);
    QTest::keyClick(viewer.Text1, Qt::Key_P, Qt::AltModifier);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.startsWith("The printer \"office\" is stopped"));
    EXPECT_EQ(printing->submitted.size(), 2u);

    // A job held in the queue: Enter on the question cancels it; the viewer carries on.
    printing->printers["office"].state = reports::PrinterState::Idle;
    printing->jobStates = {{reports::JobState::Held, {}, {}}};
    messages.clear();
    messages.Answer(MsgAnswer::Yes);
    QTest::keyClick(viewer.Text1, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(printing->cancelled, std::vector<int>{3});
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.ScoringRuns(), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// For the developers' guide: a sample client's report, scored with the tables shipped.
TEST(ViewReportScoring, DISABLED_ScreensForTheGuide) {
    TempDir dir;
    UseReportProgramDir(dir.path());
    WriteDataDisk(dir.file("disk"), {SampleClient(1), SampleClient(2)});
    UseDataDisk(dir.file("disk"));
    Globals().CurrentClient = 2;
    ScriptedMessages messages;
    frmViewReport viewer;
    viewer.show();
    QApplication::processEvents();
    viewer.cmdPrintReport->setFocus();
    SaveScreen(&viewer, "view-report.png");
}

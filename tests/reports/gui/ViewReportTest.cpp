#include "reports/gui/frmViewReport.h"

#include "../print/PdfCheck.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/ProgramFiles.h"
#include "reports/print/ReportPrint.h"
#include "store/Cp1252.h"
#include "support/AuditCheck.h"
#include "support/Screens.h"
#include "support/TestSupport.h"

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

class ViewReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        Globals().ProgramDir = dir.path();
        viewer.SetScorer([this](const ReportRequest& r) {
            requests.push_back(r);
            if (failure)
                throw *failure;
            WriteFile(dir.file("report.prn"), report);
        });
    }
    void Open() {
        viewer.show();
        viewer.activateWindow();
        QApplication::processEvents();
        QApplication::processEvents();
    }

    TempDir dir;
    pdf::NoPrinter noPrinter;
    ScriptedMessages messages;
    QByteArray report = LongReport();
    std::optional<VError> failure;
    std::vector<ReportRequest> requests;
    frmViewReport viewer;
};

} // namespace

TEST_F(ViewReportTest, ShowsTheFreshReportScrollsPrintsAndCloses) {
    TempDir disk;
    WriteDataDisk(disk.path(), SampleClients(2));
    UseDataDisk(disk.path());
    Globals().CurrentClient = 2;
    viewer.setProperty("SummaryPage", true);
    print::Hooks().choosePdfPath = [this](const QString&) { return dir.file("saved.pdf"); };
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
    EXPECT_EQ(pdf::PageCount(dir.file("saved.pdf")), 3);
    EXPECT_TRUE(pdf::PageText(dir.file("saved.pdf"), 2).contains("page 2 line 1 Peña"));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.last().text.contains(dir.file("saved.pdf")));
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

// For the developers' guide: a sample client's report, scored with the tables shipped.
TEST(ViewReportScoring, ScreenForTheGuide) {
    VARENTA_SKIP_UNLESS_SCREENS();
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

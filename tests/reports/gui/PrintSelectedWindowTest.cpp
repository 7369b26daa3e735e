#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/ProgramFiles.h"
#include "reports/gui/frmPrintSelected.h"
#include "reports/print/FakePrintService.h"
#include "reports/print/PdfCheck.h"
#include "reports/print/ReportPrint.h"
#include "support/AuditCheck.h"
#include "support/GuiDriver.h" // QTest and the window helpers
#include "support/OnDataDisk.h"
#include "support/Screens.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QListWidget>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::reports;
using namespace varenta::testing;
using varenta::reports::frmPrintSelected;

namespace {

class PrintSelectedWindowTest : public OnDataDisk {
protected:
    void SetUp() override {
        LoadDisk(5);
        UseReportProgramDir(program.path());
    }
    void Open() {
        window = std::make_unique<frmPrintSelected>();
        window->show();
        QApplication::processEvents();
        list = window->lbNameDisplay();
    }
    QPushButton* Button(int i) const { return MenuButton(window.get(), i); }
    QString HelpLine() const { return varenta::testing::HelpLine(window.get()); }
    QStringList Pdfs() const {
        return QDir(out.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }

    TempDir out;
    // No printer here: the reports go into PDF files the user names once.
    pdf::NoPrinter noPrinter{out.file("Reports.pdf")};
    std::unique_ptr<frmPrintSelected> window;
    QListWidget* list = nullptr;
};

// Printing clients 2 and 5, and every client, are the supervisor window's tests.
TEST_F(PrintSelectedWindowTest, NothingSelectedIsSaidThenSelectAllThenReturnPrintsNothing) {
    Open();
    ASSERT_TRUE(list->hasFocus());
    ASSERT_EQ(list->count(), 5);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("3-Client 3") + QString(17, QLatin1Char(' ')));
    EXPECT_EQ(HelpLine(), "Use up or down arrow keys or mouse to select client.");
    QTest::keyClick(list, Qt::Key_Tab);
    QTest::keyClick(Button(0), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(messages.last().text.section(QLatin1Char('\n'), 0, 0), "No client is selected.");
    ASSERT_TRUE(list->hasFocus());

    QTest::keyClick(list, Qt::Key_Tab);
    QTest::keyClick(Button(0), Qt::Key_Tab);
    ASSERT_TRUE(Button(1)->hasFocus());
    EXPECT_EQ(HelpLine(), "Select all client reports for printing");
    QTest::keyClick(Button(1), Qt::Key_Space);
    EXPECT_EQ(list->selectedItems().size(), 5);

    QTest::keyClick(Button(1), Qt::Key_Tab); // chosen, then abandoned
    ASSERT_TRUE(Button(2)->hasFocus());
    EXPECT_EQ(HelpLine(), "Cancel selections and printing.");
    QTest::keyClick(Button(2), Qt::Key_Return);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_FALSE(window->LastRun().has_value());
    EXPECT_TRUE(Pdfs().isEmpty());
}

// Typing moves to a client and never chooses one: only Space, Enter or a click does.
TEST_F(PrintSelectedWindowTest, TypingMovesToAClientAndOnlySpaceOrEnterChoose) {
    LoadDisk(12);
    Open();
    ASSERT_TRUE(list->hasFocus());
    const auto selected = [&] {
        QList<int> clients;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->isSelected())
                clients << i + 1;
        return clients;
    };
    Type(QStringLiteral("5"));
    EXPECT_EQ(list->currentRow(), 4);
    Type(QStringLiteral("12")); // on the way to client 12
    EXPECT_EQ(list->currentRow(), 11);
    EXPECT_TRUE(selected().isEmpty());
    Key(Qt::Key_Space);
    Type(QStringLiteral("7"));
    EXPECT_EQ(list->currentRow(), 6);
    Key(Qt::Key_Return);
    EXPECT_EQ(selected(), QList<int>({7, 12}));
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    Type(QStringLiteral("c")); // names too: the next one starting with C
    EXPECT_EQ(list->currentRow(), 5);
    Key(Qt::Key_Return); // takes client 6 in
    Key(Qt::Key_Space);  // and out again
    EXPECT_EQ(selected(), QList<int>({7, 12}));
    EXPECT_EQ(HelpLine(), "Use up or down arrow keys or mouse to select client.");

    messages.Answer(MsgAnswer::Yes); // no printer here: PDF files instead
    Key(Qt::Key_Tab);
    Key(Qt::Key_Return);
    ASSERT_TRUE(window->LastRun().has_value());
    EXPECT_EQ(window->LastRun()->printed, QList<int>({7, 12}));
}

// Each report is its own print job, followed like any other: a job the printer does not print
// ends the run once cancelled, and the run says which reports were printed; a job the user
// leaves in the queue lets the rest join it there.
TEST_F(PrintSelectedWindowTest, APrinterThatStopsPrintingEndsTheRunOrTheRestQueueBehind) {
    FakePrinting printing;
    printing->script = [](int id, int) {
        return reports::JobStatus{
            id == 2 ? reports::JobState::Held : reports::JobState::Completed, {}, {}};
    };
    Open();
    Type(QStringLiteral("1"));
    Key(Qt::Key_Space);
    Type(QStringLiteral("2"));
    Key(Qt::Key_Space);
    Type(QStringLiteral("4"));
    Key(Qt::Key_Space);
    messages.Answer(MsgAnswer::Yes); // cancel the held job
    Key(Qt::Key_Tab);
    Key(Qt::Key_Return);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown()[0].text.contains("held in the printer's queue"));
    EXPECT_EQ(messages.last().text, "Printed: the reports of client 1.\nNot printed: the "
                                    "reports of clients 2 and 4.");
    EXPECT_EQ(printing->submitted.size(), 2u) << "nothing sent after the held one";
    EXPECT_EQ(printing->cancelled, std::vector<int>{2});
    EXPECT_TRUE(TempCopies(program).isEmpty());

    // Left in the queue: the run goes on without following the later jobs.
    Open();
    Key(Qt::Key_Space);
    Type(QStringLiteral("2"));
    Key(Qt::Key_Space);
    Type(QStringLiteral("3"));
    Key(Qt::Key_Space);
    messages.clear();
    messages.Answer(MsgAnswer::No);
    printing->script = [](int id, int) {
        return reports::JobStatus{
            id == 4 ? reports::JobState::Held : reports::JobState::Completed, {}, {}};
    };
    printing->jobLooks.clear();
    Key(Qt::Key_Tab);
    Key(Qt::Key_Return);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains("held in the printer's queue"));
    EXPECT_EQ(printing->submitted.size(), 5u);
    EXPECT_EQ(printing->jobLooks.value(5), 0) << "the one after it was not followed";
    EXPECT_EQ(window->LastRun()->printed, QList<int>({1, 2, 3}));
}

TEST_F(PrintSelectedWindowTest, WithNoClientsTheFocusGoesToTheWayBack) {
    LoadDisk(0);
    Open();
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(Button(0)->isEnabled());
    EXPECT_TRUE(Button(2)->hasFocus());
    QTest::keyClick(Button(2), Qt::Key_Backtab);
    EXPECT_TRUE(Button(1)->hasFocus());
    // Back past the disabled button into the empty list, which hands the focus on again.
    QTest::keyClick(Button(1), Qt::Key_Backtab);
    EXPECT_TRUE(Button(2)->hasFocus());
    EXPECT_FALSE(list->hasFocus());
}

TEST_F(PrintSelectedWindowTest, AFailurePartWaySaysWhichClientsWerePrinted) {
    // Client 4's file cannot be written: a folder stands where it would go.
    ASSERT_TRUE(QDir(out.path()).mkdir(QStringLiteral("Reports 4.pdf")));
    Open();
    for (int row : {1, 3, 4}) {
        list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
        QTest::keyClick(list, Qt::Key_Space);
    }
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Cancel}); // PDF instead; do not try again
    Button(0)->setFocus();
    QTest::keyClick(Button(0), Qt::Key_Return);
    ASSERT_GE(messages.shown().size(), 3u);
    const Message& failure = messages.shown()[1];
    EXPECT_EQ(failure.buttons, MsgButtons::OkCancel);
    EXPECT_TRUE(failure.text.startsWith("The report of client 4 could not be "
                                        "printed.\nError "));
    EXPECT_EQ(messages.last().text, "Printed: the reports of client 2.\nNot "
                                    "printed: the reports of clients 4 and 5.");
    EXPECT_EQ(Pdfs(), QStringList{"Reports 2.pdf"});
    EXPECT_TRUE(TempCopies(program).isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(AuditEvents(disk.path()), QStringList{"report-printed 2"}); // not 4 and 5
}

TEST_F(PrintSelectedWindowTest, DISABLED_ScreensForTheGuide) {
    const char* names[] = {"Jordan Ellery", "Marisol Quintero", "Dante Whitlock", "Keira Lindqvist",
                           "Tomás Ibáñez"};
    for (int n = 1; n <= 5; ++n)
        Globals().Clients[size_t(n)].ClientName =
            Fit(QString::fromUtf8(names[n - 1]), width::ClientName);
    Open();
    for (int row : {1, 4}) {
        list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
        QTest::keyClick(list, Qt::Key_Space);
    }
    SaveScreen(window.get(), QStringLiteral("print-selected.png"));
}

} // namespace

#include "FakePrintService.h"
#include "PdfCheck.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/print/ReportPrint.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::reports;
using namespace varenta::testing;

namespace {

class PrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        Globals().ProgramDir = dir.path();
        Globals().CurrentClient = 12;
        WriteFile(dir.file("report.prn"), "page one\r\n\f\r\npage two\r\n");
    }
    // The page size of the PDF document a job carried, as the printer gets it.
    QString PaperOf(const PrintJob& job) {
        WriteFile(dir.file("job.pdf"), job.data);
        const QString info = pdf::Run("pdfinfo", {dir.file("job.pdf")});
        return info.section(QStringLiteral("Page size:"), 1)
            .section(QLatin1Char('\n'), 0, 0)
            .simplified();
    }
    reports::PrinterStatus& Office() { return printing->printers[QStringLiteral("office")]; }

    TempDir dir;
    FakePrinting printing;
    ScriptedMessages messages;
};

} // namespace

// A report goes to the printer as a PDF document on the printer's own paper.
TEST_F(PrinterTest, TheDefaultPrinterGetsItsOwnPaper) {
    PrintResult r = PrintReportFile();
    EXPECT_TRUE(r.printed);
    EXPECT_FALSE(r.queued);
    EXPECT_EQ(r.printer, "office");
    EXPECT_EQ(r.sheets, 2);
    ASSERT_EQ(printing->submitted.size(), 1u);
    const PrintJob& letter = printing->submitted[0];
    EXPECT_EQ(letter.title, "Client Report");
    EXPECT_EQ(letter.format, "application/pdf");
    EXPECT_EQ(Option(letter, "media"), "na_letter_8.5x11in");
    EXPECT_TRUE(PaperOf(letter).endsWith("(letter)")) << PaperOf(letter).toStdString();
    EXPECT_TRUE(messages.shown().empty());

    Office().paper = QPageSize::A4;
    PrintReportFile();
    EXPECT_EQ(Option(printing->submitted[1], "media"), "iso_a4_210x297mm");
    EXPECT_TRUE(PaperOf(printing->submitted[1]).endsWith("(A4)"));

    // What the print dialog chose: another printer, two copies on both sides of A5.
    reports::PrinterStatus other = Office();
    printing->printers.insert(QStringLiteral("upstairs"), other);
    PrintTarget chosen = PrintTarget::Printer(QStringLiteral("upstairs"));
    chosen.SetCopies(2).SetCollate(false).SetSides(Sides::LongEdge).SetPaper(QPageSize::A5);
    r = PrintReportFile(chosen);
    EXPECT_EQ(r.printer, "upstairs");
    const PrintJob& job = printing->submitted[2];
    EXPECT_EQ(job.printer, "upstairs");
    EXPECT_EQ(Option(job, "copies"), "2");
    EXPECT_EQ(Option(job, "multiple-document-handling"), "separate-documents-uncollated-copies");
    EXPECT_EQ(Option(job, "sides"), "two-sided-long-edge");
    EXPECT_EQ(Option(job, "media"), "iso_a5_148x210mm");
    EXPECT_TRUE(messages.shown().empty());
}

// Before anything is sent: a printer that cannot print says why, names itself, and offers a
// PDF file named for the client's test number.
TEST_F(PrinterTest, APrinterThatCannotPrintSaysWhyBeforeAnythingIsSent) {
    QStringList suggested;
    PrintUi().choosePdfPath = [&](const QString& s) {
        suggested << s;
        return dir.file("saved.pdf");
    };
    struct Case {
        const char* what;
        std::function<void()> set;
        const char* says;
    };
    const Case cases[] = {
        {"service down", [&] { printing->reachable = false; },
         "The print service of this computer is not running or cannot be reached, so the report "
         "cannot be printed."},
        {"no printer", [&] { printing->defaultPrinter.clear(); },
         "No printer is set up on this computer, so the report cannot be printed."},
        {"removed", [&] { printing->defaultPrinter = QStringLiteral("gone"); },
         "The printer \"gone\" does not exist on this computer, so the report cannot be printed."},
        {"rejecting",
         [&] {
             Office().accepting = false;
             Office().message = QStringLiteral("Out of service until Monday");
         },
         "The printer \"office\" is not accepting print jobs (\"Out of service until Monday\"), so "
         "the report cannot be printed."},
        {"stopped",
         [&] {
             Office().state = PrinterState::Stopped;
             Office().message = QStringLiteral("Paper jam in tray 2");
         },
         "The printer \"office\" is stopped (\"Paper jam in tray 2\"), so the report cannot be "
         "printed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FakePrintService fresh;
        printing.service().reachable = fresh.reachable;
        printing.service().defaultPrinter = fresh.defaultPrinter;
        printing.service().printers = fresh.printers;
        c.set();
        messages.clear();
        messages.Answer(MsgAnswer::No);
        EXPECT_FALSE(PrintReportFile().printed);
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().text,
                  QString::fromUtf8(c.says) + "\nDo you want to save it as a PDF file instead?");
        EXPECT_EQ(messages.last().title, "Print Report");
        EXPECT_TRUE(printing->submitted.empty());

        messages.Answer(MsgAnswer::Yes);
        const PrintResult r = PrintReportFile();
        EXPECT_TRUE(r.printed);
        EXPECT_EQ(r.pdfPath, dir.file("saved.pdf"));
        EXPECT_EQ(pdf::PageCount(dir.file("saved.pdf")), 2);
        EXPECT_TRUE(suggested.last().endsWith("/Client Report 12.pdf"))
            << suggested.last().toStdString();
    }
    EXPECT_TRUE(printing->submitted.empty());
}

// After sending: a job that does not print is named with its printer's state and cancelled,
// unless the user leaves it in the queue, so that no report comes out later unattended.
TEST_F(PrinterTest, AJobThatDoesNotPrintIsCancelledUnlessLeftInTheQueue) {
    // Held in the queue: Enter (Yes) cancels it.
    printing->jobStates = {{JobState::Pending, {}, {}},
                           {JobState::Held, {}, {QStringLiteral("job-hold-until-specified")}}};
    messages.Answer(MsgAnswer::Yes);
    PrintResult r = PrintReportFile();
    EXPECT_FALSE(r.printed);
    ASSERT_EQ(messages.shown().size(), 1u);
    const Message& asked = messages.last();
    EXPECT_EQ(asked.buttons, MsgButtons::YesNo);
    EXPECT_EQ(asked.defaultButton, MsgDefault::First) << "Enter cancels";
    EXPECT_TRUE(asked.text.startsWith(
        "The report was sent to the printer \"office\", but it has not been printed: the print "
        "job is held in the printer's queue until someone releases it.\n"))
        << asked.text.toStdString();
    EXPECT_TRUE(asked.text.endsWith("Do you want to cancel the print job? Yes cancels it; No "
                                    "leaves it in the queue."));
    EXPECT_EQ(printing->cancelled, std::vector<int>{1});

    // The printer stops while the job waits (a device that is not there): left in the queue.
    printing->looks = 0;
    printing->cancelled.clear();
    printing.waitedMs = 0;
    printing->jobStates = {{JobState::Processing, {}, {}}};
    printing->onLook = [&](int look) {
        if (look == 2) {
            Office().state = PrinterState::Stopped;
            Office().message = QStringLiteral("Unable to locate printer \"office.example\".");
        }
    };
    messages.clear();
    messages.Answer(MsgAnswer::No);
    r = PrintReportFile();
    EXPECT_TRUE(r.printed);
    EXPECT_TRUE(r.queued);
    EXPECT_TRUE(printing->cancelled.empty());
    EXPECT_TRUE(messages.last().text.contains(
        "not been printed: the printer is stopped (\"Unable to locate printer "
        "\"office.example\"\")."))
        << messages.last().text.toStdString();
    EXPECT_EQ(printing.waitedMs, 2 * PollMs) << "told as soon as it stopped";
}

TEST_F(PrinterTest, AJobStillWaitingAfterTheWatchIsAskedAboutUnlessThePrinterHasIt) {
    // A printer that is never reached: the job goes on processing, the printer says why.
    printing->jobStates = {{JobState::Processing, {}, {}}};
    Office().state = PrinterState::Processing;
    Office().message = QStringLiteral("The printer may not exist or is unavailable at this time.");
    messages.Answer(MsgAnswer::Yes);
    PrintResult r = PrintReportFile();
    EXPECT_FALSE(r.printed);
    EXPECT_EQ(printing.waitedMs, WatchMs);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(
        "not been printed: it is still waiting after 8 seconds; the printer says \"The printer "
        "may not exist or is unavailable at this time\"."))
        << messages.last().text.toStdString();
    EXPECT_EQ(printing->cancelled.size(), 1u);

    // A working printer that has all of it and is printing it: nothing to ask.
    printing->looks = 0;
    printing->cancelled.clear();
    printing.waitedMs = 0;
    Office().message.clear();
    Office().reasons = QStringList{QStringLiteral("cups-waiting-for-job-completed")};
    messages.clear();
    r = PrintReportFile();
    EXPECT_TRUE(r.printed);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(printing.waitedMs, WatchMs);

    // ...unless it also reports an error.
    printing->looks = 0;
    Office().reasons << QStringLiteral("media-empty-error");
    messages.Answer(MsgAnswer::No);
    r = PrintReportFile();
    EXPECT_TRUE(r.queued);
    EXPECT_TRUE(messages.last().text.contains("the printer says \"media-empty-error\""))
        << messages.last().text.toStdString();

    // A job that prints within the watch is done at once.
    printing->looks = 0;
    printing.waitedMs = 0;
    printing->jobStates = {
        {JobState::Pending, {}, {}}, {JobState::Processing, {}, {}}, {JobState::Completed, {}, {}}};
    messages.clear();
    EXPECT_TRUE(PrintReportFile().printed);
    EXPECT_EQ(printing.waitedMs, 2 * PollMs);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(PrinterTest, AJobTheServiceGaveUpOrCouldNotCancelIsSaidSo) {
    printing->jobStates = {
        {JobState::Processing, {}, {}},
        {JobState::Aborted, QStringLiteral("Filter failed"), {QStringLiteral("job-aborted")}}};
    PrintResult r = PrintReportFile();
    EXPECT_FALSE(r.printed);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, "The printer \"office\" could not print the report: the "
                                    "print service gave up the print job (\"Filter failed\").");
    EXPECT_EQ(messages.last().buttons, MsgButtons::Ok);
    EXPECT_TRUE(printing->cancelled.empty()) << "nothing left to cancel";

    // Cancelling fails: the user is told it may still print.
    printing->looks = 0;
    printing->jobStates = {{JobState::Held, {}, {}}};
    printing->cancelFails = true;
    messages.clear();
    messages.Answer(MsgAnswer::Yes);
    r = PrintReportFile();
    EXPECT_TRUE(r.queued);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.last().text.startsWith(
        "The print job on the printer \"office\" could not be cancelled."));

    // The print service stops answering while the job is followed.
    printing->looks = 0;
    printing->cancelFails = false;
    printing->jobStates = {{JobState::Processing, {}, {}}};
    printing->onLook = [&](int look) { printing->reachable = look < 1; };
    messages.clear();
    messages.Answer(MsgAnswer::No);
    r = PrintReportFile();
    EXPECT_TRUE(r.queued);
    EXPECT_TRUE(
        messages.last().text.contains("not been printed: the print service stopped answering."));
}

// What the print dialog may ask for besides a printer: some pages only, the last first.
TEST_F(PrinterTest, ChosenSheetsOnlyAndTheLastFirst) {
    WriteFile(dir.file("report.prn"), "page one\r\n\f\r\npage two\r\n\f\r\npage three\r\n");
    QPageRanges two;
    two.addPage(2);
    PrintTarget target = PrintTarget::PdfFile(dir.file("two.pdf"));
    target.SetSheets(two);
    EXPECT_EQ(PrintReportFile(target).sheets, 1);
    EXPECT_EQ(pdf::PageCount(dir.file("two.pdf")), 1);
    EXPECT_TRUE(pdf::PageText(dir.file("two.pdf"), 1).contains("page two"));

    QPageRanges all;
    all.addRange(1, 3);
    target = PrintTarget::PdfFile(dir.file("back.pdf"));
    target.SetSheets(all, true);
    PrintReportFile(target);
    EXPECT_TRUE(pdf::PageText(dir.file("back.pdf"), 1).contains("page three"));
    EXPECT_TRUE(pdf::PageText(dir.file("back.pdf"), 3).contains("page one"));

    // Through a printer as well; pages that are not in the report are an error, not a blank job.
    PrintTarget printer = PrintTarget::DefaultPrinter();
    printer.SetSheets(two);
    EXPECT_EQ(PrintReportFile(printer).sheets, 1);
    QPageRanges beyond;
    beyond.addRange(5, 6);
    printer.SetSheets(beyond);
    const VError e = CaughtError([&] { PrintReportFile(printer); });
    EXPECT_EQ(e.number(), PrinterError);
    EXPECT_TRUE(e.description().contains("which has 3 pages")) << e.description().toStdString();
    EXPECT_EQ(printing->submitted.size(), 1u);
}

TEST(PaperOfMedia, NamesAsQueuesGiveThem) {
    EXPECT_EQ(PaperOfMedia(QStringLiteral("na_letter_8.5x11in")), QPageSize::Letter);
    EXPECT_EQ(PaperOfMedia(QStringLiteral("iso_a4_210x297mm")), QPageSize::A4);
    EXPECT_EQ(PaperOfMedia(QStringLiteral("letter")), QPageSize::Letter);
    EXPECT_EQ(PaperOfMedia(QStringLiteral("A4")), QPageSize::A4);
    EXPECT_FALSE(PaperOfMedia(QStringLiteral("roll_max_36x99in")).has_value());
    EXPECT_FALSE(PaperOfMedia(QString()).has_value());
    EXPECT_EQ(MediaName(QPageSize::Letter), "na_letter_8.5x11in");
    EXPECT_EQ(MediaName(QPageSize::A4), "iso_a4_210x297mm");
}

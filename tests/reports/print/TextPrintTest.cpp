#include "FakePrintService.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "reports/print/ReportPrint.h"
#include "store/Cp1252.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::reports;
using namespace varenta::testing;

namespace {

class TextPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        Globals().ProgramDir = dir.path();
        Globals().PrintDOS = true;
        // Stored in capitals: the file is found without regard to case.
        WriteFile(dir.file("REPORT.PRN"), report);
    }
    TempDir dir;
    FakePrinting printing;
    const QByteArray report = cp1252::Encode(QStringLiteral("page one Peña   \r\n\f\r\npage two\r\n"
                                                            "\f\r\n"));
};

} // namespace

// With PrintDOS the checkout's printout goes through the print service as plain text, which
// it lays out for any printer; the form-feed line is still added to the file.
TEST_F(TextPrintTest, PlainTextThroughThePrintServiceAndTheFormFeedLineStays) {
    QStringList pointer;
    PrintUi().busy = [&] { pointer << "busy"; };
    PrintUi().normal = [&] { pointer << "normal"; };
    const PrintResult r = ReadReportToPrinterC();
    EXPECT_TRUE(r.printed);
    EXPECT_EQ(r.printer, "office");
    EXPECT_EQ(ReadFile(dir.file("REPORT.PRN")), report + "\f\r\n");
    ASSERT_EQ(printing->submitted.size(), 1u);
    const PrintJob& job = printing->submitted[0];
    EXPECT_EQ(job.printer, "office");
    EXPECT_EQ(job.title, "Checkout Report");
    EXPECT_EQ(job.format, "text/plain;charset=utf-8");
    // Every character, in UTF-8; no form feed after the last page, which would cost a sheet.
    EXPECT_EQ(job.data, QStringLiteral("page one Peña\n\fpage two\n").toUtf8());
    EXPECT_EQ(Option(job, "media"), "na_letter_8.5x11in"); // the printer's own paper
    EXPECT_EQ(Option(job, "cpi"), "10");
    EXPECT_EQ(Option(job, "lpi"), "6");
    EXPECT_EQ(Option(job, "page-left"), "36");
    EXPECT_EQ(pointer, QStringList({"busy", "normal"}));

    // Into a PDF: pages, and neither the file nor the print service is touched.
    WriteFile(dir.file("REPORT.PRN"), report);
    EXPECT_EQ(ReadReportToPrinterC(PrintTarget::PdfFile(dir.file("c.pdf"))).sheets, 2);
    EXPECT_EQ(ReadFile(dir.file("REPORT.PRN")), report);
    EXPECT_EQ(printing->submitted.size(), 1u);
}

TEST_F(TextPrintTest, ARefusedJobIsAnErrorWithTheServicesWords) {
    printing->refusal = QStringLiteral("The printer \"office\" did not accept the report: "
                                       "Printer not accepting jobs.");
    const VError e = CaughtError([] { ReadReportToPrinterC(); });
    EXPECT_EQ(e.number(), PrinterError);
    EXPECT_TRUE(e.description().contains("not accepting jobs")) << e.description().toStdString();
}

// Wide checkout tables get a smaller pitch rather than lines broken in two.
TEST(TextPitch, FitsTheWidestLineAndTheLongestPage) {
    const QStringList narrow{QString(80, u'x')};
    EXPECT_EQ(TextPitch({narrow}, QPageSize::Letter), std::make_pair(11, 6));
    const QStringList wide{QString(90, u'x')};
    EXPECT_EQ(TextPitch({wide}, QPageSize::Letter), std::make_pair(12, 6));
    EXPECT_EQ(TextPitch({wide}, QPageSize::A4), std::make_pair(13, 6));
    EXPECT_EQ(TextPitch({QStringList(70, QStringLiteral("x"))}, QPageSize::A4).second, 7);
    EXPECT_EQ(TextPitch({{QStringLiteral("short")}}, QPageSize::A4), std::make_pair(10, 6));
}

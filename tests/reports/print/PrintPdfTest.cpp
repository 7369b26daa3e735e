#include "PdfCheck.h"

#include "reports/print/ReportPrint.h"
#include "reports/print/ReportText.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/Cp1252.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::reports;
using namespace varenta::testing;

namespace {

// A report file as the report writer lays it out: CR LF lines, form-feed lines between pages.
QByteArray MakeReport(const QList<QStringList>& pages) {
    QString text;
    for (int p = 0; p < pages.size(); ++p) {
        if (p > 0)
            text += QStringLiteral("\f\r\n");
        for (const QString& line : pages[p])
            text += line + QStringLiteral("\r\n");
    }
    return cp1252::Encode(text);
}

QList<QStringList> ThreePages() {
    return {
        {"Xfirst character must print", "", "       NAME             : Peña, José",
         "       AGE: 15      SEX : MALE", "", "       line with  two  blanks"},
        {"       NAME: Peña, José", "", "       * * SUMMARY PARAGRAPHS * *",
         "        paragraph text on page two"},
        {"       NAME: Peña, José", "", "       MULTIPLE CHOICE", "       last line of all"},
    };
}

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override { Globals().ProgramDir = dir.path(); }

    void WriteReport(const QList<QStringList>& pages) {
        WriteFile(dir.file("report.prn"), MakeReport(pages));
    }
    QString Pdf(const QString& name = QStringLiteral("out.pdf")) const { return dir.file(name); }

    TempDir dir;
    pdf::NoPrinter noPrinter;
    ScriptedMessages messages;
};

} // namespace

TEST_F(PrintTest, EachReportPageIsOneSheetAndNothingIsLost) {
    const QList<QStringList> pages = ThreePages();
    WriteReport(pages);
    const PrintResult r = PrintReportFile(PrintTarget::PdfFile(Pdf(), QPageSize::Letter));
    EXPECT_TRUE(r.printed);
    EXPECT_EQ(r.sheets, 3);
    EXPECT_EQ(r.pdfPath, Pdf());
    ASSERT_EQ(pdf::PageCount(Pdf()), 3);
    EXPECT_TRUE(pdf::Run("pdfinfo", {Pdf()}).contains("612 x 792 pts")) << "Letter";
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(pdf::Simplified(pdf::PageText(Pdf(), p + 1)), pdf::Simplified(pages[p]))
            << "page " << p + 1;
    EXPECT_TRUE(messages.shown().empty());

    // Several reports go into one job; a page too long for one sheet continues on the next.
    QStringList longPage;
    for (int i = 1; i <= 100; ++i)
        longPage << QStringLiteral("       line %1").arg(i);
    WriteFile(dir.file("temp1"), MakeReport({longPage, {"after"}}));
    WriteFile(dir.file("temp2"), MakeReport({{"client two"}}));
    const PrintResult job =
        PrintReportFiles({dir.file("temp1"), dir.file("temp2")},
                         PrintTarget::PdfFile(Pdf("job.pdf"), QPageSize::Letter));
    EXPECT_EQ(job.sheets, 4);
    EXPECT_EQ(pdf::Simplified(pdf::PageText(Pdf("job.pdf"), 1) + pdf::PageText(Pdf("job.pdf"), 2)),
              pdf::Simplified(longPage));
    EXPECT_EQ(pdf::Simplified(pdf::PageText(Pdf("job.pdf"), 3)), QStringList({"after"}));
    EXPECT_EQ(pdf::Simplified(pdf::PageText(Pdf("job.pdf"), 4)), QStringList({"client two"}));
}

// Where the words land: every sheet starts on its first line, columns line up as on a fixed
// pitch page, and nothing runs off the printable area.
TEST_F(PrintTest, LinesAreLaidOutInFixedColumnsFromTheTopOfEachSheet) {
    QList<QStringList> pages = ThreePages();
    pages[1] << QStringLiteral("       Age at First Arrest......... 12      "
                               "Times in Juvenile Detention.....  3");
    pages[1] << QString(37, QLatin1Char(' ')) + QStringLiteral("COL38");
    pages[1] << QString(37, QLatin1Char(' ')) + QStringLiteral("ALSO38");
    WriteReport(pages);
    PrintReportFile(PrintTarget::PdfFile(Pdf(), QPageSize::Letter));
    const auto words = pdf::Words(Pdf());
    ASSERT_FALSE(words.empty());

    const double margin = SideMarginMm / 25.4 * 72;
    const double top = TopMarginMm / 25.4 * 72;
    double firstTop[4] = {1e9, 1e9, 1e9, 1e9};
    const pdf::Word* col38 = nullptr;
    const pdf::Word* also38 = nullptr;
    for (const pdf::Word& w : words) {
        firstTop[w.page] = std::min(firstTop[w.page], w.yMin);
        EXPECT_GE(w.xMin, margin - 0.5);
        EXPECT_LE(w.xMax, 612 - margin + 0.5);
        EXPECT_LE(w.yMax, 792 - top + 0.5);
        if (w.text == "COL38")
            col38 = &w;
        if (w.text == "ALSO38")
            also38 = &w;
    }
    // A blank line at the top would push the first words down by a whole line (13 points).
    for (int page = 1; page <= 3; ++page)
        EXPECT_LT(firstTop[page], top + 6) << "page " << page;
    ASSERT_TRUE(col38 && also38);
    EXPECT_NEAR(col38->xMin, also38->xMin, 0.2);
    // 37 blanks before column 38, at 0.6 em of 11.5 points each.
    EXPECT_NEAR(col38->xMin - margin, 37 * 0.6 * 11.5, 1.0);
}

TEST_F(PrintTest, TypeSizesOfTheThreePrintouts) {
    // The line pitch follows the type size: 11.5 for the report, 9.5 for the checkout, 9 direct.
    QStringList lines;
    for (int i = 0; i < 10; ++i)
        lines << QStringLiteral("L%1").arg(i);
    WriteReport({lines});
    Globals().PrintDOS = false;
    auto pitch = [&](const QString& pdfPath) {
        const auto words = pdf::Words(pdfPath);
        EXPECT_EQ(words.size(), 10u);
        return words.size() == 10 ? (words[9].yMin - words[0].yMin) / 9 : 0.0;
    };
    PrintReportFile(PrintTarget::PdfFile(Pdf("a.pdf"), QPageSize::Letter));
    ReadReportToPrinterC(PrintTarget::PdfFile(Pdf("b.pdf"), QPageSize::Letter));
    PrintDirect(PrintTarget::PdfFile(Pdf("c.pdf"), QPageSize::Letter));
    const double report = pitch(Pdf("a.pdf"));
    EXPECT_NEAR(pitch(Pdf("b.pdf")) / report, 9.5 / 11.5, 0.01);
    EXPECT_NEAR(pitch(Pdf("c.pdf")) / report, 9.0 / 11.5, 0.01);
}

TEST_F(PrintTest, WithoutAPrinterTheUserMaySaveAPdfAndFailuresLeaveNone) {
    WriteReport(ThreePages());
    QStringList suggested;
    PrintUi().choosePdfPath = [&](const QString& s) {
        suggested << s;
        return dir.file("chosen"); // the extension is added
    };

    messages.Answer(MsgAnswer::Yes);
    PrintResult r = PrintReportFile();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages.last().title, "Print Report");
    EXPECT_TRUE(messages.last().text.contains("No printer"));
    EXPECT_TRUE(r.printed);
    EXPECT_EQ(r.pdfPath, dir.file("chosen.pdf"));
    EXPECT_EQ(pdf::PageCount(dir.file("chosen.pdf")), 3);
    ASSERT_EQ(suggested.size(), 1);
    EXPECT_TRUE(suggested[0].endsWith(".pdf"));

    // No: nothing printed, no chooser, and the caller is told.
    messages.Answer(MsgAnswer::No);
    r = PrintReportFile();
    EXPECT_FALSE(r.printed);
    EXPECT_EQ(suggested.size(), 1);

    // Yes, then the chooser is cancelled: nothing printed either.
    PrintUi().choosePdfPath = [](const QString&) { return QString(); };
    messages.Answer(MsgAnswer::Yes);
    r = PrintReportFile();
    EXPECT_FALSE(r.printed);
    EXPECT_EQ(messages.shown().size(), 3u);

    // Failures leave no PDF and restore the pointer; an empty or missing report is an error.
    QStringList pointer;
    PrintUi().busy = [&] { pointer << "busy"; };
    PrintUi().normal = [&] { pointer << "normal"; };
    const VError e = CaughtError(
        [&] { PrintReportFile(PrintTarget::PdfFile(dir.file("no/such/folder/out.pdf"))); });
    EXPECT_EQ(e.number(), err::PathNotFound);
    EXPECT_TRUE(e.description().contains("no/such/folder"));
    EXPECT_EQ(pointer, QStringList({"busy", "normal"})) << "the hourglass goes after a failure";

    WriteFile(dir.file("report.prn"), QByteArray("\r\n\f\r\n"));
    EXPECT_THROW(PrintReportFile(PrintTarget::PdfFile(Pdf())), VError);
    EXPECT_FALSE(QFileInfo::exists(Pdf()));

    QFile::remove(dir.file("report.prn"));
    EXPECT_THROW(PrintReportFile(PrintTarget::PdfFile(Pdf())), VError);
    EXPECT_FALSE(QFileInfo::exists(Pdf()));
}

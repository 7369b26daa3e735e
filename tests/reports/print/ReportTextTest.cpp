#include "reports/print/ReportText.h"
#include "reports/print/ReportPrint.h"

#include "app/Errors.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QPdfWriter>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::reports;
using namespace varenta::testing;

TEST(ReadReportFile, DropsOnlyTheFinalLineFeedAndDecodesTheCodePage) {
    TempDir dir;
    // "Peña" as the single-byte code page stores it.
    WriteFile(dir.file("report.prn"), QByteArray("NAME: Pe\xF1"
                                                 "a\r\n\f\r\nend\r\n"));
    EXPECT_EQ(ReadReportFile(dir.file("report.prn")),
              QString::fromUtf8("NAME: Peña\r\n\f\r\nend\r"));

    // A file cut short of its line feed keeps every character.
    WriteFile(dir.file("short.prn"), QByteArray("last line"));
    EXPECT_EQ(ReadReportFile(dir.file("short.prn")), "last line");

    EXPECT_EQ(CaughtError([&] { ReadReportFile(dir.file("missing.prn")); }).number(),
              err::FileNotFound);
}

TEST(SplitReportPages, CutsAtFormFeedsKeepsEveryCharacterAddsNoStrayBlankLine) {
    // The text as read back: the final line feed is gone, its carriage return is not.
    const QString text = QStringLiteral("Xfirst\r\n  two\r\n\f\r\nNAME: A\r\n\r\nbody\r\n\f\r\n"
                                        "third\r");
    const QList<QStringList> pages = SplitReportPages(text);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[0], QStringList({"Xfirst", "  two"}));
    EXPECT_EQ(pages[1], QStringList({"NAME: A", "", "body"}));
    EXPECT_EQ(pages[2], QStringList({"third"}));

    // No form feed at all: one page, first character included.
    EXPECT_EQ(SplitReportPages(QStringLiteral("ABC\r\ndef\r")),
              QList<QStringList>({{"ABC", "def"}}));
    // A report ending with a page break, or padded with blank lines, adds no blank sheet.
    EXPECT_EQ(SplitReportPages(QStringLiteral("one\r\n   \r\n\r\n\f\r")),
              QList<QStringList>({{"one"}}));
    // Leading blank lines are layout and stay.
    EXPECT_EQ(SplitReportPages(QStringLiteral("\r\n\r\ntitle\r")),
              QList<QStringList>({{"", "", "title"}}));
    // A form feed in the middle of a line still breaks the page; bare LF and CR end lines.
    EXPECT_EQ(SplitReportPages(QStringLiteral("a\nb\fc\rd")),
              QList<QStringList>({{"a", "b"}, {"c", "d"}}));
    EXPECT_TRUE(SplitReportPages(QString()).isEmpty());
    EXPECT_TRUE(SplitReportPages(QStringLiteral("\f\r\n\f\r")).isEmpty());
}

namespace {
QStringList Lines(int n, int width = 10) {
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << QString(width, QLatin1Char('x'));
    return out;
}
// A sheet of 100 x 100 with 1 x 1 cells: 100 lines of 100 characters at full size.
const SheetMetrics Unit{100, 100, 1, 1};
} // namespace

TEST(PlanSheets, ScalesAPageDownBeforeContinuingItAndNeverClipsALine) {
    // Too tall or too wide by a fifth: scaled.
    auto sheets = PlanSheets({Lines(100), Lines(120), {QString(120, 'a')}}, Unit);
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_DOUBLE_EQ(sheets[0].scale, 1.0);
    EXPECT_NEAR(sheets[1].scale, 100.0 / 120, 1e-9);
    EXPECT_EQ(sheets[1].lines.size(), 120);
    EXPECT_NEAR(sheets[2].scale, 100.0 / 120, 1e-9);

    // Past the smallest scale the page goes on over further sheets at full size, and a
    // continued sheet does not begin with a blank line.
    QStringList longPage = Lines(150);
    longPage[100] = QString();
    sheets = PlanSheets({longPage}, Unit);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_DOUBLE_EQ(sheets[0].scale, 1.0);
    EXPECT_EQ(sheets[0].lines.size(), 100);
    EXPECT_EQ(sheets[1].lines.size(), 49);
    EXPECT_EQ(sheets[1].reportPage, 0);

    // A line too wide even at the smallest scale is carried on over the next line, never clipped.
    sheets = PlanSheets({{QString(150, 'a') + QString(50, 'b')}}, Unit);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].lines.join(QString()), QString(150, 'a') + QString(50, 'b'));
    for (const QString& l : sheets[0].lines)
        EXPECT_LE(l.size() * sheets[0].scale, 100.0 + 1e-9);
}

// The report's pages are 58 counted lines of at most 80 columns: they must print at full size
// on both common papers.
TEST(PlanSheets, AFullReportPageFitsLetterAndA4AtFullSize) {
    for (QPageSize::PageSizeId paper : {QPageSize::Letter, QPageSize::A4}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageLayout(
            QPageLayout(QPageSize(paper), QPageLayout::Portrait,
                        QMarginsF(SideMarginMm, TopMarginMm, SideMarginMm, TopMarginMm),
                        QPageLayout::Millimeter));
        const SheetMetrics m = MeasureSheet(writer, ReportPointSize);
        const auto sheets = PlanSheets({Lines(58, 80)}, m);
        ASSERT_EQ(sheets.size(), 1u);
        EXPECT_DOUBLE_EQ(sheets[0].scale, 1.0) << "paper " << paper;
    }
}

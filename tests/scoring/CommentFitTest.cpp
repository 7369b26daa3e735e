// What the comments window says of a comment against what the report prints of it.
#include "scoring/ReportWriter.h"

#include <gtest/gtest.h>

namespace varenta::scoring {
namespace {

int PrintedLines(const QString& typed) {
    QString stored = typed;
    stored.replace(QLatin1Char('\n'), QStringLiteral("  "));
    return int(WrapComment(QStringLiteral("COMMENTS/RECOMMENDATIONS: ") + stored.trimmed()).size());
}

TEST(CommentFit, TellsWhetherTheReportPrintsTheCommentWholeAndHowMuchFits) {
    const CommentFit empty = FitComment(QString());
    EXPECT_TRUE(empty.whole);
    EXPECT_EQ(empty.printed, 0);

    // 300 characters of long words that fill more than five lines.
    QString words;
    while (words.size() < 300)
        words += QStringLiteral("Rehabilitation, accountability, responsibility: recommendation "
                                "follows. ");
    words.truncate(300);
    ASSERT_GT(PrintedLines(words), CommentLines);
    const CommentFit cut = FitComment(words);
    EXPECT_FALSE(cut.whole);
    EXPECT_EQ(cut.length, 300);
    EXPECT_LT(cut.printed, 300);
    EXPECT_FALSE(words.left(cut.printed).endsWith(QLatin1Char(' ')));
    EXPECT_EQ(words[cut.printed], QLatin1Char(' ')); // whole words print
    EXPECT_TRUE(FitComment(words.left(cut.printed)).whole);
    EXPECT_EQ(PrintedLines(words.left(cut.printed)), CommentLines);

    // Longer words leave larger gaps at line ends: fewer characters fit.
    QString longWords;
    while (longWords.size() < 300)
        longWords += QString(40, QLatin1Char('x')) + QLatin1Char(' ');
    longWords.truncate(300);
    EXPECT_FALSE(FitComment(longWords).whole);
    EXPECT_LT(FitComment(longWords).printed, cut.printed);
    // Leading blanks are not printed but count where the window counts them.
    EXPECT_EQ(FitComment(QStringLiteral("   ") + words.left(280)).printed, cut.printed + 3);

    // A comment that fits, typed on several lines (each line break stored as two blanks).
    const QString lines =
        QStringLiteral("Lives with her aunt.\nAttends school daily.\nReview in May.");
    const CommentFit fits = FitComment(lines);
    EXPECT_TRUE(fits.whole);
    EXPECT_EQ(fits.length, lines.size() + 2);
    EXPECT_EQ(fits.printed, fits.length);
}

} // namespace
} // namespace varenta::scoring

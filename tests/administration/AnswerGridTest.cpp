// The answer-sheet grid without its window: what the window tests do not reach.
#include "administration/AnswerGrid.h"

#include "administration/QuestionDbFixture.h"
#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::administration;
using namespace varenta::testing;

namespace {

TEST(AnswerGrid, CodesEachFamilyTakesStoredCodesKeptBadNumbersRefused) {
    TempDir dir;
    MakeQuestionDb(dir.path(), {QStringLiteral("English")});
    QuestionTable table = QuestionDb().OpenTable(QStringLiteral("English"));
    AnswerGrid sheet = AnswerGrid::FromTable(table);
    ASSERT_EQ(sheet.GridCount(), 3);
    EXPECT_EQ(sheet.Headers(0), (QStringList{"Num", "1", "2"}));
    sheet.pos = {2, 19};
    EXPECT_FALSE(sheet.Enter(QLatin1Char('5'))); // numbered items take 0 to 4
    EXPECT_FALSE(sheet.MoveDown());              // nowhere below the last item
    sheet.pos = {0, 1};
    EXPECT_FALSE(sheet.MoveUp());

    // A stored code a family cannot take gets no mark, but it is kept as stored.
    QString r(116, QLatin1Char('0'));
    r[0] = QLatin1Char('2');
    r[1] = QLatin1Char('4');
    r[63] = QLatin1Char('3');
    sheet.SetResponses(r);
    EXPECT_EQ(sheet.XColumn(0, 1), 2);
    EXPECT_EQ(sheet.XColumn(0, 2), 0);
    EXPECT_EQ(sheet.XColumn(0, 3), 0);
    EXPECT_EQ(sheet.XColumn(1, 1), 3);
    EXPECT_EQ(sheet.Responses(), r);

    // Five-answer families take 5.
    const AnswerGrid five = AnswerGrid::FromItems({{1, QStringLiteral("Mostly True")},
                                                   {2, QStringLiteral("Often")},
                                                   {3, QStringLiteral("No")}});
    ASSERT_EQ(five.GridCount(), 3);
    EXPECT_TRUE(five.Accepts(0, QLatin1Char('5')));
    EXPECT_TRUE(five.Accepts(1, QLatin1Char('5')));
    EXPECT_FALSE(five.Accepts(2, QLatin1Char('3')));
    EXPECT_EQ(five.Headers(0).size(), 6);

    // Items numbered out of range, or twice, are refused.
    for (int bad : {0, 117, 1}) {
        const VError e = CaughtError([bad] {
            AnswerGrid::FromItems({{1, QStringLiteral("False")}, {bad, QStringLiteral("False")}},
                                  QStringLiteral("Table T"));
        });
        EXPECT_TRUE(e.description().startsWith("Table T has an item numbered")) << bad;
    }
}

} // namespace

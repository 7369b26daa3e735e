#include "administration/AnswerGrid.h"

#include "administration/QuestionDbFixture.h"
#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

AnswerGrid SheetFromDb() {
    static TempDir dir;
    static const bool built = (MakeQuestionDb(dir.path(), {QStringLiteral("English")}), true);
    (void)built;
    Globals().QuestionDbPath = dir.file(QStringLiteral("qv32.mdb"));
    QuestionTable t = QuestionDb().OpenTable(QStringLiteral("English"));
    return AnswerGrid::FromTable(t);
}

TEST(AnswerGrid, OneGridPerFamilyInTableOrder) {
    const AnswerGrid sheet = SheetFromDb();
    ASSERT_EQ(sheet.GridCount(), 3);
    EXPECT_EQ(sheet.Family(0), family::TrueFalse);
    EXPECT_EQ(sheet.Family(1), family::Frequency);
    EXPECT_EQ(sheet.Family(2), family::Numbered);
    EXPECT_EQ(sheet.RowCount(0), 63);
    EXPECT_EQ(sheet.RowCount(1), 34);
    EXPECT_EQ(sheet.RowCount(2), 19);
    EXPECT_EQ(sheet.ItemAt(1, 1), 64);
    EXPECT_EQ(sheet.ItemAt(2, 19), 116);
    EXPECT_EQ(sheet.Headers(0), (QStringList{"Num", "1", "2"}));
    EXPECT_EQ(sheet.Headers(2).size(), 5);
}

TEST(AnswerGrid, StreamOfDigitsFillsAllGridsInOrder) {
    AnswerGrid sheet = SheetFromDb();
    QString typed;
    for (int item = 1; item <= 116; ++item)
        typed += QChar(u'0' + (item <= 63 ? item % 3 : item % 5));
    bool atEnd = false;
    for (int i = 0; i < typed.size(); ++i) {
        ASSERT_TRUE(sheet.Enter(typed[i], &atEnd)) << i;
        EXPECT_EQ(atEnd, i == 115) << i;
    }
    EXPECT_EQ(sheet.Responses(), typed);
    EXPECT_EQ(sheet.pos, (AnswerGrid::Pos{2, 19})); // stays on the last row
}

TEST(AnswerGrid, DigitsEachFamilyTakes) {
    AnswerGrid sheet = SheetFromDb();
    EXPECT_FALSE(sheet.Enter(QLatin1Char('3')));
    EXPECT_FALSE(sheet.Enter(QLatin1Char('x')));
    EXPECT_EQ(sheet.pos, (AnswerGrid::Pos{0, 1}));
    EXPECT_EQ(sheet.Responses(), QString(116, QLatin1Char('0')));
    for (int g : {1, 2}) {
        sheet.pos = {g, 1};
        EXPECT_FALSE(sheet.Enter(QLatin1Char('5')));
        EXPECT_TRUE(sheet.Enter(QLatin1Char('4')));
    }
    EXPECT_EQ(sheet.Cell(64), QLatin1Char('4'));
    EXPECT_EQ(sheet.Cell(98), QLatin1Char('4'));

    // Five-answer families take 5.
    const AnswerGrid five = AnswerGrid::FromItems({{1, QStringLiteral("Mostly True")},
                                                   {2, QStringLiteral("Often")},
                                                   {3, QStringLiteral("No")}});
    ASSERT_EQ(five.GridCount(), 3);
    EXPECT_TRUE(five.Accepts(0, QLatin1Char('5')));
    EXPECT_TRUE(five.Accepts(1, QLatin1Char('5')));
    EXPECT_FALSE(five.Accepts(2, QLatin1Char('3')));
    EXPECT_EQ(five.Headers(0).size(), 6);
}

TEST(AnswerGrid, MovesAcrossGridBorders) {
    AnswerGrid sheet = SheetFromDb();
    EXPECT_FALSE(sheet.MoveUp());
    sheet.pos = {1, 1};
    ASSERT_TRUE(sheet.MoveUp());
    EXPECT_EQ(sheet.ItemAt(sheet.pos.grid, sheet.pos.row), 63);
    ASSERT_TRUE(sheet.MoveDown());
    EXPECT_EQ(sheet.pos, (AnswerGrid::Pos{1, 1}));
    sheet.pos = {2, 19};
    EXPECT_FALSE(sheet.MoveDown());
}

TEST(AnswerGrid, MarksFollowStoredCodes) {
    AnswerGrid sheet = SheetFromDb();
    QString r(116, QLatin1Char('0'));
    r[0] = QLatin1Char('2');
    r[1] = QLatin1Char('4'); // not an answer of a true-false item: no mark, but kept
    r[63] = QLatin1Char('3');
    sheet.SetResponses(r);
    EXPECT_EQ(sheet.XColumn(0, 1), 2);
    EXPECT_EQ(sheet.XColumn(0, 2), 0);
    EXPECT_EQ(sheet.XColumn(0, 3), 0);
    EXPECT_EQ(sheet.XColumn(1, 1), 3);
    EXPECT_EQ(sheet.Responses(), r);
}

TEST(AnswerGrid, BadItemNumbersAreRefused) {
    for (int bad : {0, 117}) {
        try {
            AnswerGrid::FromItems({{1, QStringLiteral("False")}, {bad, QStringLiteral("False")}},
                                  QStringLiteral("Table T"));
            ADD_FAILURE() << bad;
        } catch (const VError& e) {
            EXPECT_TRUE(e.description().startsWith(QStringLiteral("Table T has an item numbered")));
        }
    }
    EXPECT_THROW(
        AnswerGrid::FromItems({{1, QStringLiteral("False")}, {1, QStringLiteral("False")}}),
        VError);
}

} // namespace

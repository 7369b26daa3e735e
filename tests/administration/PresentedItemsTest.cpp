// The items the presentation shows, as read from the question database and checked before the
// test begins; the presentation itself is tested through its window.
#include "administration/PresentationItems.h"

#include "PresentationFakes.h"
#include "QuestionDbFixture.h"
#include "administration/QuestionDb.h"
#include "app/Errors.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace varenta::administration {
namespace {

TEST(PresentedItems, IncompleteTablesAreRefusedWithTheReason) {
    const auto refused = [](const std::vector<PresentedItem>& items) {
        return testing::CaughtError([&] { CheckPresentedItems(items, QStringLiteral("English")); })
            .description();
    };
    EXPECT_EQ(refused(testing::MakeItems()), "");
    auto items = testing::MakeItems();
    items.erase(items.begin() + 40);
    EXPECT_EQ(refused(items), "The English question table is incomplete: item 41 is missing "
                              "(row 41 holds item 42).");
    items = testing::MakeItems();
    items.pop_back();
    EXPECT_EQ(refused(items),
              "The English question table is incomplete: it holds 115 items, the test has 116.");
    items = testing::MakeItems();
    items[9].answers[1].clear();
    EXPECT_TRUE(refused(items).contains("item 10 has fewer than two answers"));
    items = testing::MakeItems();
    items[0].statement = "  ";
    EXPECT_TRUE(refused(items).contains("item 1 has no statement"));
}

TEST(PresentedItems, ReadFromTheQuestionDatabase) {
    testing::TempDir tmp;
    testing::MakeQuestionDb(tmp.path(), {QStringLiteral("English")});
    QuestionDbItems source;
    const auto items = source.Items(QStringLiteral("English"));
    ASSERT_EQ(items.size(), 116u);
    EXPECT_EQ(items[63].id, 64);
    EXPECT_EQ(items[63].answers[3], "Very Often or Always");
    EXPECT_EQ(items[0].answers[2], ""); // Null: no third answer
    EXPECT_EQ(items[0].choiceAudio[1], "a1_2");
    EXPECT_EQ(items[115].questionAudio, "q116");
    // No Spanish table: a clear error, no items.
    EXPECT_EQ(testing::CaughtError([&] { source.Items(QStringLiteral("Spanish")); }).number(),
              qdb::TableNotFound);
    // A table whose rows skip an item or lack a number is refused.
    QStringList columns = QuestionColumns();
    std::vector<std::vector<QVariant>> rows;
    for (int id = 1; id <= 116; ++id) {
        std::vector<QVariant> row(columns.size());
        row[0] = id == 50 ? QVariant(QStringLiteral("fifty")) : QVariant(id);
        row[1] = QStringLiteral("s");
        row[3] = QStringLiteral("True");
        row[4] = QStringLiteral("False");
        rows.push_back(row);
    }
    const auto table = QuestionTable::FromRows("English", "x", columns, rows);
    EXPECT_THROW(PresentedItemsFrom(table), VError);
}

} // namespace
} // namespace varenta::administration

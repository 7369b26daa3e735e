// Verification without its window: the correction pass in the cases the window tests leave out.
#include "administration/Verification.h"

#include "administration/TestSpec.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::administration;

namespace {

// Keys `codes` from the current position on; every key must be accepted.
void KeyAll(Verification& v, const QString& codes) {
    for (QChar c : codes)
        EXPECT_NE(v.KeyCode(c), Verification::Key::Refused) << "item " << v.CurrentItem();
}

TEST(VerificationTest, OneKeyingErrorAtItem5IsKeyedAgainAndTheThirdKeyingDecides) {
    QString keyed = NonDeviantResponses();
    keyed[4] = QLatin1Char('0'); // stored '1'
    for (const QChar third : {QChar(u'2'), QChar(u'0'), QChar(u'1')}) {
        SCOPED_TRACE(third.toLatin1());
        Verification v(NonDeviantResponses());
        KeyAll(v, keyed);
        ASSERT_EQ(v.FinishPass(), Verification::Outcome::CorrectionsNeeded);
        EXPECT_TRUE(v.Correcting());
        EXPECT_EQ(v.QuestionList(), QList<int>{5});
        EXPECT_EQ(v.Position(), 1);
        EXPECT_EQ(v.CurrentItem(), 5);
        EXPECT_EQ(v.KeyCode(third), Verification::Key::PassEnded);
        EXPECT_EQ(v.FinishPass(), Verification::Outcome::Corrected);
        QString expected = NonDeviantResponses();
        expected[4] = third;
        EXPECT_EQ(v.NewResponses(), expected);
    }
}

TEST(VerificationTest, StoredCodesThatCannotBeKeyedEnterTheCorrectionPassAndBackStaysThere) {
    QString stored = NonDeviantResponses();
    stored[69] = QLatin1Char('5'); // item 70 takes 0..4
    stored[9] = QLatin1Char(' ');  // item 10
    stored.chop(1);                // item 116 missing altogether
    Verification v(stored);
    KeyAll(v, NonDeviantResponses());
    ASSERT_EQ(v.FinishPass(), Verification::Outcome::CorrectionsNeeded);
    EXPECT_EQ(v.QuestionList(), (QList<int>{10, 70, 116}));
    for (QChar bad : {QChar(u'5'), QChar(u'a'), QChar(u' '), QChar(u'\r')})
        EXPECT_EQ(v.KeyCode(bad), Verification::Key::Refused);
    // Back stays within the differing items.
    EXPECT_FALSE(v.Back());
    KeyAll(v, QStringLiteral("0"));
    EXPECT_EQ(v.CurrentItem(), 70);
    EXPECT_EQ(v.PreviousItem(), 10);
    EXPECT_TRUE(v.Back());
    EXPECT_EQ(v.CurrentItem(), 10);
    KeyAll(v, QStringLiteral("143"));
    EXPECT_EQ(v.FinishPass(), Verification::Outcome::Corrected);
    const QString result = v.NewResponses();
    EXPECT_EQ(result.size(), 116);
    EXPECT_EQ(result[9], QLatin1Char('1'));
    EXPECT_EQ(result[69], QLatin1Char('4'));
    EXPECT_EQ(result[115], QLatin1Char('3'));
    for (int i = 1; i <= 116; ++i)
        EXPECT_TRUE(Verification::IsKeyable(i, result[i - 1])) << i;
    EXPECT_FALSE(Verification::IsKeyable(63, QLatin1Char('3')));
    EXPECT_TRUE(Verification::IsKeyable(64, QLatin1Char('4')));
}

} // namespace

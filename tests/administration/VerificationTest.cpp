#include "administration/Verification.h"

#include <gtest/gtest.h>

using namespace varenta;

namespace {

QString Stored() {
    QString s;
    for (int i = 1; i <= 116; ++i)
        s += QChar(u'0' + (i <= 63 ? i % 3 : i % 5));
    return s;
}

// Keys `codes` from the current position on; every key must be accepted.
Verification::Key KeyAll(Verification& v, const QString& codes) {
    Verification::Key last = Verification::Key::Refused;
    for (QChar c : codes) {
        last = v.KeyCode(c);
        EXPECT_NE(last, Verification::Key::Refused) << "item " << v.CurrentItem();
    }
    return last;
}

TEST(VerificationTest, KeyingTheStoredCodesNeedsNoCorrection) {
    Verification v(Stored());
    EXPECT_EQ(v.CurrentItem(), 1);
    EXPECT_EQ(v.PreviousItem(), 0);
    EXPECT_EQ(KeyAll(v, Stored()), Verification::Key::PassEnded);
    EXPECT_EQ(v.FinishPass(), Verification::Outcome::NoCorrections);
    EXPECT_FALSE(v.Correcting());
}

TEST(VerificationTest, OneKeyingErrorAtItem5IsKeyedAgainAndTheThirdKeyingDecides) {
    QString keyed = Stored();
    keyed[4] = QLatin1Char('0'); // stored '2'
    for (const QChar third : {QChar(u'2'), QChar(u'0'), QChar(u'1')}) {
        Verification v(Stored());
        KeyAll(v, keyed);
        ASSERT_EQ(v.FinishPass(), Verification::Outcome::CorrectionsNeeded);
        EXPECT_TRUE(v.Correcting());
        EXPECT_EQ(v.QuestionList(), QList<int>{5});
        EXPECT_EQ(v.Position(), 1);
        EXPECT_EQ(v.CurrentItem(), 5);
        EXPECT_EQ(v.KeyCode(third), Verification::Key::PassEnded);
        EXPECT_EQ(v.FinishPass(), Verification::Outcome::Corrected);
        QString expected = Stored();
        expected[4] = third;
        EXPECT_EQ(v.NewResponses(), expected);
    }
}

TEST(VerificationTest, StoredCodesThatCannotBeKeyedAlwaysEnterTheCorrectionPass) {
    QString stored = Stored();
    stored[69] = QLatin1Char('5'); // item 70 takes 0..4
    stored[9] = QLatin1Char(' ');  // item 10
    stored.chop(1);                // item 116 missing altogether
    Verification v(stored);
    QString keyed = Stored();
    KeyAll(v, keyed);
    ASSERT_EQ(v.FinishPass(), Verification::Outcome::CorrectionsNeeded);
    EXPECT_EQ(v.QuestionList(), (QList<int>{10, 70, 116}));
    KeyAll(v, QStringLiteral("143"));
    EXPECT_EQ(v.FinishPass(), Verification::Outcome::Corrected);
    const QString result = v.NewResponses();
    EXPECT_EQ(result.size(), 116);
    EXPECT_EQ(result[9], QLatin1Char('1'));
    EXPECT_EQ(result[69], QLatin1Char('4'));
    EXPECT_EQ(result[115], QLatin1Char('3'));
    for (int i = 1; i <= 116; ++i)
        EXPECT_TRUE(Verification::IsKeyable(i, result[i - 1])) << i;
}

TEST(VerificationTest, CodesAreCheckedPerSectionAndRefusedKeysChangeNothing) {
    Verification v(Stored());
    KeyAll(v, Stored().left(11));
    ASSERT_EQ(v.CurrentItem(), 12);
    for (QChar bad : {QChar(u'3'), QChar(u'9'), QChar(u'a'), QChar(u' '), QChar(u'\r')})
        EXPECT_EQ(v.KeyCode(bad), Verification::Key::Refused);
    EXPECT_EQ(v.CurrentItem(), 12);
    EXPECT_EQ(v.Entered(12), QLatin1Char('0'));
    EXPECT_TRUE(Verification::IsKeyable(70, QLatin1Char('3')));
    EXPECT_TRUE(Verification::IsKeyable(64, QLatin1Char('4')));
    EXPECT_FALSE(Verification::IsKeyable(63, QLatin1Char('3')));
    EXPECT_FALSE(Verification::IsKeyable(116, QLatin1Char('5')));
}

TEST(VerificationTest, BackMovesToThePreviousEntryWithoutErasingAndStopsAtTheFirst) {
    Verification v(Stored());
    EXPECT_FALSE(v.Back());
    KeyAll(v, QStringLiteral("1201201201"));
    ASSERT_EQ(v.CurrentItem(), 11);
    EXPECT_TRUE(v.Back());
    EXPECT_EQ(v.CurrentItem(), 10);
    EXPECT_EQ(v.PreviousItem(), 9);
    EXPECT_EQ(v.Entered(9), QLatin1Char('0'));
    EXPECT_EQ(v.Entered(10), QLatin1Char('1')); // kept until keyed again
    v.KeyCode(QLatin1Char('2'));
    EXPECT_EQ(v.Entered(10), QLatin1Char('2'));
    EXPECT_EQ(v.CurrentItem(), 11);

    // In the correction pass Back stays within the differing items.
    Verification c(Stored());
    QString keyed = Stored();
    keyed[2] = QLatin1Char('1');
    keyed[7] = QLatin1Char('0');
    KeyAll(c, keyed);
    c.FinishPass();
    EXPECT_FALSE(c.Back());
    c.KeyCode(QLatin1Char('0'));
    EXPECT_EQ(c.CurrentItem(), 8);
    EXPECT_EQ(c.PreviousItem(), 3);
    EXPECT_TRUE(c.Back());
    EXPECT_EQ(c.CurrentItem(), 3);
}

} // namespace

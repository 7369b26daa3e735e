#include "reports/ClientListSearch.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::reports;

namespace {

QStringList Lines(int count) {
    QStringList lines;
    const char* names[] = {"Ana", "Bo", "Cruz", "Carla", "Dee"};
    for (int n = 1; n <= count; ++n)
        lines << QStringLiteral("%1-%2").arg(n).arg(QLatin1String(names[(n - 1) % 5]));
    return lines;
}

} // namespace

TEST(ClientListSearch, DigitsInQuickSuccessionNameOneClient) {
    const QStringList lines = Lines(12);
    ClientListSearch s;
    EXPECT_EQ(s.Find(u'5', -1, lines, 0), 4);
    EXPECT_EQ(s.Find(u'1', 2000, lines, 4), 0); // after a pause: a new number
    EXPECT_EQ(s.Find(u'2', 100, lines, 0), 11); // client 12
    EXPECT_EQ(s.Find(u'3', 100, lines, 11), 2); // there is no client 123: 3 starts over
    // "5" then "12" typed without a pause: 51 is no client, so 1 starts over, then 12.
    ClientListSearch t;
    EXPECT_EQ(t.Find(u'5', -1, lines, 0), 4);
    EXPECT_EQ(t.Find(u'1', 100, lines, 4), 0);
    EXPECT_EQ(t.Find(u'2', 100, lines, 0), 11);
    EXPECT_EQ(t.Find(u'0', 2000, lines, 11), -1); // no client 0
    EXPECT_EQ(ClientListSearch().Find(u'1', -1, {}, -1), -1);
}

TEST(ClientListSearch, LettersFindTheNextNameStartingWithThem) {
    const QStringList lines = Lines(5);
    ClientListSearch s;
    EXPECT_EQ(s.Find(u'c', -1, lines, 0), 2);    // Cruz
    EXPECT_EQ(s.Find(u'c', 100, lines, 2), 3);   // the same letter again: Carla
    EXPECT_EQ(s.Find(u'c', 100, lines, 3), 2);   // and round again
    EXPECT_EQ(s.Find(u'a', 2000, lines, 2), 0);  // Ana
    EXPECT_EQ(s.Find(u'C', 2000, lines, 0), 2);  // either case
    EXPECT_EQ(s.Find(u'a', 100, lines, 2), 3);   // "Ca": Carla
    EXPECT_EQ(s.Find(u'x', 2000, lines, 3), -1); // nobody
}

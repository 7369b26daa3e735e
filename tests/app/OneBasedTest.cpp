// An index outside 1..N is an error the windows can report, never a reach past the array.
#include "app/OneBased.h"

#include "app/Errors.h"

#include <gtest/gtest.h>

using namespace varenta;

namespace {

int ErrorOf(auto&& access) {
    try {
        access();
    } catch (const VError& e) {
        return e.number();
    }
    return 0;
}

TEST(OneBased, NumbersFromOneAndRefusesIndexesOutside) {
    OneBased<int, 3> a;
    a[1] = 10;
    a[3] = 30;
    EXPECT_EQ(*a.begin(), 10);
    EXPECT_EQ(a.data()[2], 30);
    EXPECT_EQ(ErrorOf([&] { a[0] = 1; }), err::SubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { return a[4]; }), err::SubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { return std::as_const(a)[-1]; }), err::SubscriptOutOfRange);
    EXPECT_EQ(a[1] + a[2] + a[3], 40); // nothing was written by the refused indexes
}

} // namespace

// What the supervisor window's tests do not reach; they run every operation from its choice.
#include "supervisor/SupervisorOptions.h"
#include "app/Globals.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::supervisor;
using namespace varenta::testing;

namespace {

TEST(SupervisorOptionsTest, AnEmptyDiskRefusesEveryOperationAndAnUnknownOptionIsIgnored) {
    SupervisorOptions empty;
    EXPECT_TRUE(empty.EmptyDrive());
    EXPECT_EQ(empty.InitialName(), "No Clients");
    for (int tab : {ReportsTab, VerifyTab, DeleteNamesTab})
        EXPECT_EQ(empty.OperationFor(tab, false), Operation::DatabaseEmpty);
    EXPECT_EQ(SupervisorOptions::EmptyTitle(VerifyTab), "Verify Data");
    EXPECT_EQ(SupervisorOptions::EmptyText(), "Cannot perform this function.\nDatabase empty.");
    EXPECT_FALSE(SupervisorOptions::NeedsPassword(Operation::DatabaseEmpty));

    for (int n = 1; n <= 3; ++n)
        Globals().Clients[size_t(n)] = SampleClient(n);
    Globals().ClientCount = 3;
    SupervisorOptions s;
    s.ChooseOption(PrintSelected);
    EXPECT_FALSE(s.CommentsEnabled());
    EXPECT_EQ(s.OperationFor(ReportsTab, true), Operation::PrintSelected); // greyed box ignored
    s.ChooseOption(7);                                                     // no such option
    EXPECT_EQ(s.Option(), PrintSelected);
}

} // namespace

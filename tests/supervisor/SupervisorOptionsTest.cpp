// What the supervisor window's tests do not reach; they run every operation from its choice.
#include "supervisor/SupervisorOptions.h"
#include "app/Globals.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::supervisor;
using namespace varenta::testing;

namespace {

TEST(SupervisorOptionsTest, AGreyedCommentsBoxAndAnUnknownOptionAreIgnored) {
    for (int n = 1; n <= 3; ++n)
        Globals().Clients[size_t(n)] = SampleClient(n);
    Globals().ClientCount = 3;
    SupervisorOptions s;
    EXPECT_FALSE(s.EmptyDrive());
    s.ChooseOption(PrintSelected);
    EXPECT_FALSE(s.CommentsEnabled());
    EXPECT_EQ(s.OperationFor(ReportsTab, true), Operation::PrintSelected);
    s.ChooseOption(7); // no such option
    EXPECT_EQ(s.Option(), PrintSelected);
}

TEST(SupervisorOptionsTest, AnEmptyDataDiskRefusesEveryOperation) {
    SupervisorOptions s;
    EXPECT_TRUE(s.EmptyDrive());
    EXPECT_EQ(s.InitialName(), "No Clients");
    for (int tab : {ReportsTab, VerifyTab, DeleteNamesTab})
        EXPECT_EQ(s.OperationFor(tab, false), Operation::DatabaseEmpty);
    EXPECT_EQ(SupervisorOptions::EmptyTitle(VerifyTab), "Verify Data");
    EXPECT_EQ(SupervisorOptions::EmptyText(), "Cannot perform this function.\nDatabase empty.");
    EXPECT_TRUE(AllClients().isEmpty());
    EXPECT_FALSE(SupervisorOptions::NeedsPassword(Operation::DatabaseEmpty));
}

} // namespace

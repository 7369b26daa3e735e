// What the supervisor window's keyboard tests do not reach: the operation each choice runs
// and the refusals on an empty data disk.
#include "supervisor/SupervisorOptions.h"
#include "app/Globals.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::supervisor;
using namespace varenta::testing;

namespace {

TEST(SupervisorOptionsTest, ExecuteRunsTheVisibleTabsOperation) {
    for (int n = 1; n <= 3; ++n)
        Globals().Clients[size_t(n)] = SampleClient(n);
    Globals().ClientCount = 3;
    Globals().CurrentClient = 2;
    SupervisorOptions s;
    EXPECT_FALSE(s.EmptyDrive());
    EXPECT_EQ(s.OperationFor(ReportsTab, false), Operation::ViewReport);
    EXPECT_EQ(s.OperationFor(ReportsTab, true), Operation::EditComments);
    s.ChooseOption(PrintSelected);
    EXPECT_FALSE(s.CommentsEnabled());
    EXPECT_EQ(s.OperationFor(ReportsTab, true), Operation::PrintSelected); // greyed box ignored
    s.ChooseOption(PrintAll);
    EXPECT_EQ(s.OperationFor(ReportsTab, false), Operation::PrintAll);
    s.ChooseOption(7); // no such option
    EXPECT_EQ(s.Option(), PrintAll);
    EXPECT_EQ(s.OperationFor(VerifyTab, false), Operation::Verify);
    EXPECT_EQ(s.OperationFor(DeleteNamesTab, false), Operation::DeleteNames);
    for (Operation op : {Operation::ViewReport, Operation::EditComments, Operation::PrintSelected,
                         Operation::PrintAll})
        EXPECT_TRUE(SupervisorOptions::NeedsPassword(op));
    for (Operation op : {Operation::Verify, Operation::DeleteNames, Operation::DatabaseEmpty})
        EXPECT_FALSE(SupervisorOptions::NeedsPassword(op));
    EXPECT_EQ(AllClients(), (QList<int>{1, 2, 3}));
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
}

} // namespace

#include "supervisor/SupervisorOptions.h"
#include "app/Globals.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::supervisor;
using namespace varenta::testing;

namespace {

class SupervisorOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        GlobalState& g = Globals();
        for (int n = 1; n <= 3; ++n)
            g.Clients[size_t(n)] = SampleClient(n);
        g.ClientCount = 3;
        g.CurrentClient = 2;
    }
};

TEST_F(SupervisorOptionsTest, TabsShowTheirHelpLineAndWhoTheOperationIsFor) {
    SupervisorOptions s;
    EXPECT_FALSE(s.EmptyDrive());
    const QString name = QStringLiteral("Client 2") + QString(17, QLatin1Char(' '));
    EXPECT_EQ(s.InitialName(), name);
    EXPECT_FALSE(s.TabChanged(ReportsTab)); // already the tab last handled

    auto verify = s.TabChanged(VerifyTab);
    ASSERT_TRUE(verify);
    EXPECT_EQ(verify->helpLine, QStringLiteral("Click Execute to perform data verification."));
    EXPECT_EQ(verify->nameDisplay, name);
    EXPECT_FALSE(s.TabChanged(VerifyTab));

    auto del = s.TabChanged(DeleteNamesTab);
    EXPECT_EQ(del->helpLine, QStringLiteral("Click Execute to perform delete names operation."));
    EXPECT_EQ(del->nameDisplay, QStringLiteral("All Clients"));

    s.ChooseOption(PrintAll);
    auto reports = s.TabChanged(ReportsTab);
    EXPECT_EQ(reports->helpLine, QString());
    EXPECT_EQ(reports->nameDisplay, name);
    EXPECT_TRUE(reports->restoreOption);
    EXPECT_EQ(s.Option(), PrintAll);
}

TEST_F(SupervisorOptionsTest, ExecuteRunsTheVisibleTabsOperation) {
    SupervisorOptions s;
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

TEST_F(SupervisorOptionsTest, AnEmptyDataDiskRefusesEveryOperation) {
    Globals().ClientCount = 0;
    Globals().CurrentClient = 0;
    SupervisorOptions s;
    EXPECT_TRUE(s.EmptyDrive());
    EXPECT_EQ(s.InitialName(), QStringLiteral("No Clients"));
    for (int tab : {ReportsTab, VerifyTab, DeleteNamesTab})
        EXPECT_EQ(s.OperationFor(tab, false), Operation::DatabaseEmpty);
    EXPECT_EQ(SupervisorOptions::EmptyTitle(VerifyTab), QStringLiteral("Verify Data"));
    EXPECT_EQ(SupervisorOptions::EmptyText(),
              QStringLiteral("Cannot perform this function.\nDatabase empty."));
    EXPECT_TRUE(AllClients().isEmpty());
}

} // namespace

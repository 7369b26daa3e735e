// The one retry loop over the data disk and what its callers decide: a failure the user can
// mend asks OK or Cancel, anything else says its number once and gives up.
#include "app/Errors.h"
#include "app/Messages.h"
#include "app/StartUp.h"
#include "store/SaveWithRetry.h"

#include <gtest/gtest.h>

using namespace varenta;

namespace {

VError Failure(int number) {
    return VError(number, ErrorDescription(number));
}

TEST(DataDiskRetryTest, StartUpAsksToRetryWhatTheUserCanMendAndEndsOnTheRest) {
    ScriptedMessages messages;
    for (int n : {err::DeviceIO, err::FileNotFound, err::DiskNotReady, err::PermissionDenied}) {
        messages.clear();
        messages.Answer({MsgAnswer::Ok, MsgAnswer::Cancel});
        EXPECT_EQ(HandleStartUpError(Failure(n)), StartUpAction::Retry) << n;
        EXPECT_EQ(HandleStartUpError(Failure(n)), StartUpAction::EndProgram) << n;
        ASSERT_EQ(messages.shown().size(), 2u) << n;
        EXPECT_EQ(messages.last().title, "Data Disk Error");
        EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
        EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    }
    EXPECT_TRUE(messages.last().text.startsWith("Data disk write protected!"));

    // A missing folder is no disk to insert; a full disk cannot be mended by trying again.
    for (int n : {err::PathNotFound, err::DiskFull}) {
        messages.clear();
        messages.Answer(MsgAnswer::Ok);
        EXPECT_EQ(HandleStartUpError(Failure(n)), StartUpAction::EndProgram) << n;
        ASSERT_EQ(messages.shown().size(), 1u) << n;
        EXPECT_EQ(messages.last().text, ErrorText(n, ErrorDescription(n)));
        EXPECT_EQ(messages.last().buttons, MsgButtons::Ok);
    }
    EXPECT_EQ(messages.last().text, "Error 61:Disk full");
}

TEST(DataDiskRetryTest, TheLoopRunsTheStepAgainUntilItWorksOrTheUserGivesUp) {
    ScriptedMessages messages;
    int runs = 0;
    messages.Answer({MsgAnswer::Ok, MsgAnswer::Ok});
    EXPECT_TRUE(RunWithRetry([&] {
        if (++runs < 3)
            throw Failure(err::DiskNotReady);
    }));
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(messages.texts(),
              QStringList(2, "Data disk not found!\n\nInsert data disk in drive A to continue."));

    // Cancel gives up at once; a failure no retry can mend is said once, with OK alone.
    for (int n : {err::DiskNotReady, err::DiskFull}) {
        messages.clear();
        runs = 0;
        EXPECT_FALSE(RunWithRetry([&] {
            ++runs;
            throw Failure(n);
        }));
        EXPECT_EQ(runs, 1) << n;
        EXPECT_EQ(messages.shown().size(), 1u) << n;
    }
    EXPECT_EQ(messages.last().text, "Error 61:Disk full");
    EXPECT_EQ(messages.last().buttons, MsgButtons::Ok);
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);

    // A caller may leave the loop by throwing from its decision: the error goes on as it was.
    try {
        RetryDataDiskStep([] { throw Failure(err::DeviceIO); },
                          [](const VError&) -> RetryDecision { throw; });
        ADD_FAILURE() << "the error was swallowed";
    } catch (const VError& e) {
        EXPECT_EQ(e.number(), err::DeviceIO);
    }
}

} // namespace

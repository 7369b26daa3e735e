// The hidden "Non-Deviant" command: the lowest-risk answers stored as the client's and written.
#include "administration/NonDeviant.h"

#include "administration/TestSpec.h"
#include "app/Globals.h"
#include "store/ClientStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::administration;
using namespace varenta::testing;

namespace {

TEST(NonDeviant, StoresTheLowestRiskAnswersOnTheDisk) {
    TempDir disk;
    WriteDataDisk(disk.path(), {SampleClient(1), SampleClient(2)});
    UseDataDisk(disk.path());
    Globals().EditMode = true;
    Globals().CurrentClient = 1;
    RunNonDeviant();
    LoadClients();
    EXPECT_EQ(Globals().Clients[1].Responses, NonDeviantResponses());
    EXPECT_EQ(Globals().Clients[2], SampleClient(2));
}

} // namespace

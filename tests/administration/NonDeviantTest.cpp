// The hidden "Non-Deviant" command: the lowest-risk answers stored as the client's and written.
#include "administration/NonDeviant.h"

#include "administration/TestSpec.h"
#include "app/Globals.h"
#include "store/ClientStore.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::administration;
using namespace varenta::testing;

namespace {

using NonDeviant = OnDataDisk;

TEST_F(NonDeviant, StoresTheLowestRiskAnswersOnTheDisk) {
    LoadDisk(2);
    Globals().EditMode = true;
    Globals().CurrentClient = 1;
    RunNonDeviant();
    LoadClients();
    EXPECT_EQ(Globals().Clients[1].Responses, NonDeviantResponses());
    EXPECT_EQ(Globals().Clients[2], SampleClient(2));
}

} // namespace

// The demonstration clients of a demo data disk.
#include "administration/DemoClients.h"

#include "administration/TestSpec.h"
#include "app/Globals.h"
#include "store/ClientStore.h"
#include "support/AuditCheck.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::administration;
using namespace varenta::testing;

namespace {

using DemoClients = OnDataDisk;

// How many answers differ from the lowest-risk ones.
int Leaning(const ClientRecord& r) {
    const QString lowRisk = NonDeviantResponses();
    int n = 0;
    for (int i = 0; i < ResponseCount; ++i)
        n += r.Responses[i] != lowRisk[i];
    return n;
}

// Eight asked for: the six, then the first two again; complete, stored, recorded, and the same
// bytes on every disk.
TEST_F(DemoClients, CompleteClientsStoredAndTheSameOnEveryDisk) {
    LoadDisk(0);
    ASSERT_EQ(AddDemoClients(8), 8);
    EXPECT_EQ(Globals().ClientCount, 8);
    EXPECT_EQ(Globals().CurrentClient, 1);
    const auto written = Globals().Clients;
    LoadClients();
    EXPECT_TRUE(Globals().Clients == written);
    EXPECT_EQ(data().size(), 8 * 195);

    QSet<QString> names;
    for (int n = 1; n <= 8; ++n) {
        const ClientRecord& r = Globals().Clients[size_t(n)];
        names << r.ClientName.trimmed();
        ASSERT_EQ(r.Responses.size(), ResponseCount) << n;
        for (int item = 1; item <= ResponseCount; ++item)
            EXPECT_TRUE(InRange(r.Responses[item - 1].digitValue(), 1, item <= 63 ? 2 : 4))
                << "client " << n << " item " << item;
        EXPECT_EQ(r.EditCount + r.NameDeleted + r.Reserved, "000") << n;
        EXPECT_TRUE(r.TestDate.endsWith("/2026")) << n;
    }
    EXPECT_EQ(names.size(), 6);
    EXPECT_EQ(Globals().Clients[7].ClientName, Globals().Clients[1].ClientName);
    EXPECT_EQ(Globals().Clients[6].Age1stArrest + Globals().Clients[6].DrugArrests, "N N ");
    // Each leans from the lowest-risk answers as far as it was made to.
    EXPECT_LT(Leaning(Globals().Clients[6]), Leaning(Globals().Clients[1]));
    EXPECT_LT(Leaning(Globals().Clients[1]), Leaning(Globals().Clients[3]));
    QStringList added;
    for (int n = 1; n <= 8; ++n)
        added << QStringLiteral("added-test-client %1").arg(n);
    EXPECT_EQ(AuditEvents(disk.path()), added);

    const QByteArray first = data();
    TempDir other;
    WriteDataDisk(other.path(), {});
    UseDataDisk(other.path());
    ASSERT_EQ(AddDemoClients(8), 8);
    EXPECT_EQ(ReadFile(Globals().DataFilePath), first);
}

TEST_F(DemoClients, NeverPastTheLastSlotNorOverAStoredClient) {
    LoadDisk(MaxClients - 3);
    Globals().CurrentClient = 5;
    const QByteArray before = data();
    EXPECT_EQ(AddDemoClients(6), 3);
    EXPECT_EQ(Globals().ClientCount, MaxClients);
    EXPECT_EQ(Globals().CurrentClient, 5);
    EXPECT_EQ(data().size(), MaxClients * 195);
    EXPECT_EQ(data().left(before.size()), before);
    EXPECT_EQ(AddDemoClients(1), 0);
    EXPECT_EQ(data().size(), MaxClients * 195);
}

} // namespace

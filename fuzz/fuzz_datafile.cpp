// The client data file DATA401.QV, as a data disk brings it: loaded, listed, every record
// kept byte for byte, reports written for some of them, and a record written back.
#include "FuzzSupport.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "store/ClientStore.h"

using namespace varenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp({});
    const QByteArray input = fuzz::Bytes(data, size);
    GlobalState& g = Globals();
    fuzz::Put(g.DataFilePath, input);
    try {
        LoadClients();
    } catch (const VError&) {
        return 0;
    }
    for (int n = 1; n <= g.ClientCount; ++n) {
        (void)ClientListLine(n);
        const QByteArray stored = input.mid((n - 1) * RecordLength, RecordLength);
        if (!g.Clients[size_t(n)].ToBytes().startsWith(stored))
            fuzz::Broken("a record does not keep its bytes", QString::number(n));
    }
    // Reports of the first clients and the last: the records differ only in their values.
    for (int n : {1, 2, int(g.ClientCount)}) {
        if (n < 1 || n > g.ClientCount)
            continue;
        g.CurrentClient = qint16(n);
        fuzz::ScoreAndView();
    }
    // A record written back reads back the same; with no client, one is added.
    const int slot = 1;
    ClientRecord& r = g.Clients[size_t(slot)];
    r.ClientName = Fit(QStringLiteral("Changed"), width::ClientName);
    if (g.ClientCount == 0)
        r = fuzz::VariedClients().front();
    const ClientRecord written = r;
    try {
        SaveClient(slot);
        LoadClients();
    } catch (const VError&) {
        return 0;
    }
    if (!(g.Clients[size_t(slot)].ToBytes() == written.ToBytes()))
        fuzz::Broken("a record written back reads back otherwise");
    return 0;
}

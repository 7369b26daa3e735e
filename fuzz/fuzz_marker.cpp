// The marker file TID of a data disk: the disk is accepted exactly when its first line says
// QV, and an accepted disk passes the check every write makes.
#include "FuzzSupport.h"

#include "app/DataDrive.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "store/ClientStore.h"

using namespace varenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto clients = fuzz::VariedClients();
    clients.resize(2);
    fuzz::SetUp(clients);
    const QByteArray input = fuzz::Bytes(data, size);
    fuzz::Put(fuzz::DiskDir() + QStringLiteral("/TID"), input);
    bool accepted = false;
    try {
        accepted = OpenDataDrive(fuzz::DiskDir());
    } catch (const VError&) {
        return 0;
    }
    const bool marked = MarkerFirstLine(input.left(4096)).trimmed() == QStringLiteral("QV");
    if (accepted != marked)
        fuzz::Broken("the disk was accepted against its marker");
    if (Globals().ClientCount != 2)
        fuzz::Broken("the clients were not loaded");
    try {
        CheckDataDisk();
        if (!marked)
            fuzz::Broken("a disk without the marker passed the write check");
    } catch (const VError&) {
        if (marked)
            fuzz::Broken("an accepted disk failed the write check");
    }
    return 0;
}

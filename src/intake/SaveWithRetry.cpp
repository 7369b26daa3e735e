#include "intake/SaveWithRetry.h"

#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"

#include <QFile>
#include <QFileInfo>

namespace varenta {

SaveFailureMessage DescribeSaveFailure(const VError& e) {
    const int n = e.number();
    if (IsDiskMissingError(n))
        return {QStringLiteral("Data Disk Error"),
                MsgLines({QStringLiteral("Data disk not found!"), QString(),
                          QStringLiteral("Insert data disk in drive A to continue.")}),
                true};
    if (IsWriteProtectedError(n))
        return {QStringLiteral("Data Disk Error"),
                MsgLines({QStringLiteral("Data disk write protected!"), QString(),
                          QStringLiteral("Set the data disk to writable and replace in drive.")}),
                true};
    return {QString(), QStringLiteral("Error %1:%2").arg(n).arg(e.description()), false};
}

bool SaveClientWithRetry(int slot) {
    const GlobalState& g = Globals();
    const bool newRecord = slot == g.ClientCount + 1;
    const qint64 storedLength = qint64(g.ClientCount) * RecordLength;
    const QFileInfo before(g.DataFilePath);
    const qint64 lengthBefore = before.exists() ? before.size() : 0;
    for (;;) {
        try {
            SaveClient(slot);
            return true;
        } catch (const VError& e) {
            const SaveFailureMessage m = DescribeSaveFailure(e);
            const MsgAnswer a =
                m.retryable ? MsgBox(m.text, MsgButtons::OkCancel, MsgIcon::Critical, m.title)
                            : MsgBox(m.text, MsgButtons::Ok, MsgIcon::Critical);
            if (m.retryable && a == MsgAnswer::Ok)
                continue;
            // A new record cut short (a full disk) must not read back as a client later.
            // Only our own bytes are cut: the file ended within the stored records before.
            if (newRecord && lengthBefore <= storedLength &&
                QFileInfo(g.DataFilePath).size() > lengthBefore)
                QFile::resize(g.DataFilePath, lengthBefore);
            return false;
        }
    }
}

} // namespace varenta

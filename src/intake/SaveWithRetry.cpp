#include "intake/SaveWithRetry.h"

#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"

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
            return false;
        }
    }
}

} // namespace varenta

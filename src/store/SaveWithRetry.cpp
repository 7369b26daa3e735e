#include "store/SaveWithRetry.h"

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

bool AskDataDiskRetry(const VError& e) {
    const SaveFailureMessage m = DescribeSaveFailure(e);
    if (!m.retryable) {
        MsgBox(m.text, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    return MsgBox(m.text, MsgButtons::OkCancel, MsgIcon::Critical, m.title) == MsgAnswer::Ok;
}

bool RunWithRetry(const std::function<void()>& step) {
    for (;;) {
        try {
            step();
            return true;
        } catch (const VError& e) {
            if (!AskDataDiskRetry(e))
                return false;
        }
    }
}

bool SaveClientWithRetry(int slot) {
    return RunWithRetry([slot] { SaveClient(slot); });
}

void ShowDiskFull() {
    MsgBox(MsgLines({QStringLiteral("This data disk is full: it holds %1 clients, the most a data "
                                    "disk can hold.")
                         .arg(MaxClients),
                     QString(),
                     QStringLiteral("To add more clients, prepare a new data disk and use it: "
                                    "Options, Select Data Drive, Prepare New Data Disk...")}),
           MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Data Disk Full"));
}

} // namespace varenta

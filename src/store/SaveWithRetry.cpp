#include "store/SaveWithRetry.h"

#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"

#include <QDir>

namespace varenta {

QString DeviceErrorText(const VError& e) {
    QStringList lines{QStringLiteral("Data disk error!"), QString()};
    if (e.path().isEmpty())
        lines << QStringLiteral("The data disk reported a device error.");
    else
        lines << QStringLiteral("The data disk reported a device error while %1 %2.")
                     .arg(e.action(), QDir::toNativeSeparators(e.path()));
    lines << QStringLiteral("It may be damaged, or it was taken out while in use.") << QString()
          << QStringLiteral("Check the disk, then choose OK to try again, or Cancel to stop.");
    return MsgLines(lines);
}

SaveFailureMessage DescribeSaveFailure(const VError& e) {
    const int n = e.number();
    if (IsDeviceError(n))
        return {QStringLiteral("Data Disk Error"), DeviceErrorText(e), true};
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
    return {QString(), ErrorText(e), false};
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
    bool writeBegan = false;
    if (RunWithRetry([&] { SaveClient(slot, &writeBegan); }))
        return true;
    if (!writeBegan)
        return false; // nothing reached the disk: it holds the record as before
    switch (ReadBackRecord(slot)) {
    case RecordOnDisk::Stored:
        MsgBox(QStringLiteral("Client %1 was stored after all: reading the data disk back shows "
                              "the record as it was to be saved.")
                   .arg(slot),
               MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Data Disk"));
        return true;
    case RecordOnDisk::Partial:
        MsgBox(QStringLiteral("Client %1 was not stored. Part of the record is on the data disk "
                              "and could not be taken back, so the disk lists an incomplete "
                              "client %1 for now. Save again once the disk works: the record "
                              "is then written whole.")
                   .arg(slot),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Data Disk Error"));
        return false;
    case RecordOnDisk::Unknown:
        MsgBox(QStringLiteral("The data disk could not be read back after the error, so it is "
                              "not known whether client %1 was stored. Once the disk works, "
                              "choose it again (Options, Select Data Drive) and look at client "
                              "%1.")
                   .arg(slot),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Data Disk Error"));
        return false;
    case RecordOnDisk::Old:
        break;
    }
    return false;
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

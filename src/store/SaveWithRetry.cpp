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

QString DataDiskRetryText(const VError& e) {
    const int n = e.number();
    // A device error counts among the missing-disk numbers too; it is said as it is.
    if (IsDeviceError(n))
        return DeviceErrorText(e);
    if (IsDiskMissingError(n))
        return MsgLines({QStringLiteral("Data disk not found!"), QString(),
                         QStringLiteral("Insert data disk in drive A to continue.")});
    if (IsWriteProtectedError(n))
        return MsgLines({QStringLiteral("Data disk write protected!"), QString(),
                         QStringLiteral("Set the data disk to writable and replace in drive.")});
    return QString();
}

bool AskDiskRetry(const QString& text) {
    return MsgBox(text, MsgButtons::OkCancel, MsgIcon::Critical,
                  QStringLiteral("Data Disk Error")) == MsgAnswer::Ok;
}

bool AskDataDiskRetry(const VError& e) {
    const QString text = DataDiskRetryText(e);
    if (text.isEmpty()) {
        MsgBox(ErrorText(e), MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    return AskDiskRetry(text);
}

bool RetryDataDiskStep(const std::function<void()>& step,
                       const std::function<RetryDecision(const VError&)>& decide) {
    for (;;) {
        try {
            step();
            return true;
        } catch (const VError& e) {
            if (decide(e) == RetryDecision::GiveUp)
                return false;
        }
    }
}

bool RunWithRetry(const std::function<void()>& step) {
    return RetryDataDiskStep(step, [](const VError& e) {
        return AskDataDiskRetry(e) ? RetryDecision::Retry : RetryDecision::GiveUp;
    });
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

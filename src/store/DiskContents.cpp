#include "store/DiskContents.h"

#include "app/DataDrive.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "store/ClientStore.h"

#include <QFileInfo>

namespace varenta {

namespace {

QString DataFileOf(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists())
        throw VError(err::PathNotFound,
                     QStringLiteral("The data disk %1 does not exist.").arg(folder));
    if (!info.isDir())
        throw VError(err::PathNotFound,
                     QStringLiteral("%1 is not a data disk: it is not a folder.").arg(folder));
    const QString marker = fileio::FindCaseInsensitive(folder, QString::fromLatin1(MarkerFileName));
    if (!fileio::Exists(marker))
        throw VError(err::FileNotFound,
                     QStringLiteral("%1 is not a data disk: it has no marker file %2.")
                         .arg(folder, QString::fromLatin1(MarkerFileName)));
    // Read as the program reads it when the disk is chosen, so both accept the same disks.
    if (ReadMarkerLine(folder).trimmed() != QLatin1String("QV"))
        throw VError(err::PathFileAccess,
                     QStringLiteral("%1 is not a data disk: its marker file %2 does not say QV.")
                         .arg(folder, QString::fromLatin1(MarkerFileName)));
    const QString data = fileio::FindCaseInsensitive(folder, QString::fromLatin1(DataFileName));
    if (!fileio::Exists(data))
        throw VError(err::FileNotFound,
                     QStringLiteral("%1 is not a data disk: it has no client data file %2.")
                         .arg(folder, QString::fromLatin1(DataFileName)));
    return data;
}

int CountRecords(const QString& folder, const QString& data) {
    const int count = RecordsInLength(QFileInfo(data).size());
    if (count > MaxClients)
        throw VError(err::SubscriptOutOfRange,
                     QStringLiteral("The data disk %1 holds %2 client records, more than the %3 a "
                                    "data disk can hold.")
                         .arg(folder)
                         .arg(count)
                         .arg(MaxClients));
    return count;
}

} // namespace

int CheckDataDiskFolder(const QString& folder) {
    return CountRecords(folder, DataFileOf(folder));
}

std::vector<ClientRecord> ReadClientRecords(const QString& folder) {
    const QString data = DataFileOf(folder);
    const int count = CountRecords(folder, data);
    return RecordsOf(fileio::ReadAt(data, 0, qint64(count) * RecordLength));
}

} // namespace varenta

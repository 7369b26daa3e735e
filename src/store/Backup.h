#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// A backup of a data disk: its files copied into a new dated folder, each flushed to the disk
// and read back from it to compare byte for byte with the original. The backup folder is
// itself a data disk, so choosing it as the data disk restores it.
namespace varenta {

struct BackupResult {
    QString folder;    // the new backup folder
    int clients = 0;   // client records copied
    QStringList files; // the files copied, by name
};

// The name of the backup folder of `disk` made at `when`: the disk folder's name, the date
// and the time ("demo-disk-2026-03-14-092653").
QString BackupFolderName(const QString& disk, const QDateTime& when);

// Copies the marker, the client data file, the comments and the audit trail of the data disk
// `disk` into a new folder inside `into` (which must exist), readable by its owner only, and
// records the backup in the disk's audit trail. Never writes into an existing folder. Throws
// VError with a sentence a user can act on; a failed backup leaves no folder behind and the
// data disk is never changed.
BackupResult BackUpDataDisk(const QString& disk, const QString& into,
                            const QDateTime& when = QDateTime::currentDateTime());

} // namespace varenta

#include "store/Backup.h"

#include "app/DataDrive.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "store/AuditTrail.h"
#include "store/ClientStore.h"
#include "store/Comments.h"
#include "store/DiskContents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varenta {

namespace {

// Every file of a data disk that holds client data or its history; the scratch file of the
// write test is not one of them.
QStringList DiskFiles() {
    return {QString::fromLatin1(MarkerFileName), QString::fromLatin1(DataFileName),
            QString::fromLatin1(CommentsFileName), QString::fromLatin1(audit::AuditFileName)};
}

void SyncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    const int e = errno;
    ::close(fd);
    if (!ok)
        throw ErrorFromErrno(e, folder, QStringLiteral("flushing"));
}

void MakeFolder(const QString& folder) {
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) == 0)
        return;
    if (errno == EEXIST)
        throw VError(err::PathFileAccess,
                     QStringLiteral("The folder %1 already exists, and a backup is never written "
                                    "over an existing folder. Nothing was copied.")
                         .arg(folder));
    throw ErrorFromErrno(errno, folder, QStringLiteral("creating"));
}

} // namespace

QString BackupFolderName(const QString& disk, const QDateTime& when) {
    QString name = QFileInfo(QDir::cleanPath(QFileInfo(disk).absoluteFilePath())).fileName();
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_') &&
            c != QLatin1Char('.'))
            c = QLatin1Char('_');
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name.prepend(QStringLiteral("data-disk"));
    return name + QLatin1Char('-') + when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
}

BackupResult BackUpDataDisk(const QString& disk, const QString& into, const QDateTime& when) {
    BackupResult result;
    result.clients = CheckDataDiskFolder(disk);
    if (!fileio::IsDirectory(into))
        throw VError(err::PathNotFound,
                     QStringLiteral("The folder %1 to hold the backup does not exist.").arg(into));
    result.folder = fileio::Join(into, BackupFolderName(disk, when));
    MakeFolder(result.folder);
    try {
        for (const QString& name : DiskFiles()) {
            const QString source = fileio::FindCaseInsensitive(disk, name);
            if (!fileio::Exists(source))
                continue; // a disk without comments or without a trail yet
            const QByteArray original = fileio::ReadAll(source);
            const QString copy = fileio::Join(result.folder, QFileInfo(source).fileName());
            fileio::ReplaceAtomically(copy, original, 0600);
            // Read as the drive holds it, past the cache, one byte more than was written.
            if (fileio::ReadAt(copy, 0, original.size() + 1, true) != original)
                throw VError(err::DeviceIO,
                             QStringLiteral("The copy of %1 read back from %2 differs from the "
                                            "original: the backup drive may be faulty.")
                                 .arg(QFileInfo(source).fileName(), into));
            if (fileio::ReadAll(source) != original)
                throw VError(err::PathFileAccess,
                             QStringLiteral("%1 changed while it was being copied. Try the "
                                            "backup again.")
                                 .arg(source));
            result.files << QFileInfo(source).fileName();
        }
        SyncFolder(into);
        if (CheckDataDiskFolder(result.folder) != result.clients)
            throw VError(err::DeviceIO,
                         QStringLiteral("The backup in %1 does not hold the %2 client records of "
                                        "the data disk.")
                             .arg(result.folder)
                             .arg(result.clients));
    } catch (const VError& e) {
        // Only what this backup made is removed: the folder did not exist before.
        if (!QDir(result.folder).removeRecursively())
            throw VError(e.number(),
                         e.description() + QStringLiteral(" The unfinished backup folder %1 could "
                                                          "not be removed; delete it by hand.")
                                               .arg(result.folder));
        throw;
    } catch (...) {
        QDir(result.folder).removeRecursively();
        throw;
    }
    audit::RecordDisk(audit::Event::Backup, result.clients, disk);
    return result;
}

} // namespace varenta

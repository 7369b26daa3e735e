#include "app/Errors.h"

#include <cerrno>
#include <cstring>

namespace varenta {

VError::VError(int number, const QString& description)
    : std::runtime_error(QStringLiteral("Error %1: %2").arg(number).arg(description).toStdString()),
      number_(number), description_(description) {}

QString ErrorDescription(int number) {
    switch (number) {
    case err::Overflow:
        return QStringLiteral("Overflow");
    case err::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case err::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case err::BadFileName:
        return QStringLiteral("Bad file name or number");
    case err::FileNotFound:
        return QStringLiteral("File not found");
    case err::DeviceIO:
        return QStringLiteral("Device I/O error");
    case err::DiskFull:
        return QStringLiteral("Disk full");
    case err::InputPastEnd:
        return QStringLiteral("Input past end of file");
    case err::PermissionDenied:
        return QStringLiteral("Permission denied");
    case err::DiskNotReady:
        return QStringLiteral("Disk not ready");
    case err::PathFileAccess:
        return QStringLiteral("Path/File access error");
    case err::PathNotFound:
        return QStringLiteral("Path not found");
    case err::DbCannotFindFile:
        return QStringLiteral("Could not find file");
    case err::DbInvalidPath:
        return QStringLiteral("Not a valid path");
    case err::DbCannotOpen:
        return QStringLiteral("Could not open file");
    default:
        return QStringLiteral("Unexpected error");
    }
}

QString ErrorText(int number, const QString& description) {
    return QStringLiteral("Error %1:%2").arg(number).arg(description);
}

VError ErrorFromErrno(int e, const QString& path, const QString& action) {
    int number;
    switch (e) {
    case ENOENT:
        number = err::FileNotFound;
        break;
    case ENOTDIR:
        number = err::PathNotFound;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        number = err::PermissionDenied;
        break;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        number = err::DiskFull;
        break;
    case EIO:
        number = err::DeviceIO;
        break;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
    case ESTALE:
    case ENOTCONN:
        number = err::DiskNotReady;
        break;
    case ENAMETOOLONG:
    case EINVAL:
    case EBADF:
    case EISDIR:
        number = err::BadFileName;
        break;
    default:
        number = err::PathFileAccess;
        break;
    }
    const QString sys = QString::fromLocal8Bit(strerror(e));
    VError error(number,
                 QStringLiteral("%1 (%2 %3: %4)").arg(ErrorDescription(number), action, path, sys));
    error.WithPath(path, action);
    return error;
}

bool IsDiskMissingError(int n) {
    switch (n) {
    case err::BadFileName:
    case err::FileNotFound:
    case err::DeviceIO:
    case err::DiskNotReady:
    case err::PathNotFound:
    case err::DbCannotFindFile:
    case err::DbInvalidPath:
    case err::DbCannotOpen:
        return true;
    default:
        return false;
    }
}

} // namespace varenta

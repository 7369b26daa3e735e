#pragma once

#include <QString>
#include <stdexcept>

namespace varenta {

// Error numbers as the windows' handlers classify them.
namespace err {
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIO = 57;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int PermissionDenied = 70;
inline constexpr int DiskNotReady = 71;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int DbCannotFindFile = 3024;
inline constexpr int DbInvalidPath = 3044;
inline constexpr int DbCannotOpen = 3051;
} // namespace err

// An error with its number and a description a user can act on. Plain code throws it; every
// window catches it where the user's action began and shows what its handler decides.
class VError : public std::runtime_error {
public:
    VError(int number, const QString& description);

    int number() const { return number_; }
    const QString& description() const { return description_; }
    // The file the operating system failed on, and what was being done to it ("writing"),
    // when the error came from it.
    const QString& path() const { return path_; }
    const QString& action() const { return action_; }

    VError& WithPath(const QString& path, const QString& action) {
        path_ = path;
        action_ = action;
        return *this;
    }

private:
    int number_;
    QString description_;
    QString path_;
    QString action_;
};

// The standard description of an error number, as a message box shows it.
QString ErrorDescription(int number);

// What a handler shows for an error it does not classify further: "Error 61:Disk full".
QString ErrorText(int number, const QString& description);
inline QString ErrorText(const VError& e) {
    return ErrorText(e.number(), e.description());
}

// Maps an operating-system error (errno) met on `path` to the number the handlers classify,
// with a description naming the file.
VError ErrorFromErrno(int errnoValue, const QString& path, const QString& action);

// The messages of the data-disk errors (drive missing, write protected) share their wording.
bool IsDiskMissingError(int number);
// A disk that is there but fails to read or write (a damaged stick, one pulled mid-write).
inline bool IsDeviceError(int number) {
    return number == err::DeviceIO;
}
inline bool IsWriteProtectedError(int number) {
    return number == err::PermissionDenied;
}

} // namespace varenta

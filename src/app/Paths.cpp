#include "app/Paths.h"

#include "app/BuildConfig.h"
#include "app/Config.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varenta::paths {

namespace {

// A settings file is a few hundred bytes; anything far larger is not one.
constexpr qint64 MaxSettingsFileSize = 64 * 1024;

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

QString SystemText(int e) {
    return QString::fromLocal8Bit(std::strerror(e));
}

QString HomeFolder() {
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty())
        return home;
    // Started without HOME (cron, a service): the password database knows it.
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && *pw->pw_dir)
        return QFile::decodeName(pw->pw_dir);
    return QDir::rootPath();
}

// An XDG base folder: the variable when it holds an absolute path (a relative one must be
// ignored), else its default below the home folder.
QString XdgFolder(const char* variable, const char* belowHome) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(HomeFolder() + QLatin1Char('/') + QLatin1String(belowHome));
}

// A folder of this user's that nobody else may enter or change.
bool IsOwnPrivateFolder(const QString& folder) {
    struct stat st {};
    return ::lstat(Native(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

[[noreturn]] void FolderFailure(const QString& folder, const QString& why) {
    throw VError(err::PathFileAccess,
                 QStringLiteral("The folder %1 cannot be used: %2.").arg(folder, why));
}

// Missing parents are made as the XDG rules ask, for this user only; existing ones are left
// as they are.
void MakeParents(const QString& folder) {
    const QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path;
    for (int i = 0; i + 1 < parts.size(); ++i) {
        path += QLatin1Char('/') + parts[i];
        if (::mkdir(Native(path).constData(), 0700) != 0 && errno != EEXIST)
            FolderFailure(folder,
                          QStringLiteral("%1 cannot be made (%2)").arg(path, SystemText(errno)));
    }
}

// The site default, refused when it cannot be a settings file: the user then starts from the
// built-in settings rather than from whatever the file holds.
QByteArray ReadSiteDefault(const QString& site) {
    struct stat st {};
    if (::stat(Native(site).constData(), &st) != 0)
        throw VError(err::PathFileAccess, SystemText(errno));
    if (!S_ISREG(st.st_mode))
        throw VError(err::PathFileAccess, QStringLiteral("it is not a file"));
    if (st.st_size > MaxSettingsFileSize)
        throw VError(err::PathFileAccess,
                     QStringLiteral("it is %1 bytes long, far more than a settings file")
                         .arg(qint64(st.st_size)));
    const QByteArray bytes = fileio::ReadAll(site);
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\r' && c != '\n') || u == 0x7f)
            throw VError(err::PathFileAccess, QStringLiteral("it holds binary data, not text"));
    }
    return bytes;
}

QString NotKeptAdvice() {
    return QStringLiteral("Varenta starts, but it cannot remember your data disk or your options "
                          "until this is put right. Ask IT for help.");
}

} // namespace

QString InstalledDataDir(const QString& exeDir) {
    if (exeDir.isEmpty())
        return QString();
    // The executables in bin/, or a helper program in libexec/varenta.
    for (const char* relative : {build::InstalledDataFromBin, build::InstalledDataFromHelpers}) {
        const QString dir = QDir::cleanPath(exeDir + QLatin1Char('/') + QLatin1String(relative));
        if (QFileInfo::exists(dir + QLatin1Char('/') + QLatin1String(InstalledMarkerName)))
            return dir;
    }
    return QString();
}

void UseLayout(const QString& exeDir, const QString& programDir) {
    if (!programDir.isEmpty())
        return UsePortable(programDir);
    const QString data = InstalledDataDir(exeDir);
    if (data.isEmpty())
        UsePortable(exeDir);
    else
        UseInstalled(data);
}

void UsePortable(const QString& programDir) {
    GlobalState& g = Globals();
    g.ProgramDir = fileio::WithoutTrailingSlash(programDir);
    g.UserSettingsDir.clear();
    g.UserReportDir.clear();
}

void UseInstalled(const QString& dataDir) {
    GlobalState& g = Globals();
    g.ProgramDir = fileio::WithoutTrailingSlash(dataDir);
    g.UserSettingsDir = XdgFolder("XDG_CONFIG_HOME", ".config") + QStringLiteral("/varenta");
    g.UserReportDir = PrivateRuntimeFolder();
}

bool Installed() {
    return !Globals().UserSettingsDir.isEmpty();
}

QString ShippedFolder() {
    return Globals().ProgramDir;
}

QString ShippedFile(const QString& name) {
    return fileio::FindCaseInsensitive(ShippedFolder(), name);
}

QString SettingsFile() {
    const GlobalState& g = Globals();
    if (g.UserSettingsDir.isEmpty())
        return fileio::FindCaseInsensitive(g.ProgramDir, QString::fromLatin1(IniFileName));
    return fileio::Join(g.UserSettingsDir, QString::fromLatin1(IniFileName));
}

QString ReportFolder() {
    const GlobalState& g = Globals();
    if (g.UserReportDir.isEmpty())
        return g.ProgramDir;
    try {
        EnsurePrivateFolder(g.UserReportDir);
    } catch (const VError& e) {
        throw VError(e.number(),
                     e.description() +
                         QStringLiteral(" Varenta keeps the reports you view and print there, "
                                        "for you alone. Ask IT to remove that folder; Varenta "
                                        "makes it again."));
    }
    return g.UserReportDir;
}

QString SiteSettingsFile() {
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (!QDir::isAbsolutePath(dir))
            continue;
        const QString file =
            QDir::cleanPath(dir) + QStringLiteral("/varenta/") + QString::fromLatin1(IniFileName);
        if (QFileInfo::exists(file))
            return file;
    }
    return QString();
}

QString PrepareUserSettings() {
    if (!Installed())
        return QString();
    GlobalState& g = Globals();
    try {
        EnsurePrivateFolder(g.UserSettingsDir);
    } catch (const VError& e) {
        g.SettingsProblemShown = true;
        return MsgLines({QStringLiteral("Your Varenta settings folder cannot be used."),
                         e.description(), QString(), NotKeptAdvice()});
    }
    const QString file = SettingsFile();
    struct stat st {};
    if (::lstat(Native(file).constData(), &st) == 0) {
        try {
            if (!S_ISREG(st.st_mode))
                throw VError(err::PathFileAccess, QStringLiteral("%1 is not a file").arg(file));
            fileio::ReadAll(file);
        } catch (const VError& e) {
            g.SettingsProblemShown = true;
            return MsgLines(
                {QStringLiteral("Your Varenta settings file %1 cannot be read.").arg(file),
                 e.description(), QString(), NotKeptAdvice()});
        }
        return QString();
    }

    const QString site = SiteSettingsFile();
    if (site.isEmpty())
        return QString();
    QByteArray defaults;
    try {
        defaults = ReadSiteDefault(site);
    } catch (const VError& e) {
        return MsgLines(
            {QStringLiteral("The site settings file %1 cannot be used: %2.")
                 .arg(site, e.description()),
             QString(),
             QStringLiteral("Varenta starts with its built-in settings. Ask IT to repair or "
                            "remove that file.")});
    }
    try {
        fileio::ReplaceAtomically(file, defaults, 0600);
    } catch (const VError& e) {
        g.SettingsProblemShown = true;
        return MsgLines({QStringLiteral("Your Varenta settings file %1 cannot be made.").arg(file),
                         e.description(), QString(), NotKeptAdvice()});
    }
    return QString();
}

QString SettingsNotSavedText(const VError& e) {
    const QString file = SettingsFile();
    if (Installed())
        return MsgLines(
            {QStringLiteral("This data disk is in use, but Varenta cannot remember it for your "
                            "next start: your settings file %1 cannot be written.")
                 .arg(file),
             e.description(), QString(),
             QStringLiteral("The folder %1 must belong to you. Ask IT for help.")
                 .arg(Globals().UserSettingsDir)});
    return MsgLines(
        {QStringLiteral("This data disk is in use, but Varenta cannot remember it for the next "
                        "start: the settings file %1 in the program folder cannot be written.")
             .arg(file),
         e.description(), QString(),
         QStringLiteral("Run Varenta from a program folder you may write to, or ask IT to "
                        "install it for all users.")});
}

QString PrivateRuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && IsOwnPrivateFolder(runtime))
        return QDir::cleanPath(runtime) + QStringLiteral("/varenta");
    // No private runtime folder (a session without one, su, cron): the user's own cache
    // folder, never a shared one such as /tmp where others could take the names first.
    return XdgFolder("XDG_CACHE_HOME", ".cache") + QStringLiteral("/varenta");
}

void EnsurePrivateFolder(const QString& folder) {
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        FolderFailure(folder, QStringLiteral("it is not a full path"));
    MakeParents(folder);
    const QByteArray native = Native(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        FolderFailure(folder, QStringLiteral("it cannot be made (%1)").arg(SystemText(errno)));
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        if (e == ELOOP)
            FolderFailure(folder, QStringLiteral("it is a link, not a folder"));
        if (e == ENOTDIR)
            FolderFailure(folder, QStringLiteral("it is a file, not a folder"));
        FolderFailure(folder, SystemText(e));
    }
    struct stat st {};
    const bool statted = ::fstat(fd, &st) == 0;
    const int statErrno = errno;
    const bool owned = statted && st.st_uid == ::geteuid();
    // Group or others must not see confidential reports: only the owner keeps access.
    const bool tightened = !owned || (st.st_mode & 0777) == 0700 || ::fchmod(fd, 0700) == 0;
    const int chmodErrno = errno;
    ::close(fd);
    if (!statted)
        FolderFailure(folder, SystemText(statErrno));
    if (!owned)
        FolderFailure(folder, QStringLiteral("it belongs to another user"));
    if (!tightened)
        FolderFailure(folder, QStringLiteral("its permissions cannot be made private (%1)")
                                  .arg(SystemText(chmodErrno)));
}

QString HelperProgram(const QString& exeDir, const QString& name) {
    if (!InstalledDataDir(exeDir).isEmpty())
        return QDir::cleanPath(exeDir + QLatin1Char('/') +
                               QLatin1String(build::InstalledHelpersFromBin) + QLatin1Char('/') +
                               name);
    return fileio::Join(exeDir, name);
}

} // namespace varenta::paths

// Where files live: the portable program folder, and an installed program's shipped folder and
// each user's own folders.
#include "app/Paths.h"
#include "app/BuildConfig.h"
#include "app/Config.h"
#include "app/DataDrive.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

QString MakeDir(const QString& path, int mode) {
    QDir().mkpath(path);
    ::chmod(QFile::encodeName(path).constData(), mode_t(mode));
    return path;
}

// An installed tree under a temporary prefix, laid out as `cmake --install` lays it out.
struct Prefix {
    TempDir root;
    QString bin = root.file(QStringLiteral("bin"));
    QString data = QDir::cleanPath(bin + QLatin1Char('/') + build::InstalledDataFromBin);
    QString helpers = QDir::cleanPath(bin + QLatin1Char('/') + build::InstalledHelpersFromBin);

    Prefix() {
        QDir().mkpath(bin);
        QDir().mkpath(data);
        QDir().mkpath(helpers);
    }
    void Mark() { WriteFile(data + QLatin1Char('/') + paths::InstalledMarkerName, "installed\n"); }
};

// A user's own folders, as a desktop session sets them.
class UserFolders : public ::testing::Test {
protected:
    TempDir home;
    QString runtime = MakeDir(home.file(QStringLiteral("run")), 0700);
    ScopedEnv homeEnv{"HOME", home.path()};
    ScopedEnv configEnv{"XDG_CONFIG_HOME", home.file(QStringLiteral("config"))};
    ScopedEnv cacheEnv{"XDG_CACHE_HOME", home.file(QStringLiteral("cache"))};
    ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime};
    ScopedEnv sitesEnv{"XDG_CONFIG_DIRS", home.file(QStringLiteral("site"))};
    QString site = home.file(QStringLiteral("site/varenta/qvtest.ini"));
    QString userIni = home.file(QStringLiteral("config/varenta/qvtest.ini"));
    Prefix prefix;
    ScriptedMessages messages;

    void Install() {
        prefix.Mark();
        paths::UseLayout(prefix.bin);
        ASSERT_TRUE(paths::Installed());
    }
    void SiteDefault(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(site).path());
        WriteFile(site, bytes);
    }
};

} // namespace

TEST(PathsLayout, InstalledOnlyWhereTheInstallationLeftItsMarker) {
    Prefix prefix;
    WriteFile(prefix.data + QStringLiteral("/QVB.TXT"), "tables");

    // Without the marker the executables' folder is a portable program folder.
    paths::UseLayout(prefix.bin);
    EXPECT_FALSE(paths::Installed());
    EXPECT_EQ(paths::ShippedFolder(), prefix.bin);
    EXPECT_EQ(paths::SettingsFile(), prefix.bin + QStringLiteral("/qvtest.ini"));
    EXPECT_EQ(paths::ReportFolder(), prefix.bin);
    EXPECT_EQ(paths::HelperProgram(prefix.bin, QStringLiteral("helper")),
              prefix.bin + QStringLiteral("/helper"));

    prefix.Mark();
    paths::UseLayout(prefix.bin);
    EXPECT_TRUE(paths::Installed());
    EXPECT_EQ(paths::ShippedFolder(), prefix.data);
    EXPECT_EQ(paths::ShippedFile(QStringLiteral("qvb.txt")), prefix.data + "/QVB.TXT");
    EXPECT_EQ(ResolveSndPath(QStringLiteral("c:")), prefix.data); // the spoken waves
    EXPECT_EQ(paths::HelperProgram(prefix.bin, QStringLiteral("helper")),
              prefix.helpers + QStringLiteral("/helper"));
    // A helper program in its own folder finds the same shipped files.
    EXPECT_EQ(paths::InstalledDataDir(prefix.helpers), prefix.data);

    // A program folder named on the command line is portable, installed or not.
    TempDir other;
    paths::UseLayout(prefix.bin, other.path() + QStringLiteral("/"));
    EXPECT_FALSE(paths::Installed());
    EXPECT_EQ(Globals().ProgramDir, other.path());
    EXPECT_EQ(paths::ReportFolder(), other.path());
}

TEST_F(UserFolders, InstalledSettingsAndReportsLieInTheUsersOwnFolders) {
    Install();
    EXPECT_EQ(paths::SettingsFile(), userIni);
    EXPECT_EQ(IniFilePath(), userIni);
    const QString reports = paths::ReportFolder();
    EXPECT_EQ(reports, runtime + QStringLiteral("/varenta"));
    EXPECT_EQ(ModeOf(reports), 0700);

    // A runtime folder others may write (as /tmp) is never used; nor is a relative one.
    for (const QString& shared :
         {MakeDir(home.file(QStringLiteral("shared")), 0777), QStringLiteral("run")}) {
        ScopedEnv unsafe("XDG_RUNTIME_DIR", shared);
        paths::UseLayout(prefix.bin);
        EXPECT_EQ(paths::ReportFolder(), home.file(QStringLiteral("cache/varenta")));
    }
    // Without any XDG variable the folders lie below the home folder.
    ScopedEnv noRuntime("XDG_RUNTIME_DIR", QString());
    ScopedEnv noCache("XDG_CACHE_HOME", QString());
    ScopedEnv relativeConfig("XDG_CONFIG_HOME", QStringLiteral("config"));
    paths::UseLayout(prefix.bin);
    EXPECT_EQ(paths::ReportFolder(), home.file(QStringLiteral(".cache/varenta")));
    EXPECT_EQ(paths::SettingsFile(), home.file(QStringLiteral(".config/varenta/qvtest.ini")));
    EXPECT_EQ(ModeOf(home.file(QStringLiteral(".cache"))), 0700);
}

TEST_F(UserFolders, PrivateFolderIsMadeForTheUserAloneAndNeverThroughALink) {
    const QString loose = MakeDir(home.file(QStringLiteral("loose")), 0755);
    paths::EnsurePrivateFolder(loose);
    EXPECT_EQ(ModeOf(loose), 0700);

    const QString target = MakeDir(home.file(QStringLiteral("target")), 0755);
    const QString link = home.file(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(target, link));
    const QString file = home.file(QStringLiteral("file"));
    WriteFile(file, "x");
    std::vector<std::pair<QString, QString>> refused = {
        {link, QStringLiteral("link")},
        {file, QStringLiteral("not a folder")},
        {file + QStringLiteral("/below"), QStringLiteral("cannot be made")},
        {QStringLiteral("relative"), QStringLiteral("full path")}};
    // Someone else's folder (only root can make one here).
    QString foreign;
    if (::geteuid() == 0) {
        foreign = MakeDir(home.file(QStringLiteral("foreign")), 0755);
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
        refused.push_back({foreign, QStringLiteral("another user")});
    }
    for (const auto& [folder, why] : refused) {
        const VError e = CaughtError([&] { paths::EnsurePrivateFolder(folder); });
        EXPECT_EQ(e.number(), err::PathFileAccess) << folder.toStdString();
        EXPECT_TRUE(e.description().contains(folder)) << e.description().toStdString();
        EXPECT_TRUE(e.description().contains(why)) << e.description().toStdString();
        // Not a data-disk error: no handler may say the data disk is missing or protected.
        EXPECT_FALSE(IsDiskMissingError(e.number()) || IsWriteProtectedError(e.number()));
    }
    EXPECT_EQ(ModeOf(target), 0755);
    if (!foreign.isEmpty()) {
        EXPECT_EQ(ModeOf(foreign), 0755);
    }

    // The report folder says what it is for and what to do.
    Install();
    QDir(runtime).rmdir(QStringLiteral("varenta"));
    ASSERT_TRUE(QFile::link(target, runtime + QStringLiteral("/varenta")));
    const VError e = CaughtError([] { paths::ReportFolder(); });
    EXPECT_TRUE(e.description().contains(QStringLiteral("reports you view and print")));
    EXPECT_TRUE(e.description().contains(QStringLiteral("Ask IT")));
}

TEST_F(UserFolders, FirstStartCopiesTheSiteDefaultAndLaterStartsKeepTheUsersOwn) {
    // The first site folder holding the file counts; relative entries are ignored.
    const QByteArray defaults =
        "[Path]\r\nFilePath=/srv/varenta-disk\r\n[Settings]\r\nNumLock=False\r\n";
    SiteDefault(defaults);
    const QString later = home.file(QStringLiteral("later/varenta/qvtest.ini"));
    QDir().mkpath(QFileInfo(later).path());
    WriteFile(later, "[Path]\r\nFilePath=/elsewhere\r\n");
    ScopedEnv sites("XDG_CONFIG_DIRS",
                    QStringLiteral("relative:") + home.file("site") + ":" + home.file("later"));
    Install();
    EXPECT_EQ(paths::PrepareUserSettings(), QString());
    EXPECT_EQ(ReadFile(userIni), defaults);
    EXPECT_EQ(ModeOf(QFileInfo(userIni).path()), 0700);
    EXPECT_EQ(ReadFilePath(), QStringLiteral("/srv/varenta-disk"));
    EXPECT_FALSE(ReadNumLockSetting());

    WriteFilePath(QStringLiteral("/media/usb"));
    SiteDefault("[Path]\r\nFilePath=/changed\r\n");
    EXPECT_EQ(paths::PrepareUserSettings(), QString());
    EXPECT_EQ(ReadFilePath(), QStringLiteral("/media/usb"));
    EXPECT_EQ(ReadFile(later), "[Path]\r\nFilePath=/elsewhere\r\n");
    EXPECT_TRUE(messages.shown().empty());

    // Portable: nothing of the user's folders is touched.
    QDir(home.file("config")).removeRecursively();
    paths::UsePortable(prefix.bin);
    EXPECT_EQ(paths::PrepareUserSettings(), QString());
    EXPECT_FALSE(QFileInfo::exists(home.file("config")));
}

TEST_F(UserFolders, DamagedSiteDefaultOrUnusableSettingsAreToldPlainly) {
    Install();
    QByteArray huge(100 * 1024, 'x');
    for (const QByteArray& damaged : {QByteArrayLiteral("[Path]\r\nFilePath=\0\x01\x02"), huge}) {
        SiteDefault(damaged);
        const QString text = paths::PrepareUserSettings();
        EXPECT_TRUE(text.contains(site)) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("built-in settings"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Ask IT"))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("data disk"), Qt::CaseInsensitive));
        EXPECT_FALSE(QFileInfo::exists(userIni));
        EXPECT_EQ(ReadFilePath(), QStringLiteral("a:")); // the built-in default
    }
    EXPECT_FALSE(Globals().SettingsProblemShown); // the user's own file can still be written

    // The user's settings folder taken by a file: said once, naming it.
    QDir(home.file("config")).removeRecursively();
    QDir().mkpath(home.file("config"));
    WriteFile(home.file("config/varenta"), "not a folder");
    const QString text = paths::PrepareUserSettings();
    EXPECT_TRUE(text.contains(home.file("config/varenta"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("cannot remember your data disk")));
    EXPECT_TRUE(Globals().SettingsProblemShown);
}

// A data disk that opens but cannot be remembered is in use: the user hears about the
// settings file, once, and never that the data disk is missing or write-protected.
TEST_F(UserFolders, ADiskThatCannotBeRememberedIsAcceptedWithASettingsMessage) {
    const QString disk = home.file(QStringLiteral("disk"));
    WriteDataDisk(disk, SampleClients(2));
    DriveSelectionHooks hooks;
    hooks.startUpCandidate = disk;
    const QString blocker = home.file(QStringLiteral("blocker"));
    WriteFile(blocker, "x");

    Install();
    Globals().UserSettingsDir = blocker + QStringLiteral("/varenta");
    EXPECT_EQ(SelectDataDrive(true, hooks), DriveSelection::Accepted);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, QStringLiteral("Varenta Settings"));
    EXPECT_TRUE(messages.last().text.contains(blocker + QStringLiteral("/varenta/qvtest.ini")));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("Ask IT")));
    EXPECT_EQ(Globals().ClientCount, 2);

    // Said once a run.
    EXPECT_EQ(SelectDataDrive(true, hooks), DriveSelection::Accepted);
    EXPECT_EQ(messages.shown().size(), 1u);

    // Portable: the program folder is the one to name (as the program starts again).
    Globals() = GlobalState();
    messages.clear();
    paths::UsePortable(blocker);
    EXPECT_EQ(SelectDataDrive(true, hooks), DriveSelection::Accepted);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("program folder")));
    EXPECT_FALSE(messages.last().text.contains(QStringLiteral("write protected")));
}

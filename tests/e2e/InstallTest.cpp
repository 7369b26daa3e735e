// The installed program as an office PC runs it: the build installed under a temporary
// prefix made read-only, started by users who each have their own folders.
#include "support/ProcessRun.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

// Every file and folder below `root` with its mode, size and content: what "nothing was
// written" means when the test runs as root, for whom permissions stop no write.
QStringList Snapshot(const QString& root) {
    QStringList lines;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QString line = QDir(root).relativeFilePath(path) + QStringLiteral(" %1").arg(ModeOf(path));
        if (it.fileInfo().isFile()) {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            line += QLatin1Char(' ') +
                    QString::fromLatin1(
                        QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex());
        }
        lines << line;
    }
    lines.sort();
    return lines;
}

void SetWritable(const QString& root, bool writable) {
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList all{root};
    while (it.hasNext())
        all << it.next();
    for (const QString& path : all) {
        const int mode = ModeOf(path);
        ::chmod(QFile::encodeName(path).constData(), mode_t(writable ? mode | 0200 : mode & ~0222));
    }
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ProcessResult r = RunProcess(
            QStringLiteral(VARENTA_CMAKE_COMMAND),
            {"--install", VARENTA_BUILD_DIR, "--prefix", prefix, "--component", "program"},
            QProcessEnvironment::systemEnvironment());
        ASSERT_EQ(r.code, 0) << r.err.constData();
        ASSERT_TRUE(QFileInfo::exists(prefix + QStringLiteral("/share/varenta/QVB.TXT")));
        SetWritable(prefix, false);
        installed = Snapshot(prefix);
        WriteDataDisk(disk1, {SampleClient(1), SampleClient(2)});
        WriteDataDisk(disk2, {SampleClient(7)});
        QDir().mkpath(root.file(QStringLiteral("site/varenta")));
        WriteFile(root.file(QStringLiteral("site/varenta/qvtest.ini")),
                  "[Settings]\r\nNumLock=False\r\n");
    }
    void TearDown() override { SetWritable(prefix, true); }

    // A user's session: their own home, settings and runtime folders, the site's defaults.
    QProcessEnvironment User(const QString& name, bool runtimeFolder = true) {
        QProcessEnvironment env = NoDisplayEnvironment();
        const QString home = root.file(name);
        QDir().mkpath(home);
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), root.file(QStringLiteral("site")));
        env.remove(QStringLiteral("XDG_CACHE_HOME"));
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (runtimeFolder) {
            QDir().mkpath(home + QStringLiteral("/run"));
            ::chmod(QFile::encodeName(home + QStringLiteral("/run")).constData(), 0700);
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
        }
        return env;
    }
    // The program with its windows, offscreen, ended as soon as its main window is ready.
    ProcessResult Varenta(QProcessEnvironment env, const QStringList& args) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VARENTA_TEST_READY"), QStringLiteral("quit"));
        env.insert(QStringLiteral("VARENTA_SPLASH_SCALE"), QStringLiteral("0.01"));
        return RunProcess(prefix + QStringLiteral("/bin/varenta"), args, env);
    }
    ProcessResult Cli(const QProcessEnvironment& env, const QStringList& args) {
        return RunProcess(prefix + QStringLiteral("/bin/varenta-cli"), args, env);
    }
    QString Ini(const QString& user) const {
        return QString::fromLatin1(
            ReadFile(root.file(user + QStringLiteral("/config/varenta/qvtest.ini"))));
    }

    TempDir root;
    QString prefix = root.file(QStringLiteral("prefix"));
    QString disk1 = root.file(QStringLiteral("disk1"));
    QString disk2 = root.file(QStringLiteral("disk2"));
    QStringList installed;
};

} // namespace

TEST_F(InstallTest, EachUserKeepsOwnSettingsAndReportsAndNothingIsWrittenIntoThePrefix) {
    const QProcessEnvironment ann = User(QStringLiteral("ann"));
    const QProcessEnvironment bob = User(QStringLiteral("bob"));

    // The first start: the site default is the start of Ann's settings, and the disk chosen
    // is remembered there for her next start.
    ProcessResult r = Varenta(ann, {"--data-dir", disk1});
    ASSERT_EQ(r.code, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("ready\n1-Client 1")) << r.out.constData();
    EXPECT_TRUE(Ini("ann").contains(QStringLiteral("NumLock=False")));
    EXPECT_TRUE(Ini("ann").contains(QStringLiteral("FilePath=") + disk1))
        << Ini("ann").toStdString();
    EXPECT_EQ(ModeOf(root.file(QStringLiteral("ann/config/varenta"))), 0700);
    r = Varenta(ann, {});
    EXPECT_EQ(r.code, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("ready\n1-Client 1") && r.out.contains("\n2-Client 2"))
        << r.out.constData();

    // Bob on the same PC: his own disk, which changes nothing of Ann's.
    const QString annIni = Ini("ann");
    r = Varenta(bob, {"--data-dir", disk2});
    ASSERT_EQ(r.code, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("ready\n1-Client 7")) << r.out.constData();
    EXPECT_TRUE(Ini("bob").contains(QStringLiteral("FilePath=") + disk2));
    EXPECT_EQ(Ini("ann"), annIni);

    // Reports land in each user's private folder, never beside the program.
    const QString annReport = root.file(QStringLiteral("ann/run/varenta/report.prn"));
    const QString bobReport = root.file(QStringLiteral("bob/run/varenta/report.prn"));
    r = Cli(ann, {"report", "--data-dir", disk1, "--client", "2"});
    ASSERT_EQ(r.code, 0) << r.err.constData();
    EXPECT_EQ(QJsonDocument::fromJson(r.out).object().value("report_file").toString(), annReport);
    const QByteArray annText = ReadFile(annReport);
    EXPECT_TRUE(annText.contains("Client 2"));
    EXPECT_EQ(ModeOf(QFileInfo(annReport).path()), 0700);
    r = Cli(bob, {"report", "--data-dir", disk2, "--client", "1"});
    ASSERT_EQ(r.code, 0) << r.err.constData();
    EXPECT_TRUE(ReadFile(bobReport).contains("Client 7"));
    EXPECT_EQ(ReadFile(annReport), annText);

    // Without a runtime folder: the user's own cache folder.
    const QProcessEnvironment cid = User(QStringLiteral("cid"), false);
    r = Cli(cid, {"report", "--data-dir", disk1, "--client", "1"});
    ASSERT_EQ(r.code, 0) << r.err.constData();
    EXPECT_TRUE(QFileInfo::exists(root.file(QStringLiteral("cid/.cache/varenta/report.prn"))));

    // Printing into a PDF from the installed helper, without a display.
    const QString pdf = root.file(QStringLiteral("ann/client2.pdf"));
    r = Cli(ann, {"print", "--data-dir", disk1, "--client", "2", "--pdf", pdf});
    EXPECT_EQ(r.code, 0) << r.err.constData();
    EXPECT_TRUE(ReadFile(pdf).startsWith("%PDF"));

    EXPECT_EQ(Snapshot(prefix), installed);
}

// A shipped file missing from the installation: the message names it and what to do, and
// says nothing of the data disk.
TEST_F(InstallTest, ShippedFileMissingFromTheInstallationIsNamed) {
    const QString tables = prefix + QStringLiteral("/share/varenta/QVB.TXT");
    SetWritable(prefix, true);
    ASSERT_TRUE(QFile::remove(tables));
    const ProcessResult r =
        Cli(User(QStringLiteral("ann")), {"report", "--data-dir", disk1, "--client", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QFile::encodeName(tables))) << r.err.constData();
    EXPECT_TRUE(r.err.contains("Reinstall")) << r.err.constData();
    EXPECT_FALSE(r.err.contains("data disk")) << r.err.constData();
}

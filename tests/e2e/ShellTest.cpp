// The real program, started as a user would start it, on temporary folders.
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override { WriteDataDisk(disk.path(), SampleClients(3)); }
    void TearDown() override {
        for (QProcess* p : started) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
            delete p;
        }
    }

    // Starts varenta offscreen with its own runtime folder, so that copies started by other
    // tests never meet this one.
    QProcess* Start(const QStringList& args, const QString& ready) {
        auto* p = new QProcess;
        started.push_back(p);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("VARENTA_SPLASH_SCALE"), QStringLiteral("0.01"));
        if (!ready.isEmpty())
            env.insert(QStringLiteral("VARENTA_TEST_READY"), ready);
        p->setProcessEnvironment(env);
        p->start(BuiltProgramDir() + QStringLiteral("/varenta"), args);
        EXPECT_TRUE(p->waitForStarted(10000));
        return p;
    }
    QStringList DiskArgs() const {
        return {QStringLiteral("--program-dir"), program.path(), QStringLiteral("--data-dir"),
                disk.path()};
    }
    static bool WaitForLine(QProcess* p, const QByteArray& line, QByteArray* out, int ms = 20000) {
        QElapsedTimer clock;
        clock.start();
        while (!(*out += p->readAllStandardOutput()).split('\n').contains(line)) {
            if (clock.elapsed() > ms || p->state() == QProcess::NotRunning)
                return false;
            p->waitForReadyRead(100);
        }
        return true;
    }
    QString Ini() const { return program.file(QStringLiteral("qvtest.ini")); }

    TempDir program;
    TempDir disk;
    TempDir runtime;
    std::vector<QProcess*> started;
};

// A second copy only raises the first; once the first is killed without cleaning up, the next
// start lists the disk's clients as usual.
TEST_F(ShellTest, SecondCopyRaisesTheFirstAndACrashedCopyDoesNotBlockTheNextStart) {
    QProcess* first = Start(DiskArgs(), QStringLiteral("print"));
    QByteArray out;
    ASSERT_TRUE(WaitForLine(first, "ready", &out)) << first->readAllStandardError().constData();
    const QByteArray iniBefore = ReadFile(Ini());
    const QDateTime iniTime = QFileInfo(Ini()).lastModified();
    const QStringList diskBefore = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);
    const QStringList programBefore = QDir(program.path()).entryList(QDir::Files | QDir::Hidden);

    // Another program folder on the command line: the second copy must not even look.
    TempDir otherProgram;
    QProcess* second = Start({QStringLiteral("--program-dir"), otherProgram.path()}, QString());
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 0) << second->readAllStandardError().constData();
    EXPECT_TRUE(WaitForLine(first, "raised", &out, 5000));
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(ReadFile(Ini()), iniBefore);
    EXPECT_EQ(QFileInfo(Ini()).lastModified(), iniTime);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), diskBefore);
    EXPECT_EQ(QDir(program.path()).entryList(QDir::Files | QDir::Hidden), programBefore);
    EXPECT_TRUE(QDir(otherProgram.path()).isEmpty());

    first->kill(); // the lock and the socket file stay behind
    first->waitForFinished(5000);
    QProcess* again = Start(DiskArgs(), QStringLiteral("quit"));
    ASSERT_TRUE(again->waitForFinished(20000)) << "the program did not get ready";
    EXPECT_EQ(again->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(again->exitCode(), 0) << again->readAllStandardError().constData();
    const QList<QByteArray> lines = again->readAllStandardOutput().split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QByteArray("ready"));
    EXPECT_EQ(lines[1], QByteArray("1-Client 1                 "));
    EXPECT_TRUE(lines[3].startsWith("3-Client 3"));
    const QString ini = QString::fromLatin1(ReadFile(Ini()));
    EXPECT_TRUE(ini.contains(QStringLiteral("FilePath=") + disk.path())) << qPrintable(ini);
    EXPECT_TRUE(ini.contains(QStringLiteral("SystemDB=")));
}

TEST_F(ShellTest, BadOptionsAreRefusedWithExitCodeTwo) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("--bogus")}, QStringList{QStringLiteral("--data-dir")},
          QStringList{QStringLiteral("--program-dir"), disk.path() + QStringLiteral("/missing")},
          QStringList{QStringLiteral("stray")}}) {
        QProcess* p = Start(args, QString());
        ASSERT_TRUE(p->waitForFinished(10000));
        EXPECT_EQ(p->exitCode(), 2) << qPrintable(args.join(QLatin1Char(' ')));
        const QByteArray err = p->readAllStandardError();
        EXPECT_TRUE(err.contains("varenta: ")) << err.constData();
        EXPECT_TRUE(err.contains("usage: varenta")) << err.constData();
    }
    EXPECT_FALSE(QFileInfo::exists(Ini()));
}

// A run cut off by a crash leaves confidential files behind: print copies, scratch files of
// a report or a comment save. The next start removes them, and only them.
TEST_F(ShellTest, LeftoversOfACrashedRunAreRemovedAtTheNextStart) {
    const QStringList programLeft{"temp3", "temp51", ".report.prn.x1y2z3.tmp", ".temp2.abcdef.tmp",
                                  ".qvtest.ini.new"};
    const QStringList diskLeft{".Comments.dat.new", ".Comments.dat.q9w8e7.tmp", "checkWriteTest"};
    for (const QString& name : programLeft)
        WriteFile(program.file(name), "a client's report");
    for (const QString& name : diskLeft)
        WriteFile(disk.file(name), "every comment");
    WriteFile(program.file("temp-notes.txt"), "not ours");
    QProcess* p = Start(DiskArgs(), QStringLiteral("quit"));
    ASSERT_TRUE(p->waitForFinished(20000)) << "the program did not get ready";
    EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().constData();
    for (const QString& name : programLeft)
        EXPECT_FALSE(QFileInfo::exists(program.file(name))) << qPrintable(name);
    for (const QString& name : diskLeft)
        EXPECT_FALSE(QFileInfo::exists(disk.file(name))) << qPrintable(name);
    EXPECT_TRUE(QFileInfo::exists(program.file("temp-notes.txt")));
}

// A data disk in a folder with a long path is found again at the next start.
TEST_F(ShellTest, ALongDataDiskPathIsFoundAgainAtTheNextStart) {
    const QString longDisk = disk.path() + QStringLiteral("/court staff/USB STICK/screening 2026");
    WriteDataDisk(longDisk, SampleClients(2));
    QProcess* first = Start(
        {QStringLiteral("--program-dir"), program.path(), QStringLiteral("--data-dir"), longDisk},
        QStringLiteral("quit"));
    ASSERT_TRUE(first->waitForFinished(20000));
    EXPECT_EQ(first->exitCode(), 0) << first->readAllStandardError().constData();
    QProcess* next =
        Start({QStringLiteral("--program-dir"), program.path()}, QStringLiteral("quit"));
    ASSERT_TRUE(next->waitForFinished(20000)) << "the stored disk was not found";
    EXPECT_EQ(next->exitCode(), 0) << next->readAllStandardError().constData();
    const QList<QByteArray> lines = next->readAllStandardOutput().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QByteArray("ready"));
    EXPECT_TRUE(lines[2].startsWith("2-Client 2"));
}

} // namespace

#include "store/Backup.h"
#include "app/DataDrive.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "support/AuditCheck.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

const QDateTime kWhen(QDate(2026, 3, 14), QTime(9, 26, 53));

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        source = root.file("Court Disk");
        WriteDataDisk(source, SampleClients(4));
        WriteFile(source + "/Comments.dat", QByteArray(4 * 300, 'c'));
        WriteFile(source + "/Audit.log", "2026-03-01T08:00:00+00:00\tann\tpc\tedited\t1\t-\n");
        WriteFile(source + "/notes.txt", "not part of the disk");
        QDir().mkpath(target.path());
    }
    QStringList Files(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QByteArray Snapshot() const {
        QByteArray all;
        for (const QString& f : Files(source))
            all += f.toUtf8() + ':' + ReadFile(source + '/' + f) + '\n';
        return all;
    }
    static int Error(const QString& disk, const QString& into) {
        return CaughtError([&] { BackUpDataDisk(disk, into, kWhen); }).number();
    }

    TempDir root;
    TempDir target;
    QString source;
    ScriptedMessages messages;
};

TEST_F(BackupTest, CopiesTheDiskIntoADatedFolderThatOpensAsTheSameDisk) {
    const BackupResult r = BackUpDataDisk(source, target.path(), kWhen);
    EXPECT_EQ(r.folder, target.file("Court_Disk-2026-03-14-092653"));
    EXPECT_EQ(r.clients, 4);
    EXPECT_EQ(r.files, (QStringList{"TID", "DATA401.QV", "Comments.dat", "Audit.log"}));
    ASSERT_EQ(Files(r.folder), (QStringList{"Audit.log", "Comments.dat", "DATA401.QV", "TID"}));
    EXPECT_EQ(ModeOf(r.folder), 0700);
    for (const QString& f : Files(r.folder))
        EXPECT_EQ(ModeOf(r.folder + '/' + f), 0600) << f.toStdString();
    // The copy is the disk as it was; the disk's own trail then says it was backed up.
    EXPECT_EQ(ReadFile(r.folder + "/DATA401.QV"), ReadFile(source + "/DATA401.QV"));
    EXPECT_EQ(ReadFile(r.folder + "/Comments.dat"), ReadFile(source + "/Comments.dat"));
    EXPECT_EQ(AuditEvents(r.folder), QStringList{"edited 1"});
    EXPECT_EQ(AuditEvents(source), (QStringList{"edited 1", "backup (4)"}));

    // Restoring is choosing the backup as the data disk: the same client list.
    UseDataDisk(source);
    QStringList list;
    for (int n = 1; n <= Globals().ClientCount; ++n)
        list << ClientListLine(n);
    ASSERT_TRUE(OpenDataDrive(r.folder));
    EXPECT_EQ(Globals().ClientCount, 4);
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(ClientListLine(n), list[n - 1]);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(BackupTest, NeverOverAnExistingFolderAndNeverFromSomethingThatIsNoDataDisk) {
    const QString taken = target.file("Court_Disk-2026-03-14-092653");
    QDir().mkpath(taken);
    WriteFile(taken + "/mine.txt", "keep");
    EXPECT_EQ(Error(source, target.path()), 75);
    EXPECT_EQ(Files(taken), QStringList{"mine.txt"});
    EXPECT_EQ(ReadFile(taken + "/mine.txt"), "keep");

    EXPECT_EQ(Error(source, target.file("missing")), 76);
    EXPECT_EQ(Error(source, source + "/notes.txt"), 76); // a file is no folder to hold it
    EXPECT_EQ(Error(root.file("nowhere"), target.path()), 76);
    TempDir bad;
    WriteFile(bad.file("DATA401.QV"), {});
    EXPECT_EQ(Error(bad.path(), target.path()), 53); // no marker
    WriteFile(bad.file("TID"), "XX\r\n");
    EXPECT_EQ(Error(bad.path(), target.path()), 75); // not ours
    WriteDataDisk(bad.path(), SampleClients(52));
    const VError tooMany = CaughtError([&] { BackUpDataDisk(bad.path(), target.path()); });
    EXPECT_TRUE(tooMany.description().contains(bad.path() + " holds 52 client records"));
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{"Court_Disk-2026-03-14-092653"});
}

TEST_F(BackupTest, AFailingTargetLeavesNoPartialFolderAndTheDiskUntouched) {
    const QByteArray before = Snapshot();
    for (const qint64 after : {0, 600, 4 + 4 * 195 + 10}) {
        SCOPED_TRACE(after);
        fileio::InjectWriteFailure(after, after == 600 ? EIO : ENOSPC);
        const VError e = CaughtError([&] { BackUpDataDisk(source, target.path(), kWhen); });
        fileio::ClearInjectedFailure();
        EXPECT_EQ(e.number(), after == 600 ? 57 : 61);
        EXPECT_TRUE(QDir(target.path()).isEmpty());
        EXPECT_EQ(Snapshot(), before);
    }
    EXPECT_TRUE(messages.shown().empty());
}

} // namespace

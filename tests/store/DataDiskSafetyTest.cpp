// The data disk pulled, replaced, put back or failing between loading and saving: nothing is
// written anywhere but to the disk that was loaded, and every message says what the disk
// really holds.
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "store/DelNames.h"
#include "store/SaveWithRetry.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>

using namespace varenta;
using namespace varenta::testing;

namespace {

const QString NotFound = QStringLiteral("Data disk not found!\n\nInsert data disk in drive A to "
                                        "continue.");

class DataDiskSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        disk = root.file("stick");
        away = root.file("pulled");
        WriteDataDisk(disk, SampleClients(3));
        UseDataDisk(disk);
    }
    QByteArray data() const { return ReadFile(disk + "/DATA401.QV"); }
    QStringList Files(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    // The stick leaves; its mount point stays behind, empty.
    void Pull() {
        ASSERT_TRUE(QDir().rename(disk, away));
        ASSERT_TRUE(QDir().mkpath(disk));
    }
    // Another copy of the same disk is put in its place (a file of a new identity).
    void PutBackAsNewFile() {
        const QByteArray bytes = data();
        ASSERT_TRUE(QFile::remove(disk + "/DATA401.QV"));
        WriteFile(disk + "/DATA401.QV", bytes);
    }
    static ClientRecord Edited(int n) {
        ClientRecord r = SampleClient(n);
        r.ClientName = Fit(QStringLiteral("Edited %1").arg(n), width::ClientName);
        return r;
    }

    TempDir root;
    QString disk;
    QString away;
    ScriptedMessages messages;
};

// Delete Names, an edit of client 1, a new client: each meets "Data disk not found!", and the
// empty mount point gets no client data file.
TEST_F(DataDiskSafetyTest, APulledDiskIsNeverReplacedByANewFileUnderItsMountPoint) {
    const QByteArray before = data();
    Pull();
    Globals().Clients[1] = Edited(1);
    messages.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(SaveClientWithRetry(1));
    Globals().Clients[4] = SampleClient(4);
    messages.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(SaveClientWithRetry(4));
    Globals().Clients[1] = SampleClient(1);
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Cancel, MsgAnswer::Ok});
    DelNames();
    EXPECT_EQ(messages.texts().mid(0, 2), (QStringList{NotFound, NotFound}));
    EXPECT_EQ(messages.texts()[3], NotFound);
    EXPECT_TRUE(messages.last().text.contains("The names of clients 1 to 3 are unchanged."))
        << qPrintable(messages.last().text);
    EXPECT_FALSE(messages.last().text.contains("complete"));
    EXPECT_EQ(Files(disk), QStringList());
    EXPECT_EQ(ReadFile(away + "/DATA401.QV"), before);
    EXPECT_EQ(Globals().Clients[1].NameDeleted, "0");
}

TEST_F(DataDiskSafetyTest, TheFirstClientOfAnEmptyDiskIsNotWrittenOnceTheDiskIsGone) {
    WriteFile(disk + "/DATA401.QV", QByteArray());
    UseDataDisk(disk);
    ASSERT_EQ(Globals().ClientCount, 0);
    Pull();
    Globals().Clients[1] = SampleClient(1);
    messages.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(SaveClientWithRetry(1));
    EXPECT_EQ(messages.texts(), QStringList{NotFound});
    EXPECT_EQ(Files(disk), QStringList());
    // Put back, the same save goes through.
    ASSERT_TRUE(QDir(disk).removeRecursively());
    ASSERT_TRUE(QDir().rename(away, disk));
    EXPECT_TRUE(SaveClientWithRetry(1));
    EXPECT_EQ(data(), SampleClient(1).ToBytes());
}

// Another disk at the same place is not the loaded one, whatever its marker says; the same
// disk put back (a new mount numbers its files anew) is.
TEST_F(DataDiskSafetyTest, AnotherDiskInThePlaceIsRefusedTheSameDiskPutBackIsUsed) {
    Pull();
    WriteDataDisk(disk, {SampleClient(7)});
    const QByteArray other = data();
    Globals().Clients[1] = Edited(1);
    const VError e = CaughtError([] { SaveClient(1); });
    EXPECT_TRUE(IsDiskMissingError(e.number())) << e.number();
    EXPECT_TRUE(e.description().contains("not the client data file that was loaded"));
    EXPECT_EQ(data(), other);

    ASSERT_TRUE(QDir(disk).removeRecursively());
    ASSERT_TRUE(QDir().rename(away, disk));
    PutBackAsNewFile();
    SaveClient(1);
    EXPECT_EQ(data().left(RecordLength), Edited(1).ToBytes());
    // What it now holds is what the next check compares with.
    PutBackAsNewFile();
    Globals().Clients[2] = Edited(2);
    SaveClient(2);
    EXPECT_EQ(data().mid(RecordLength, RecordLength), Edited(2).ToBytes());

    // A missing marker or another marker: the disk is not there.
    QFile::remove(disk + "/TID");
    EXPECT_EQ(CaughtError([] { SaveClient(1); }).number(), err::FileNotFound);
    WriteFile(disk + "/TID", "XQ\r\n");
    EXPECT_TRUE(IsDiskMissingError(CaughtError([] { SaveClient(1); }).number()));
}

// A device that starts failing in the middle of a new record, and whose undo fails too: the
// user learns that part of the record is there, and the next save finishes it.
TEST_F(DataDiskSafetyTest, AHalfWrittenNewRecordIsTakenBackOrFinishedByTheNextSave) {
    const QByteArray before = data();
    Globals().Clients[4] = SampleClient(4);
    fileio::InjectWriteFailure(100, EIO);
    messages.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(SaveClientWithRetry(4));
    ASSERT_EQ(messages.shown().size(), 1u) << qPrintable(messages.texts().join("|"));
    EXPECT_EQ(messages.last().title, "Data Disk Error");
    EXPECT_TRUE(messages.last().text.startsWith("Data disk error!\n\nThe data disk reported a "
                                                "device error while writing "))
        << qPrintable(messages.last().text);
    EXPECT_EQ(data(), before); // taken back

    fileio::InjectWriteFailure(150, EIO);
    fileio::InjectFailure(fileio::Op::Truncate, EIO);
    messages.clear();
    messages.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(SaveClientWithRetry(4));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.last().text.startsWith("Client 4 was not stored. Part of the record"))
        << qPrintable(messages.last().text);
    EXPECT_EQ(data().size(), before.size() + 150);

    // Not "record 4 is already taken": the part on the disk is this record's own.
    fileio::ClearInjectedFailure();
    messages.clear();
    EXPECT_TRUE(SaveClientWithRetry(4));
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(data(), before + SampleClient(4).ToBytes());
}

// Another disk's file put in place between the check and the write of a new record is
// neither written nor cut back by the undo.
TEST_F(DataDiskSafetyTest, AFileSwappedInJustBeforeTheWriteIsLeftAlone) {
    WriteDataDisk(root.file("other"), SampleClients(5));
    const QByteArray other = ReadFile(root.file("other/DATA401.QV"));
    bool swapped = false;
    fileio::SetCallHook([&](fileio::Op op, const QString& path) {
        if (op == fileio::Op::Open && path.endsWith("DATA401.QV") && !swapped) {
            swapped = true;
            QFile::rename(path, root.file("loaded.QV")); // kept, so its number stays taken
            QFile::copy(root.file("other/DATA401.QV"), path);
        }
    });
    Globals().Clients[4] = SampleClient(4);
    EXPECT_TRUE(IsDiskMissingError(CaughtError([] { SaveClient(4); }).number()));
    fileio::ClearInjectedFailure();
    EXPECT_TRUE(swapped);
    EXPECT_EQ(data(), other);
}

// The write reached the disk but the flush failed: the user is not told it failed.
TEST_F(DataDiskSafetyTest, AnEditReportedAsFailedIsReadBackBeforeTheUserIsTold) {
    Globals().Clients[2] = Edited(2);
    fileio::InjectFailure(fileio::Op::Sync, EIO);
    messages.Answer(MsgAnswer::Cancel);
    EXPECT_TRUE(SaveClientWithRetry(2));
    ASSERT_EQ(messages.shown().size(), 2u) << qPrintable(messages.texts().join("|"));
    EXPECT_EQ(messages.last().text, "Client 2 was stored after all: reading the data disk back "
                                    "shows the record as it was to be saved.");

    // When the disk cannot be read back either (after the check before the write has read
    // the marker), the user is told that nothing is known.
    Globals().Clients[3] = Edited(3);
    fileio::InjectFailure(fileio::Op::Read, EIO, 1);
    messages.clear();
    messages.Answer(MsgAnswer::Cancel);
    EXPECT_FALSE(SaveClientWithRetry(3));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.last().text.contains("not known whether client 3 was stored"));
}

// Delete Names' summary comes from the disk: a name whose write "failed" but got there is
// listed as deleted, and memory agrees.
TEST_F(DataDiskSafetyTest, DeleteNamesSaysWhatTheDiskHoldsAfterADeviceError) {
    fileio::InjectFailure(fileio::Op::Sync, EIO, 1); // client 1 is flushed, client 2 is not
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Cancel, MsgAnswer::Ok});
    DelNames();
    fileio::ClearInjectedFailure();
    ASSERT_GE(messages.shown().size(), 3u);
    EXPECT_TRUE(messages.shown()[1].text.startsWith("Data disk error!"));
    EXPECT_EQ(messages.last().title, "Delete Names");
    EXPECT_EQ(messages.last().text, "Delete Names stopped at client 2 of 3.\n"
                                    "The names of clients 1 and 2 are deleted.\n"
                                    "The name of client 3 is unchanged.\n\n"
                                    "Run Delete Names again to finish the job.");
    EXPECT_EQ(Globals().Clients[2].NameDeleted, "1");
    const auto inMemory = Globals().Clients;
    LoadClients();
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(Globals().Clients[size_t(n)], inMemory[size_t(n)]) << n;

    // The disk cannot be read back: that client's state is not known, and it is said.
    fileio::InjectFailure(fileio::Op::Sync, EIO);
    fileio::InjectFailure(fileio::Op::Read, EIO, 1);
    messages.clear();
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Cancel, MsgAnswer::Ok});
    DelNames();
    EXPECT_EQ(messages.last().text, "Delete Names stopped at client 3 of 3.\n"
                                    "The names of clients 1 and 2 are deleted.\n"
                                    "Whether the name of client 3 is deleted is not known: the "
                                    "data disk could not be read back.\n\n"
                                    "Run Delete Names again to finish the job.");
}

} // namespace

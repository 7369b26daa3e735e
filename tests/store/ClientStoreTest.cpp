#include "store/ClientStore.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/Cp1252.h"
#include "store/SaveWithRetry.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

class ClientStoreTest : public OnDataDisk {
protected:
    void SetUp() override {
        GlobalState& g = Globals();
        g.DataPath = disk.path();
        g.DataFilePath = disk.file("DATA401.QV");
        WriteFile(disk.file("TID"), "QV\r\n");
    }
    void Store(int count) { WriteDataDisk(disk.path(), SampleClients(count)); }
    static int SaveError(int slot) {
        return CaughtError([slot] { SaveClient(slot); }).number();
    }
};

TEST_F(ClientStoreTest, LoadingNeverCreatesTheFileCountsFromHalfARecordAndStopsAt51) {
    // A missing file is a missing disk: only preparing or accepting a disk makes one.
    EXPECT_EQ(CaughtError([] { LoadClients(); }).number(), err::FileNotFound);
    EXPECT_FALSE(QFile::exists(Globals().DataFilePath));
    CreateClientFile();
    EXPECT_EQ(Globals().ClientCount, 0);
    EXPECT_EQ(Globals().CurrentClient, 0);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(Globals().DataFilePath).constData(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u); // owner only

    Store(3);
    const QByteArray three = data();
    WriteFile(Globals().DataFilePath, three + QByteArray(97, 'x'));
    LoadClients();
    EXPECT_EQ(Globals().ClientCount, 3);
    EXPECT_EQ(Globals().CurrentClient, 1);
    WriteFile(Globals().DataFilePath, three + QByteArray(98, 'x'));
    LoadClients();
    EXPECT_EQ(Globals().ClientCount, 4);
    // The partial record is read as far as it goes and blank-padded.
    EXPECT_EQ(Globals().Clients[4].ClientName, QString(25, u'x'));
    EXPECT_EQ(Globals().Clients[4].Reserved, " ");

    // More than 51 records are refused and nothing is kept.
    Store(52);
    const VError e = CaughtError([] { LoadClients(); });
    EXPECT_EQ(e.number(), err::SubscriptOutOfRange);
    EXPECT_TRUE(e.description().contains("52 client records"));
    EXPECT_TRUE(e.description().contains("at most 51"));
    EXPECT_EQ(Globals().ClientCount, 0);
    EXPECT_EQ(Globals().CurrentClient, 0);
    Store(51);
    LoadClients();
    EXPECT_EQ(Globals().ClientCount, 51);
}

TEST_F(ClientStoreTest, RoundTripKeepsEveryFieldAndAccentedNames) {
    ClientRecord r = SampleClient(7);
    r.ClientName = Fit("José Ñúñez Müller", width::ClientName);
    CreateClientFile();
    Globals().Clients[1] = r;
    SaveClient(1);
    ASSERT_EQ(data().size(), RecordLength);
    EXPECT_EQ(static_cast<unsigned char>(data()[3]), 0xE9u); // é in the Windows code page
    Globals() = GlobalState();                               // as the program starts again
    Globals().DataFilePath = disk.file("DATA401.QV");
    LoadClients();
    EXPECT_EQ(Globals().Clients[1], r);
}

TEST_F(ClientStoreTest, FieldOffsetsFollowTheRecordLayoutAndNamesAreFitted) {
    ClientRecord r;
    r.ClientName = Fit("Ann", 25);
    r.ClientID = Fit("N", 10);
    r.Age = "15";
    r.TestDate = "12/07/2026";
    r.DrugArrests = "3 ";
    r.Responses = QString(116, u'2');
    r.EditCount = "3";
    r.NameDeleted = "1";
    r.Reserved = "0";
    const QByteArray b = r.ToBytes();
    ASSERT_EQ(b.size(), 195);
    EXPECT_EQ(b.mid(0, 25), QByteArray("Ann") + QByteArray(22, ' '));
    EXPECT_EQ(b.mid(25, 1), "N");
    EXPECT_EQ(b.mid(45, 2), "15");
    EXPECT_EQ(b.mid(50, 10), "12/07/2026");
    EXPECT_EQ(b.mid(74, 2), "3 ");
    EXPECT_EQ(b.mid(76, 116), QByteArray(116, '2'));
    EXPECT_EQ(b.mid(192, 3), "310");

    r.ClientName = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"; // 30, not yet fitted
    EXPECT_EQ(r.ToBytes().left(25), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXY"));
}

TEST_F(ClientStoreTest, SaveWritesOnlyItsOwnRecordOrOnePastTheEnd) {
    Store(3);
    LoadClients();
    const QByteArray before = data();
    Globals().Clients[2].ClientName = Fit("Changed", 25);
    SaveClient(2);
    const QByteArray after = data();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.left(195), before.left(195));
    EXPECT_EQ(after.mid(390), before.mid(390));
    EXPECT_TRUE(after.mid(195, 25).startsWith("Changed"));

    Globals().Clients[4] = SampleClient(4);
    SaveClient(4);
    EXPECT_EQ(data().size(), 4 * 195);
    EXPECT_EQ(data().left(3 * 195), after);

    // A gap is refused, and so is a record another program appended since we loaded.
    Globals().Clients[6] = SampleClient(6);
    EXPECT_THROW(SaveClient(6), VError);
    const QByteArray four = data();
    fileio::Append(Globals().DataFilePath, SampleClient(9).ToBytes());
    Globals().Clients[5] = SampleClient(5);
    EXPECT_TRUE(
        CaughtError([] { SaveClient(5); }).description().contains("changed since it was read"));
    EXPECT_EQ(data(), four + SampleClient(9).ToBytes());
    EXPECT_THROW(SaveClient(0), VError);
    EXPECT_THROW(SaveClient(52), VError);
}

TEST_F(ClientStoreTest, FailedWritesAreReportedWithTheirNumbers) {
    Store(2);
    LoadClients();
    const QByteArray before = data();
    Globals().Clients[3] = SampleClient(3);

    fileio::InjectWriteFailure(100, ENOSPC);
    EXPECT_EQ(SaveError(3), err::DiskFull) << "a full disk was reported as success";
    fileio::InjectWriteFailure(0, EIO);
    EXPECT_EQ(SaveError(1), err::DeviceIO);
    fileio::ClearInjectedFailure();
    // The half-written new record was taken back: it must not load as a phantom client.
    EXPECT_EQ(data(), before);

    QFile::setPermissions(Globals().DataFilePath, QFile::ReadOwner);
    if (::geteuid() != 0) { // root writes through permissions
        EXPECT_EQ(SaveError(1), err::PermissionDenied);
    }
    QFile::setPermissions(Globals().DataFilePath, QFile::ReadOwner | QFile::WriteOwner);

    Globals().DataFilePath = disk.file("gone/DATA401.QV");
    EXPECT_EQ(SaveError(1), err::FileNotFound);
}

TEST_F(ClientStoreTest, SaveWithRetryAsksForTheDiskAndReportsWhatItCannotMend) {
    Store(2);
    LoadClients();
    Globals().Clients[3] = SampleClient(3);
    fileio::InjectWriteFailure(0, ENXIO);
    messages.OnShow([](const Message&) { fileio::ClearInjectedFailure(); }); // disk put back
    messages.Answer(MsgAnswer::Ok);
    EXPECT_TRUE(SaveClientWithRetry(3));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, "Data Disk Error");
    EXPECT_EQ(messages.last().text,
              "Data disk not found!\n\nInsert data disk in drive A to continue.");
    EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(data().size(), 3 * 195);

    // Given up, or an error no retry mends: the file is left as it was.
    messages.OnShow(nullptr);
    Globals().ClientCount = 3;
    Globals().Clients[4] = SampleClient(4);
    const QByteArray before = data();
    fileio::InjectWriteFailure(0, EROFS);
    messages.Answer({MsgAnswer::Ok, MsgAnswer::Cancel});
    EXPECT_FALSE(SaveClientWithRetry(4));
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_TRUE(messages.last().text.startsWith("Data disk write protected!"));
    EXPECT_EQ(data(), before);
    fileio::InjectWriteFailure(120, ENOSPC); // enough to count as a record when read back
    EXPECT_FALSE(SaveClientWithRetry(4));
    EXPECT_TRUE(messages.last().text.startsWith("Error 61:")) << qPrintable(messages.last().text);
    EXPECT_EQ(data(), before);
}

TEST_F(ClientStoreTest, ClearClientBlanksOnlyTheIntakeFields) {
    Globals().Clients[2] = SampleClient(2);
    Globals().CurrentClient = 2;
    ClearClient();
    const ClientRecord& r = Globals().Clients[2];
    const ClientRecord s = SampleClient(2);
    EXPECT_EQ(r.ClientName + r.Age + r.DrugArrests + r.EditCount, QString(30, u' '));
    EXPECT_EQ(r.DateOfBirth + r.TestDate + r.Responses + r.NameDeleted + r.Reserved,
              s.DateOfBirth + s.TestDate + s.Responses + s.NameDeleted + s.Reserved);
}

TEST_F(ClientStoreTest, CodeTablesListLinesAndTheCodePage) {
    InitCodeTables();
    EXPECT_EQ(GenderName("2"), "Female");
    EXPECT_EQ(EducationName("7"), Fit("High School Graduate", 28));
    EXPECT_EQ(RaceName("5"), "Native American");
    EXPECT_EQ(GenderName("0"), "N/A   ");
    EXPECT_EQ(GenderName("9"), "N/A   ");
    Globals().Clients[12].ClientName = Fit("Smith", 25);
    EXPECT_EQ(ClientListLine(12), "12-Smith" + QString(20, u' '));

    // The Windows code page's high range maps both ways; what it lacks becomes "?".
    const QString text = "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ áéíñóúü«»";
    const QByteArray bytes = cp1252::Encode(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(cp1252::Decode(bytes), text);
    EXPECT_FALSE(cp1252::CanEncode(QChar(0x0410))); // Cyrillic A
    EXPECT_EQ(cp1252::Encode("\u0410"), QByteArray("?"));
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(cp1252::ByteOf(cp1252::DecodeByte(static_cast<unsigned char>(b))), b) << b;
}

} // namespace

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "store/ClientStore.h"
#include "store/Cp1252.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

class ClientStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        GlobalState& g = Globals();
        g.DataPath = disk.path();
        g.DataFilePath = disk.file(QStringLiteral("DATA401.QV"));
    }
    QByteArray data() const { return ReadFile(Globals().DataFilePath); }
    TempDir disk;
};

TEST_F(ClientStoreTest, MissingFileIsCreatedEmptyAndOwnerOnly) {
    LoadClients();
    EXPECT_EQ(Globals().ClientCount, 0);
    EXPECT_EQ(Globals().CurrentClient, 0);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(Globals().DataFilePath).constData(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(ClientStoreTest, PartialRecordCountsFromHalfARecord) {
    QByteArray bytes;
    for (int n = 1; n <= 3; ++n)
        bytes += SampleClient(n).ToBytes();
    WriteFile(Globals().DataFilePath, bytes + QByteArray(97, 'x'));
    LoadClients();
    EXPECT_EQ(Globals().ClientCount, 3);
    EXPECT_EQ(Globals().CurrentClient, 1);

    WriteFile(Globals().DataFilePath, bytes + QByteArray(98, 'x'));
    LoadClients();
    EXPECT_EQ(Globals().ClientCount, 4);
    // The partial record is read as far as it goes and blank-padded.
    EXPECT_EQ(Globals().Clients[4].ClientName, QString(25, QLatin1Char('x')));
    EXPECT_EQ(Globals().Clients[4].Reserved, QStringLiteral(" "));
}

TEST_F(ClientStoreTest, RoundTripKeepsEveryFieldAndAccentedNames) {
    ClientRecord r = SampleClient(7);
    r.ClientName = Fit(QStringLiteral("José Ñúñez Müller"), width::ClientName);
    LoadClients();
    Globals().Clients[1] = r;
    SaveClient(1);
    ASSERT_EQ(data().size(), RecordLength);
    EXPECT_EQ(static_cast<unsigned char>(data()[3]), 0xE9u); // é in the Windows code page
    ResetGlobals();
    Globals().DataFilePath = disk.file(QStringLiteral("DATA401.QV"));
    LoadClients();
    EXPECT_EQ(Globals().Clients[1], r);
}

TEST_F(ClientStoreTest, FieldOffsetsFollowTheRecordLayout) {
    ClientRecord r;
    r.ClientName = Fit(QStringLiteral("Ann"), 25);
    r.ClientID = Fit(QStringLiteral("N"), 10);
    r.Age = QStringLiteral("15");
    r.TestDate = QStringLiteral("12/07/2026");
    r.DrugArrests = QStringLiteral("3 ");
    r.Responses = QString(116, QLatin1Char('2'));
    r.EditCount = QStringLiteral("3");
    r.NameDeleted = QStringLiteral("1");
    r.Reserved = QStringLiteral("0");
    const QByteArray b = r.ToBytes();
    ASSERT_EQ(b.size(), 195);
    EXPECT_EQ(b.mid(0, 25), QByteArray("Ann") + QByteArray(22, ' '));
    EXPECT_EQ(b.mid(25, 1), "N");
    EXPECT_EQ(b.mid(45, 2), "15");
    EXPECT_EQ(b.mid(50, 10), "12/07/2026");
    EXPECT_EQ(b.mid(74, 2), "3 ");
    EXPECT_EQ(b.mid(76, 116), QByteArray(116, '2'));
    EXPECT_EQ(b.mid(192, 3), "310");
}

TEST_F(ClientStoreTest, LongNameIsCutAndShortNameIsPadded) {
    ClientRecord r;
    r.ClientName = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"); // 30, not yet fitted
    EXPECT_EQ(r.ToBytes().left(25), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXY"));
    r.ClientName = QStringLiteral("Al");
    EXPECT_EQ(r.ToBytes().left(25), QByteArray("Al") + QByteArray(23, ' '));
}

TEST_F(ClientStoreTest, SaveWritesOnlyItsOwnRecordAndAppendsOnePastTheEnd) {
    WriteDataDisk(disk.path(), {SampleClient(1), SampleClient(2), SampleClient(3)});
    LoadClients();
    const QByteArray before = data();

    Globals().Clients[2].ClientName = Fit(QStringLiteral("Changed"), 25);
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
}

TEST_F(ClientStoreTest, SaveRefusesGapsAndRecordsTakenSinceLoading) {
    WriteDataDisk(disk.path(), {SampleClient(1)});
    LoadClients();
    const QByteArray before = data();
    Globals().Clients[3] = SampleClient(3);
    EXPECT_THROW(SaveClient(3), VError);
    // Another program appended record 2 since we loaded: our new client must not overwrite it.
    fileio::Append(Globals().DataFilePath, SampleClient(9).ToBytes());
    Globals().Clients[2] = SampleClient(2);
    try {
        SaveClient(2);
        FAIL() << "overwrote a record the file already held";
    } catch (const VError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("changed since it was read")));
    }
    EXPECT_EQ(data(), before + SampleClient(9).ToBytes());
    EXPECT_THROW(SaveClient(0), VError);
    EXPECT_THROW(SaveClient(52), VError);
}

TEST_F(ClientStoreTest, FailedWritesAreReportedWithTheirNumbers) {
    WriteDataDisk(disk.path(), {SampleClient(1), SampleClient(2)});
    LoadClients();
    const QByteArray before = data();
    Globals().Clients[3] = SampleClient(3);

    fileio::InjectWriteFailure(100, ENOSPC);
    try {
        SaveClient(3);
        FAIL() << "a full disk was reported as success";
    } catch (const VError& e) {
        EXPECT_EQ(e.number(), err::DiskFull);
    }
    fileio::InjectWriteFailure(0, EIO);
    try {
        SaveClient(1);
        FAIL();
    } catch (const VError& e) {
        EXPECT_EQ(e.number(), err::DeviceIO);
    }
    fileio::ClearInjectedFailure();
    // The half-written new record was taken back: it must not load as a phantom client.
    EXPECT_EQ(data(), before);

    QFile::setPermissions(Globals().DataFilePath, QFile::ReadOwner);
    if (::geteuid() != 0) { // root writes through permissions
        try {
            SaveClient(1);
            FAIL();
        } catch (const VError& e) {
            EXPECT_EQ(e.number(), err::PermissionDenied);
        }
    }
    QFile::setPermissions(Globals().DataFilePath, QFile::ReadOwner | QFile::WriteOwner);

    Globals().DataFilePath = disk.file(QStringLiteral("gone/DATA401.QV"));
    try {
        SaveClient(1);
        FAIL();
    } catch (const VError& e) {
        EXPECT_EQ(e.number(), err::FileNotFound);
    }
}

TEST_F(ClientStoreTest, MoreThan51RecordsAreRefusedAndNothingIsKept) {
    std::vector<ClientRecord> many;
    for (int n = 1; n <= 52; ++n)
        many.push_back(SampleClient(n));
    WriteDataDisk(disk.path(), many);
    try {
        LoadClients();
        FAIL();
    } catch (const VError& e) {
        EXPECT_EQ(e.number(), err::SubscriptOutOfRange);
        EXPECT_TRUE(e.description().contains(QStringLiteral("52 client records")));
        EXPECT_TRUE(e.description().contains(QStringLiteral("at most 51")));
    }
    EXPECT_EQ(Globals().ClientCount, 0);
    EXPECT_EQ(Globals().CurrentClient, 0);

    many.pop_back();
    WriteDataDisk(disk.path(), many);
    LoadClients();
    EXPECT_EQ(Globals().ClientCount, 51);
}

TEST_F(ClientStoreTest, ClearClientBlanksOnlyTheIntakeFields) {
    Globals().Clients[2] = SampleClient(2);
    Globals().CurrentClient = 2;
    ClearClient();
    const ClientRecord& r = Globals().Clients[2];
    const ClientRecord s = SampleClient(2);
    EXPECT_EQ(r.ClientName, QString(25, QLatin1Char(' ')));
    EXPECT_EQ(r.Age, QStringLiteral("  "));
    EXPECT_EQ(r.DrugArrests, QStringLiteral("  "));
    EXPECT_EQ(r.EditCount, QStringLiteral(" "));
    EXPECT_EQ(r.DateOfBirth, s.DateOfBirth);
    EXPECT_EQ(r.TestDate, s.TestDate);
    EXPECT_EQ(r.Responses, s.Responses);
    EXPECT_EQ(r.NameDeleted, s.NameDeleted);
    EXPECT_EQ(r.Reserved, s.Reserved);
}

TEST_F(ClientStoreTest, CodeTablesAndListLines) {
    InitCodeTables();
    EXPECT_EQ(GenderName(QStringLiteral("2")), QStringLiteral("Female"));
    EXPECT_EQ(EducationName(QStringLiteral("7")), Fit(QStringLiteral("High School Graduate"), 28));
    EXPECT_EQ(RaceName(QStringLiteral("5")), QStringLiteral("Native American"));
    EXPECT_EQ(GenderName(QStringLiteral("0")), QStringLiteral("N/A   "));
    EXPECT_EQ(GenderName(QStringLiteral("9")), QStringLiteral("N/A   "));
    Globals().Clients[12].ClientName = Fit(QStringLiteral("Smith"), 25);
    EXPECT_EQ(ClientListLine(12), QStringLiteral("12-Smith") + QString(20, QLatin1Char(' ')));
}

TEST(Cp1252Test, MapsTheHighRangeBothWays) {
    const QString text = QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ áéíñóúü«»");
    const QByteArray bytes = cp1252::Encode(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(cp1252::Decode(bytes), text);
    EXPECT_FALSE(cp1252::CanEncode(QChar(0x0410))); // Cyrillic A
    EXPECT_EQ(cp1252::Encode(QStringLiteral("\u0410")), QByteArray("?"));
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(cp1252::ByteOf(cp1252::DecodeByte(static_cast<unsigned char>(b))), b) << b;
}

} // namespace

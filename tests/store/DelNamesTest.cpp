#include "store/DelNames.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "store/Cp1252.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace varenta;
using namespace varenta::testing;

namespace {

TEST(EncryptTest, ShiftsCodesWithinTheCodePageAndRestores) {
    QString t = "abc d";
    Encrypt(t, 0);
    EXPECT_EQ(t, "dif k"); // even and odd codes shift apart; blanks stay
    Encrypt(t, 1);
    EXPECT_EQ(t, "abc d");
    QString digits = "09.-";
    Encrypt(digits, 0);
    EXPECT_EQ(digits, "7<50");

    // From the blank up: control code 29 would scramble into a blank, which no entry allows.
    QString all;
    for (int c = 32; c < 250; ++c)
        all += cp1252::DecodeByte(static_cast<unsigned char>(c));
    t = all;
    Encrypt(t, 0);
    EXPECT_NE(t, all);
    for (QChar c : t) // every result is a single-byte character
        EXPECT_TRUE(cp1252::CanEncode(c));
    Encrypt(t, -5); // any direction but 0 restores
    EXPECT_EQ(t, all);

    // Codes that would leave the code page stay: ú is 250, ü 252, ý 253, þ 254, ÿ 255.
    t = "Núñez úüýþÿ";
    Encrypt(t, 0);
    EXPECT_EQ(t.at(1), QChar(0xFA)); // ú kept
    EXPECT_EQ(t.mid(6), "úüýþÿ");
    EXPECT_EQ(t.at(2), QChar(0xF4)); // ñ (241) is shifted to 244
}

// A name as Delete Names leaves it.
QString Scrambled(int client) {
    QString name = SampleClient(client).ClientName;
    Encrypt(name, 0);
    return name;
}

class DelNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<ClientRecord> clients = SampleClients(4);
        clients[1].ClientName = QString(25, u' ');
        clients[2].NameDeleted = "1"; // done by an earlier run
        clients[2].ClientName = Fit("Lwmh}n", 25);
        WriteDataDisk(disk.path(), clients);
        UseDataDisk(disk.path());
    }
    QByteArray data() const { return ReadFile(Globals().DataFilePath); }
    TempDir disk;
    ScriptedMessages messages;
};

TEST_F(DelNamesTest, NoLeavesTheFileAloneAndYesScramblesEachNameOnce) {
    const QByteArray before = data();
    messages.Answer(MsgAnswer::No);
    DelNames();
    EXPECT_EQ(data(), before);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, "WARNING!");
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_EQ(messages.last().buttons, MsgButtons::YesNo);
    EXPECT_TRUE(messages.last().text.endsWith("return it.\n\nAre you SURE you want to do this?"));
    EXPECT_EQ(Globals().Clients[1].ClientName, SampleClient(1).ClientName);
    EXPECT_FALSE(Globals().NameDeleted);

    messages.Answer({MsgAnswer::Yes, MsgAnswer::Ok});
    DelNames();
    EXPECT_EQ(messages.last().text, "Process complete. Press Enter to continue.");
    EXPECT_TRUE(Globals().NameDeleted);
    const QByteArray once = data();
    LoadClients();
    const auto& c = Globals().Clients;
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(c[size_t(n)].NameDeleted, "1") << n;
    EXPECT_EQ(c[2].ClientName, QString(25, u' ')); // all blanks, still flagged
    EXPECT_EQ(c[3].ClientName, Fit("Lwmh}n", 25)); // not scrambled twice
    ClientRecord original = SampleClient(4);
    original.ClientName = Scrambled(4);
    original.NameDeleted = "1";
    EXPECT_EQ(c[4], original); // every other field kept

    // A second run changes nothing.
    messages.clear();
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Ok});
    DelNames();
    EXPECT_EQ(data(), once);
}

TEST_F(DelNamesTest, AWriteFailureSaysWhichClientsAreDoneAndALaterRunFinishes) {
    // Record 1 goes through, record 2 fails; Cancel on the data-disk message stops the run.
    fileio::InjectWriteFailure(RecordLength, EIO);
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Cancel, MsgAnswer::Ok});
    DelNames();
    fileio::ClearInjectedFailure();
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_EQ(messages.shown()[1].title, "Data Disk Error");
    // Client 3 was done by an earlier run: its name is deleted too.
    for (const char* part : {"stopped at client 2 of 4", "names of clients 1 and 3 are deleted",
                             "clients 2 and 4 are unchanged"})
        EXPECT_TRUE(messages.last().text.contains(QString::fromLatin1(part))) << part;

    // Memory matches the disk: record 2 is neither scrambled nor flagged in either.
    EXPECT_EQ(Globals().Clients[2].NameDeleted, "0");
    LoadClients();
    EXPECT_EQ(Globals().Clients[1].NameDeleted, "1");
    EXPECT_EQ(Globals().Clients[2].NameDeleted, "0");
    EXPECT_EQ(Globals().Clients[4].ClientName, SampleClient(4).ClientName);

    messages.clear();
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Ok});
    DelNames();
    LoadClients();
    EXPECT_EQ(Globals().Clients[1].ClientName, Scrambled(1)); // once, not twice
    EXPECT_EQ(Globals().Clients[4].ClientName, Scrambled(4));
}

} // namespace

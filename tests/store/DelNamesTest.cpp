#include "store/DelNames.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "store/Cp1252.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <QSet>

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

    // Every character a name can hold changes into another printable one of the code page,
    // no two into the same, and any direction but 0 gives the name back.
    QString all;
    for (int c = 33; c <= 255; ++c) {
        const QChar ch = cp1252::DecodeByte(static_cast<unsigned char>(c));
        if (c != 127 && ch.category() != QChar::Other_Control)
            all += ch;
    }
    ASSERT_EQ(all.size(), 217);
    t = all;
    Encrypt(t, 0);
    QSet<QChar> seen;
    for (int i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(cp1252::ByteOf(all[i]));
        EXPECT_NE(t[i], all[i]);
        EXPECT_TRUE(cp1252::CanEncode(t[i]));
        EXPECT_NE(t[i].category(), QChar::Other_Control);
        EXPECT_NE(t[i], QLatin1Char(' '));
        EXPECT_FALSE(seen.contains(t[i]));
        seen.insert(t[i]);
    }
    Encrypt(t, -5);
    EXPECT_EQ(t, all);
}

// The codes the plain shift cannot carry: past the code page (250, 252 to 255) or onto a
// control character (x gave DEL, z the undefined 0x81). Names scrambled that way before still
// restore; every other code scrambles as it always did.
TEST(EncryptTest, CodesBeyondTheShiftAreScrambledToo) {
    QString name = QStringLiteral("Zoë Müllerúüýþÿ");
    Encrypt(name, 0);
    EXPECT_EQ(name, QStringLiteral("arî P„sshy‚„’—!"));
    QString agueroTulio = QStringLiteral("Agüero Túlio xz");
    Encrypt(agueroTulio, 0);
    for (const char16_t clear : {u'ü', u'ú', u'x', u'z'})
        EXPECT_FALSE(agueroTulio.contains(QChar(clear)));
    Encrypt(agueroTulio, 1);
    EXPECT_EQ(agueroTulio, QStringLiteral("Agüero Túlio xz"));

    // Below 250 the codes whose shift stayed printable keep their old result, and a name
    // scrambled before into DEL and 0x81 comes back.
    for (int c = 33; c < 250; ++c) {
        const QChar ch = cp1252::DecodeByte(static_cast<unsigned char>(c));
        const int shifted = c + (c % 2 == 0 ? 7 : 3);
        const QChar old = cp1252::DecodeByte(static_cast<unsigned char>(shifted));
        if (ch.category() == QChar::Other_Control || old.category() == QChar::Other_Control)
            continue;
        QString one(ch);
        Encrypt(one, 0);
        EXPECT_EQ(one, QString(old)) << c;
    }
    QString oldStyle = QString(QChar(127)) + QChar(0x81);
    Encrypt(oldStyle, 1);
    EXPECT_EQ(oldStyle, "xz");

    // A control character found in a damaged record is hidden as well.
    QString damaged = QStringLiteral("a\tb");
    Encrypt(damaged, 0);
    EXPECT_EQ(damaged, "d?i");
}

class DelNamesTest : public OnDataDisk {
protected:
    void SetUp() override {
        clients = SampleClients(4);
        clients[1].ClientName = QString(25, u' ');
        clients[2].NameDeleted = "1"; // done by an earlier run
        clients[2].ClientName = Fit("Lwmh}n", 25);
        clients[3].ClientName = Fit(QStringLiteral("úûüýþÿ Agüero"), 25);
        LoadDisk(clients);
    }
    // Client n's name as Delete Names leaves it.
    QString Scrambled(int n) const {
        QString name = clients[size_t(n - 1)].ClientName;
        Encrypt(name, 0);
        return name;
    }
    std::vector<ClientRecord> clients;
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
    EXPECT_EQ(messages.last().defaultButton, MsgDefault::Second) << "Enter answers No";
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
    ClientRecord original = clients[3];
    original.ClientName = Scrambled(4);
    original.NameDeleted = "1";
    EXPECT_EQ(c[4], original); // every other field kept
    // Its name began with the codes 250 to 255: none is left in clear.
    const QByteArray stored = data().mid(3 * RecordLength, 25);
    const QByteArray clear = cp1252::Encode(clients[3].ClientName);
    for (int i = 0; i < 13; ++i) {
        if (i != 6) { // the blank
            EXPECT_NE(stored[i], clear[i]) << i;
        }
    }
    EXPECT_FALSE(c[4].ClientName.contains(QStringLiteral("ü")));

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
    // The failing disk cannot take the audit line of client 1 either: the user is told.
    ASSERT_EQ(messages.shown().size(), 4u);
    EXPECT_EQ(messages.shown()[1].title, "Data Disk Error");
    EXPECT_EQ(messages.shown()[2].title, "Audit Trail");
    // Client 3 was done by an earlier run: its name is deleted too.
    for (const char* part : {"stopped at client 2 of 4", "names of clients 1 and 3 are deleted",
                             "clients 2 and 4 are unchanged"})
        EXPECT_TRUE(messages.last().text.contains(QString::fromLatin1(part))) << part;

    // Memory matches the disk: record 2 is neither scrambled nor flagged in either.
    EXPECT_EQ(Globals().Clients[2].NameDeleted, "0");
    LoadClients();
    EXPECT_EQ(Globals().Clients[1].NameDeleted, "1");
    EXPECT_EQ(Globals().Clients[2].NameDeleted, "0");
    EXPECT_EQ(Globals().Clients[4].ClientName, clients[3].ClientName);

    messages.clear();
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Ok});
    DelNames();
    LoadClients();
    EXPECT_EQ(Globals().Clients[1].ClientName, Scrambled(1)); // once, not twice
    EXPECT_EQ(Globals().Clients[4].ClientName, Scrambled(4));
}

} // namespace

#include "store/AuditTrail.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "store/SaveWithRetry.h"
#include "support/AuditCheck.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

class AuditTrailTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteDataDisk(disk.path(), SampleClients(3));
        UseDataDisk(disk.path());
    }
    QString log() const { return disk.file("Audit.log"); }
    TempDir disk;
    ScriptedMessages messages;
};

TEST(AuditLine, EveryEventRoundTripsAndTheLineHoldsOnlyNumbers) {
    const QDateTime when(QDate(2026, 3, 14), QTime(9, 26, 53), QTimeZone(3600));
    QByteArray log;
    for (int e = int(audit::Event::AddedOnScreen); e <= int(audit::Event::ScoresExportedWithNames);
         ++e) {
        audit::Entry entry;
        entry.when = when;
        entry.user = QStringLiteral("j doe\t\\x"); // made safe, never breaks the line
        entry.computer = QStringLiteral("pc-12");
        entry.event = audit::Event(e);
        entry.record = e;
        entry.count = e % 4 == 0 ? -1 : e * 10;
        log += audit::FormatLine(entry);
    }
    EXPECT_TRUE(
        log.startsWith("2026-03-14T09:26:53+01:00\tj_doe__x\tpc-12\tadded-on-screen\t1\t10\n"))
        << log.left(80).constData();
    const std::vector<audit::Entry> read = audit::ParseLog(log);
    ASSERT_EQ(read.size(), size_t(audit::Event::ScoresExportedWithNames));
    for (const audit::Entry& r : read) {
        SCOPED_TRACE(r.text.toStdString());
        EXPECT_TRUE(r.valid);
        EXPECT_EQ(r.when, when);
        EXPECT_EQ(r.when.offsetFromUtc(), 3600);
        EXPECT_EQ(int(r.event), r.record);
        EXPECT_EQ(r.count, r.record % 4 == 0 ? -1 : r.record * 10);
        EXPECT_EQ(audit::EventOf(audit::Keyword(r.event)), r.event);
        EXPECT_FALSE(audit::Describe(r).isEmpty());
    }
    EXPECT_EQ(audit::Describe(read[5]), "Client 6 verified: 60 answers changed");
    EXPECT_EQ(audit::Describe(read[8]), "Client 9: report printed");
    EXPECT_EQ(audit::DisplayLine(read[9]),
              "03/14/2026 09:26:53  j_doe__x on pc-12  All reports printed (100 clients)");
}

TEST(AuditLine, DamagedLinesAreKeptAsUnreadableAndOthersStillRead) {
    const QByteArray good = "2026-03-14T09:26:53-05:00\tann\tpc\tedited\t3\t-\r\n";
    const QByteArray log = good +                                                  // 1
                           "\n" +                                                  // 2, empty
                           "2026-03-14T09:26:53-05:00\tann\tpc\tedited\t3\n" +     // 3, five fields
                           "yesterday\tann\tpc\tedited\t3\t-\n" +                  // 4
                           "2026-03-14T09:26:53-05:00\tann\tpc\tedited\tx3\t-\n" + // 5
                           "2026-03-14T09:26:53-05:00\tann\tpc\tEdited!\t3\t-\n" + // 6
                           "2026-03-14T09:26:53-05:00\tann\tpc\tre-keyed\t3\t7\n" + // 7, later
                           QByteArray("2026-03-14T09:2\x01\xff", 17);               // 8, cut
    const std::vector<audit::Entry> read = audit::ParseLog(log);
    ASSERT_EQ(read.size(), 7u);
    EXPECT_TRUE(read[0].valid);
    EXPECT_EQ(read[0].when.offsetFromUtc(), -5 * 3600);
    for (size_t i : {1u, 2u, 3u, 4u, 6u})
        EXPECT_FALSE(read[i].valid) << i;
    EXPECT_EQ(read[1].line, 3);
    EXPECT_EQ(read[6].line, 8);
    EXPECT_EQ(audit::Describe(read[6]), "Line 8 cannot be read: 2026-03-14T09:2??");
    EXPECT_TRUE(read[5].valid); // an event of a later version is shown, not dropped
    EXPECT_EQ(read[5].event, audit::Event::Unknown);
    EXPECT_EQ(audit::Describe(read[5]), "Event \"re-keyed\", client 3, count 7");
}

TEST_F(AuditTrailTest, LinesAreAppendedToTheDiskInUseOwnerOnlyWithTheUserAndComputer) {
    EXPECT_TRUE(audit::Record(audit::Event::Edited, 2));
    EXPECT_TRUE(audit::Record(audit::Event::ReportPrinted, {1, 3}));
    EXPECT_TRUE(audit::RecordDisk(audit::Event::NamesDeleted, 3));
    EXPECT_EQ(AuditEvents(disk.path()), (QStringList{"edited 2", "report-printed 1",
                                                     "report-printed 3", "names-deleted (3)"}));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(log()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const audit::Entry first = audit::ReadLog(disk.path()).front();
    EXPECT_EQ(first.user, audit::UserName());
    EXPECT_EQ(first.computer, audit::ComputerName());
    EXPECT_LE(std::abs(first.when.secsTo(QDateTime::currentDateTime())), 5);
    // Nothing of the clients themselves: no name, no answers.
    const QByteArray bytes = ReadFile(log());
    EXPECT_FALSE(bytes.contains("Client 2"));
    EXPECT_FALSE(bytes.contains(SampleClient(2).Responses.left(20).toLatin1()));
    EXPECT_TRUE(messages.shown().empty());

    // A line cut short by an earlier failure does not take the next one with it.
    WriteFile(log(), bytes + "2026-03-14T09:2");
    audit::Record(audit::Event::CommentSaved, 1);
    EXPECT_EQ(AuditEvents(disk.path()).mid(4), (QStringList{"?", "comment-saved 1"}));
}

TEST_F(AuditTrailTest, AnUnwritableLogNeverStopsASaveAndIsToldOncePerDisk) {
    QDir().mkpath(log()); // a folder where the log should be: every append fails
    ClientRecord& r = Globals().Clients[2];
    r.Age = QStringLiteral("17");
    ASSERT_TRUE(SaveClientWithRetry(2));
    EXPECT_FALSE(audit::Record(audit::Event::Edited, 2));
    EXPECT_FALSE(audit::Record(audit::Event::ReportViewed, 2));
    LoadClients();
    EXPECT_EQ(Globals().Clients[2].Age, "17"); // the save went through
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, "Audit Trail");
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(messages.last().text.contains(disk.path()));
    EXPECT_TRUE(messages.last().text.contains("Your work is not affected"));

    // Written again: the next failure is told again.
    QDir(log()).removeRecursively();
    EXPECT_TRUE(audit::Record(audit::Event::Edited, 2));
    QFile::remove(log());
    QDir().mkpath(log());
    audit::Record(audit::Event::Edited, 2);
    EXPECT_EQ(messages.shown().size(), 2u);
}

TEST_F(AuditTrailTest, AFullDiskLeavesNoPartLineAndAGoneDiskGetsNoLogOfItsOwn) {
    audit::Record(audit::Event::Edited, 1);
    const QByteArray before = ReadFile(log());
    fileio::InjectWriteFailure(10, ENOSPC);
    EXPECT_FALSE(audit::Record(audit::Event::Edited, 2));
    fileio::ClearInjectedFailure();
    EXPECT_EQ(ReadFile(log()), before);
    EXPECT_TRUE(messages.last().text.contains("Error 61:"));

    // The disk pulled out: its folder (an empty mount point) gets no trail.
    TempDir other;
    Globals().DataPath = other.path();
    EXPECT_FALSE(audit::Record(audit::Event::Edited, 1));
    EXPECT_FALSE(QFile::exists(other.file("Audit.log")));
    // No disk in use at all: nothing to record and nothing to say.
    Globals().DataPath.clear();
    const size_t shown = messages.shown().size();
    EXPECT_FALSE(audit::Record(audit::Event::Edited, 1));
    EXPECT_EQ(messages.shown().size(), shown);
}

} // namespace

#include "store/AuditTrail.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "store/SaveWithRetry.h"
#include "support/AuditCheck.h"
#include "support/OnDataDisk.h"
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

TEST(AuditLine, EveryEventRoundTripsAndDamagedLinesAreShownNotDropped) {
    const QDateTime when(QDate(2026, 3, 14), QTime(9, 26, 53), QTimeZone(3600));
    QByteArray log;
    const int last = int(audit::Event::ScoresExportedWithNames);
    for (int e = 1; e <= last; ++e) {
        audit::Entry entry;
        entry.when = when;
        entry.user = "j doe\t\\x"; // made safe: never breaks the line
        entry.computer = "pc-12";
        entry.event = audit::Event(e);
        entry.record = e;
        entry.count = e % 4 == 0 ? -1 : e * 10;
        log += audit::FormatLine(entry);
    }
    EXPECT_TRUE(
        log.startsWith("2026-03-14T09:26:53+01:00\tj_doe__x\tpc-12\tadded-on-screen\t1\t10\n"));
    std::vector<audit::Entry> read = audit::ParseLog(log);
    ASSERT_EQ(read.size(), size_t(last));
    for (const audit::Entry& r : read) {
        EXPECT_TRUE(r.valid) << r.text.toStdString();
        EXPECT_EQ(r.when, when);
        EXPECT_EQ(int(r.event), r.record);
        EXPECT_EQ(r.count, r.record % 4 == 0 ? -1 : r.record * 10);
    }
    EXPECT_EQ(audit::Describe(read[5]), "Client 6 verified: 60 answers changed");
    EXPECT_EQ(audit::DisplayLine(read[9]),
              "03/14/2026 09:26:53  j_doe__x on pc-12  All reports printed (100 clients)");

    const QByteArray stamp = "2026-03-14T09:26:53-05:00\tann\tpc\t";
    read = audit::ParseLog(stamp + "edited\t3\t-\r\n\n" +         // CR LF, then an empty line
                           stamp + "edited\t3\n" +                // five fields
                           "yesterday\tann\tpc\tedited\t3\t-\n" + // no date
                           "2026-03-14T09:26.53-05:00\tann\tpc\tedited\t3\t-\n" + // not ours
                           stamp + "edited\tx3\t-\n" + stamp + "Edited!\t3\t-\n" + stamp +
                           "re-keyed\t3\t7\n" + // an event of a later version
                           QByteArray("2026-03-14T09:2\x01\xff", 17)); // cut short
    ASSERT_EQ(read.size(), 8u);
    EXPECT_TRUE(read[0].valid);
    EXPECT_EQ(read[0].when.offsetFromUtc(), -5 * 3600);
    for (size_t i : {1u, 2u, 3u, 4u, 5u, 7u})
        EXPECT_FALSE(read[i].valid) << i;
    EXPECT_EQ(audit::Describe(read[7]), "Line 9 cannot be read: 2026-03-14T09:2??");
    EXPECT_TRUE(read[6].valid);
    EXPECT_EQ(audit::Describe(read[6]), "Event \"re-keyed\", client 3, count 7");
}

class AuditTrailTest : public OnDataDisk {
protected:
    void SetUp() override { LoadDisk(3); }
    QString log() const { return disk.file("Audit.log"); }
};

TEST_F(AuditTrailTest, LinesAreAppendedOwnerOnlyWithTheUserAndNothingOfTheClients) {
    EXPECT_TRUE(audit::Record(audit::Event::Edited, 2));
    EXPECT_TRUE(audit::Record(audit::Event::ReportPrinted, {1, 3}));
    EXPECT_TRUE(audit::RecordDisk(audit::Event::NamesDeleted, 3));
    EXPECT_EQ(AuditEvents(disk.path()), (QStringList{"edited 2", "report-printed 1",
                                                     "report-printed 3", "names-deleted (3)"}));
    EXPECT_EQ(ModeOf(log()), 0600);
    const audit::Entry first = audit::ReadLog(disk.path()).front();
    EXPECT_EQ(first.user, audit::UserName());
    EXPECT_EQ(first.computer, audit::ComputerName());
    EXPECT_LE(std::abs(first.when.secsTo(QDateTime::currentDateTime())), 5);
    const QByteArray bytes = ReadFile(log());
    EXPECT_FALSE(bytes.contains("Client 2"));
    EXPECT_FALSE(bytes.contains(SampleClient(2).Responses.left(20).toLatin1()));

    // A line cut short by an earlier failure does not take the next one with it.
    WriteFile(log(), bytes + "2026-03-14T09:2");
    audit::Record(audit::Event::CommentSaved, 1);
    EXPECT_EQ(AuditEvents(disk.path()).mid(4), (QStringList{"?", "comment-saved 1"}));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(AuditTrailTest, AFailingLogNeverStopsASaveIsToldOnceAndLeavesNoPartLine) {
    QDir().mkpath(log()); // a folder where the log should be: every append fails
    Globals().Clients[2].Age = QStringLiteral("17");
    ASSERT_TRUE(SaveClientWithRetry(2));
    EXPECT_FALSE(audit::Record(audit::Event::Edited, 2));
    EXPECT_FALSE(audit::Record(audit::Event::ReportViewed, 2));
    LoadClients();
    EXPECT_EQ(Globals().Clients[2].Age, "17"); // the save went through
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, "Audit Trail");
    EXPECT_TRUE(messages.last().text.contains("Your work is not affected"));

    // Written again, then a full disk: told again, and the log is as it was.
    QDir(log()).removeRecursively();
    EXPECT_TRUE(audit::Record(audit::Event::Edited, 2));
    const QByteArray before = ReadFile(log());
    fileio::InjectWriteFailure(10, ENOSPC);
    EXPECT_FALSE(audit::Record(audit::Event::Edited, 2));
    fileio::ClearInjectedFailure();
    EXPECT_EQ(ReadFile(log()), before);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.last().text.contains("Error 61:"));

    // The disk pulled out leaves an empty mount point: it gets no log of its own.
    TempDir other;
    Globals().DataPath = other.path();
    EXPECT_FALSE(audit::Record(audit::Event::Edited, 1));
    EXPECT_FALSE(QFile::exists(other.file("Audit.log")));
    Globals().DataPath.clear(); // no disk in use: nothing to record, nothing to say
    EXPECT_FALSE(audit::Record(audit::Event::Edited, 1));
    EXPECT_EQ(messages.shown().size(), 3u);
}

} // namespace

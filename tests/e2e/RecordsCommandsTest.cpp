// The command-line contract other tools rely on: export over many disks, the audit trail and
// the backup, run as the real varenta-cli.
#include "reports/ProgramFiles.h"
#include "support/ProcessRun.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

class RecordsCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteDataDisk(dir.file("a"), SampleClients(3));
        WriteDataDisk(dir.file("c"), {SampleClient(7), SampleClient(8)});
        WriteDataDisk(dir.file("b"), SampleClients(1));
        WriteFile(dir.file("b/TID"), "XX\r\n"); // not a data disk
    }
    CliOutcome Run(const QStringList& args) { return RunCliWithoutDisplay(args, dir.path()); }
    QStringList Export(const QStringList& extra) {
        return QStringList{"export", "--program-dir", BuiltProgramDir()} + extra;
    }
    TempDir dir;
};

TEST_F(RecordsCommandsTest, ExportOfManyDisksGoesOnPastABrokenOneAndSaysSo) {
    const CliOutcome r = Run(Export({"--data-dir", dir.file("a"), "--data-dir", dir.file("b"),
                                     "--data-dir", dir.file("c") + "/"}));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith("varenta-cli export: " + dir.file("b") + ": Error "));
    EXPECT_TRUE(r.err.contains("is not a data disk"));
    const QStringList lines = r.out.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith("disk,record,client_id,"));
    EXPECT_FALSE(lines[0].split(',').contains("name"));
    EXPECT_TRUE(lines[1].startsWith(dir.file("a") + ",1,ID1,"));
    EXPECT_TRUE(lines[5].startsWith(dir.file("c") + ",2,ID8,"));
    EXPECT_FALSE(r.out.contains("Client 1"));

    // Into a file, names asked for, every disk good: exit status 0.
    const QString out = dir.file("all.csv");
    const CliOutcome named = Run(Export(
        {"--data-dir", dir.file("a"), "--data-dir", dir.file("c"), "--with-names", "--out", out}));
    EXPECT_EQ(named.code, 0) << named.err.toStdString();
    EXPECT_TRUE(named.out.isEmpty());
    const QByteArray file = ReadFile(out);
    EXPECT_TRUE(file.startsWith("disk,record,client_id,name,"));
    EXPECT_TRUE(file.contains(",Client 8,"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(out).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    const CliOutcome json = Run(Export({"--data-dir", dir.file("a"), "--format", "json"}));
    EXPECT_EQ(json.code, 0);
    EXPECT_EQ(json.out.count("{\"disk\": "), 3);

    // Bad arguments are refused before anything is read or written.
    for (const QStringList& bad :
         {Export({}), Export({"--data-dir", dir.file("a"), "--format", "xls"}),
          Export({"--data-dir"}), Export({"--data-dir", dir.file("a"), "stray"})}) {
        const CliOutcome refused = Run(bad);
        EXPECT_EQ(refused.code, 2) << bad.join(' ').toStdString();
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
    }
}

TEST_F(RecordsCommandsTest, TheAuditTrailIsPrintedOldestFirstAndTheBackupNamesItsFolder) {
    ASSERT_EQ(Run(Export({"--data-dir", dir.file("a")})).code, 0);
    // The report is written into a program folder of this test's own.
    QDir().mkpath(dir.file("prog"));
    UseReportProgramDir(dir.file("prog"));
    ASSERT_EQ(Run({"report", "--program-dir", dir.file("prog"), "--data-dir", dir.file("a"),
                   "--client", "2"})
                  .code,
              0);
    const CliOutcome backup = Run({"backup", "--data-dir", dir.file("a"), "--to", dir.path()});
    ASSERT_EQ(backup.code, 0) << backup.err.toStdString();
    const QString folder = backup.out.trimmed().split('\n').last();
    EXPECT_TRUE(folder.startsWith(dir.file("a-")));
    EXPECT_TRUE(backup.out.contains("backed up 3 clients"));
    EXPECT_EQ(Run({"list", "--data-dir", folder}).out,
              Run({"list", "--data-dir", dir.file("a")}).out);

    const CliOutcome log = Run({"audit", "--data-dir", dir.file("a")});
    EXPECT_EQ(log.code, 0);
    const QStringList lines = log.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].split('\t').mid(3), (QStringList{"scores-exported", "-", "3"}));
    EXPECT_EQ(lines[1].split('\t').mid(3), (QStringList{"report-viewed", "2", "-"}));
    EXPECT_EQ(lines[2].split('\t').mid(3), (QStringList{"backup", "-", "3"}));
    // The backup holds the trail as it was when it was made.
    EXPECT_EQ(Run({"audit", "--data-dir", folder}).out.count('\n'), 2);

    const CliOutcome again = Run({"backup", "--data-dir", dir.file("b"), "--to", dir.path()});
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(again.err.contains("is not a data disk")) << again.err.toStdString();
    const CliOutcome nowhere = Run({"backup", "--data-dir", dir.file("a"), "--to", dir.file("no")});
    EXPECT_EQ(nowhere.code, 1);
    EXPECT_TRUE(nowhere.err.contains(dir.file("no")));
    EXPECT_EQ(Run({"audit", "--data-dir", dir.file("b")}).code, 1);
}

} // namespace

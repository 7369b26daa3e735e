// The commands on a data disk as scripts run them: init-disk, list and report, and
// build-question-db; what each writes is what the program itself writes.
#include "administration/DemoClients.h"
#include "app/DataDrive.h"
#include "app/Globals.h"
#include "app/OneBased.h"
#include "reports/ProgramFiles.h"
#include "scoring/ScoreAndPrint.h"
#include "store/ClientStore.h"
#include "support/AuditCheck.h"
#include "support/ProcessRun.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

class DiskCommands : public ::testing::Test {
protected:
    CliOutcome Run(const QStringList& args) { return RunCliWithoutDisplay(args, dir.path()); }
    // A refusal: the usage's status 2 and one line on standard error.
    void ExpectRefused(const QStringList& args, const QString& error) {
        const CliOutcome r = Run(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.toStdString(),
                  QStringLiteral("varenta-cli %1: %2\n").arg(args.first(), error).toStdString());
        EXPECT_EQ(r.out, QString());
    }
    TempDir dir;
};

QList<int> Ints(const QJsonValue& v) {
    QList<int> out;
    for (const QJsonValue& x : v.toArray())
        out << x.toInt();
    return out;
}

QList<int> Scales(const OneBased<qint16, 5>& values) {
    return QList<int>(values.begin(), values.end());
}

// A new disk, empty or with the demonstration clients; a folder that is a disk already or
// holds records is left as it was.
TEST_F(DiskCommands, InitDiskPreparesOnlyANewDisk) {
    const QString disk = dir.file("new/disk");
    CliOutcome r = Run({"init-disk", disk});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "prepared data disk " + disk + "\n");
    EXPECT_EQ(ReadFile(disk + "/TID"), "QV\r\n");
    EXPECT_TRUE(QFileInfo::exists(disk + "/DATA401.QV"));
    EXPECT_EQ(ReadFile(disk + "/DATA401.QV"), QByteArray());
    EXPECT_EQ(AuditEvents(disk), QStringList{"disk-prepared"});
    r = Run({"list", "--data-dir", disk});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QString());

    r = Run({"init-disk", disk});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.endsWith(disk + " is already a data disk; nothing was changed.\n"))
        << r.err.toStdString();
    const QString used = dir.file("used");
    WriteDataDisk(used, SampleClients(2));
    QFile::remove(used + "/TID");
    const QByteArray records = ReadFile(used + "/DATA401.QV");
    r = Run({"init-disk", used});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.endsWith(used + " already holds client records; nothing was changed.\n"))
        << r.err.toStdString();
    EXPECT_EQ(ReadFile(used + "/DATA401.QV"), records);
    EXPECT_FALSE(QFileInfo::exists(used + "/TID"));
    ExpectRefused({"init-disk"}, "give exactly one folder");
    ExpectRefused({"init-disk", dir.file("a"), dir.file("b")}, "give exactly one folder");
    EXPECT_FALSE(QFileInfo::exists(dir.file("a")));

    // The demonstration disk holds what the program adds as demonstration clients.
    const QString demo = dir.file("demo");
    r = Run({"init-disk", demo, "--demo"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "prepared data disk " + demo + " with 6 demonstration clients\n");
    const QString same = dir.file("same");
    PrepareDataDisk(same);
    UseDataDisk(same);
    ASSERT_EQ(administration::AddDemoClients(6), 6);
    EXPECT_EQ(ReadFile(demo + "/DATA401.QV"), ReadFile(same + "/DATA401.QV"));
    EXPECT_EQ(Run({"list", "--data-dir", demo}).out.count('\n'), 6);
}

// The main window's lines, one a client; the disk must be one.
TEST_F(DiskCommands, ListPrintsTheClientListLines) {
    const QString disk = dir.file("disk");
    std::vector<ClientRecord> clients = SampleClients(12);
    clients[4].ClientName = Fit(QStringLiteral("Peña Núñez"), width::ClientName);
    WriteDataDisk(disk, clients);
    UseDataDisk(disk);
    QString lines;
    for (int n = 1; n <= 12; ++n)
        lines += ClientListLine(n) + "\n";
    const CliOutcome r = Run({"list", "--data-dir", disk});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, lines);
    EXPECT_TRUE(r.out.contains("5-Peña Núñez"));
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(AuditEvents(disk), QStringList()); // reading is not recorded

    ExpectRefused({"list"}, "missing --data-dir");
    ExpectRefused({"list", "--data-dir", disk, "extra"}, "unexpected argument extra");
    ExpectRefused({"list", "--data-dir", dir.file("none")},
                  "data folder " + dir.file("none") + " does not exist");
    ExpectRefused({"list", "--data-dir", dir.path() + "/"},
                  dir.path() + " is not a data disk: it has no DATA401.QV");
}

// The report the viewer would show, and the scores it was written from; a client that is not
// there is refused and the report left as it was.
TEST_F(DiskCommands, ReportWritesTheViewersReportAndItsScores) {
    const QString disk = dir.file("disk");
    const QString prog = dir.file("prog");
    QDir().mkpath(prog);
    WriteDataDisk(disk, SampleClients(3));
    UseReportProgramDir(prog);
    const CliOutcome r = Run(
        {"report", "--program-dir", prog, "--data-dir", disk, "--client", "2", "--summary-page"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QByteArray written = ReadFile(prog + "/report.prn");
    EXPECT_EQ(AuditEvents(disk), QStringList{"report-viewed 2"});

    const QString own = dir.file("own");
    QDir().mkpath(own);
    UseReportProgramDir(own);
    UseDataDisk(disk);
    Globals().CurrentClient = 2;
    scoring::ReportRequest request;
    request.summaryPage = true;
    scoring::ScoreSheet sheet;
    scoring::ScoreClient(request, &sheet);
    EXPECT_EQ(written, ReadFile(own + "/report.prn"));
    EXPECT_TRUE(written.contains("ONE PAGE SUMMARY"));
    EXPECT_EQ(json.value("client").toInt(), 2);
    EXPECT_EQ(Ints(json.value("raw")), Scales(sheet.RawScore));
    EXPECT_EQ(Ints(json.value("percentile")), Scales(sheet.Percentile));
    EXPECT_EQ(Ints(json.value("omitted")), Scales(sheet.OmittedCount));
    EXPECT_EQ(json.value("report_file").toString(), prog + "/report.prn");

    const QStringList at = {"report", "--program-dir", prog, "--data-dir", disk};
    ExpectRefused(at + QStringList{"--client", "4"},
                  "client 4 does not exist: the data disk " + disk + " holds 3 clients");
    ExpectRefused(at + QStringList{"--client", "0"},
                  "--client needs a whole number of 1 or more, not \"0\"");
    ExpectRefused(at, "missing --client");
    EXPECT_EQ(ReadFile(prog + "/report.prn"), written);
    EXPECT_EQ(AuditEvents(disk), QStringList{"report-viewed 2"});
}

// From the shipped item sources it builds the shipped database, byte for byte.
TEST_F(DiskCommands, BuildQuestionDbBuildsTheShippedDatabase) {
    const QString out = dir.file("qv32.mdb");
    const QString items = SourceDir() + "/data/items";
    const CliOutcome r = Run({"build-question-db", "--items", items, "--out", out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "built " + out + " with 2 tables\n");
    EXPECT_EQ(ReadFile(out), ReadFile(BuiltProgramDir() + "/qv32.mdb"));

    const QString bad = dir.file("bad.mdb");
    ExpectRefused({"build-question-db", "--out", bad}, "give --items DIR and --out FILE");
    ExpectRefused({"build-question-db", "--items", dir.file("none"), "--out", bad},
                  "item folder " + dir.file("none") + " does not exist");
    ExpectRefused({"build-question-db", "--items", dir.path(), "--out", bad},
                  "item folder " + dir.path() + " holds no .tsv file");
    EXPECT_FALSE(QFileInfo::exists(bad));
}

} // namespace

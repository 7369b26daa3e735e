// The score export against the report's own scoring: the demonstration clients, random
// clients, names, unscorable clients and the file it is saved in.
#include "reports/ScoreExport.h"
#include "administration/DemoClients.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "reports/ProgramFiles.h"
#include "scoring/ScoreAndPrint.h"
#include "store/ClientStore.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

// RFC 4180, as a spreadsheet reads it: quoted fields may hold commas, quotes and line ends.
std::vector<QStringList> ParseCsv(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            row << field;
            field.clear();
            rows.push_back(row);
            row.clear();
            ++i;
        } else {
            EXPECT_NE(c, u'\n') << "a bare line feed outside quotes";
            field += c;
        }
    }
    EXPECT_TRUE(field.isEmpty() && row.isEmpty()) << "the last row ends with CR LF";
    return rows;
}

// One exported row by column name.
using Row = QMap<QString, QString>;
std::vector<Row> Rows(const QByteArray& csv) {
    const std::vector<QStringList> all = ParseCsv(csv);
    std::vector<Row> rows;
    for (size_t r = 1; r < all.size(); ++r) {
        EXPECT_EQ(all[r].size(), all[0].size());
        Row row;
        for (qsizetype c = 0; c < all[0].size(); ++c)
            row[all[0][c]] = all[r].value(c);
        rows.push_back(row);
    }
    return rows;
}

QString N(int v) {
    return QString::number(v);
}

// The row of record `n` holds the figures the report of that client is written from.
void ExpectReportFigures(const Row& row, int n) {
    Globals().CurrentClient = qint16(n);
    ScoreSheet s;
    ScoreClient({}, &s);
    SCOPED_TRACE(QStringLiteral("client %1").arg(n).toStdString());
    const bool anyAnswer = CurrentRecord().Responses.contains(QRegularExpression("[1-9]"));
    if (!anyAnswer) {
        EXPECT_EQ(row["validity"], "");
        return;
    }
    EXPECT_EQ(row["validity"], s.Percentile[1] >= 95   ? "invalid"
                               : s.Percentile[1] >= 90 ? "inaccurate"
                                                       : "valid");
    for (int scale = 1; scale <= 5; ++scale) {
        const QString k = N(scale);
        EXPECT_EQ(row["omitted_items" + k], N(s.OmittedCount[scale]));
        EXPECT_EQ(row["scored_items" + k], N(s.ScoredItemCount[scale]));
        if (s.OmittedCount[scale] > 4) { // "Scale not scored, insufficient answers"
            for (const char* m : {"raw", "percentile", "range"})
                EXPECT_EQ(row[m + k], "") << m << scale;
            EXPECT_TRUE(row["note"].contains("scale " + k + " not scored")) << scale;
            continue;
        }
        EXPECT_EQ(row["raw" + k], N(s.RawScore[scale])) << scale;
        EXPECT_EQ(row["percentile" + k], N(s.Percentile[scale])) << scale;
        EXPECT_EQ(row["range" + k], N(RiskRange(s.Percentile[scale]).range)) << scale;
        if (scale <= 4) {
            EXPECT_EQ(row["distribution" + k], N(s.DistributionPercentile[scale])) << scale;
        }
        if (scale == 2 || scale == 3) {
            EXPECT_EQ(row["arrest_minimum" + k], s.ArrestMinimum[scale] ? "1" : "0");
        }
    }
}

class ScoreExportTest : public ::testing::Test {
protected:
    void SetUp() override { UseReportProgramDir(program.path()); }
    QByteArray Export(const QStringList& disks, bool withNames = false,
                      ExportFormat format = ExportFormat::Csv) {
        ExportOptions o;
        o.withNames = withNames;
        o.format = format;
        ScoreExport e(o);
        for (const QString& d : disks)
            e.AddDisk(d);
        return e.Bytes();
    }
    TempDir program;
    TempDir disk;
};

TEST_F(ScoreExportTest, DemonstrationClientsCarryTheReportsFiguresAndNoNames) {
    WriteDataDisk(disk.path(), {});
    UseDataDisk(disk.path());
    ASSERT_EQ(AddDemoClients(6), 6);
    const QByteArray csv = Export({disk.path()});
    const std::vector<QStringList> table = ParseCsv(csv);
    EXPECT_EQ(table[0], ExportColumns(false));
    for (const char* needed :
         {"disk", "record", "client_id", "raw1", "raw5", "percentile1", "percentile5"})
        EXPECT_TRUE(table[0].contains(QLatin1String(needed))) << needed;
    EXPECT_FALSE(table[0].contains("name"));
    const std::vector<Row> rows = Rows(csv);
    ASSERT_EQ(rows.size(), 6u);
    UseDataDisk(disk.path());
    for (int n = 1; n <= 6; ++n) {
        const Row& row = rows[size_t(n - 1)];
        const ClientRecord& r = Globals().Clients[size_t(n)];
        EXPECT_EQ(row["disk"], QDir(disk.path()).absolutePath());
        EXPECT_EQ(row["record"], N(n));
        const QString id = r.ClientID.trimmed();
        EXPECT_EQ(row["client_id"], id == "N" ? QString() : id);
        EXPECT_EQ(row["gender"], GenderName(r.GenderCode).trimmed());
        EXPECT_FALSE(csv.contains(r.ClientName.trimmed().toUtf8())) << n; // de-identified
        ExpectReportFigures(row, n);
    }
    // The export itself writes no report: the one there is the last ScoreClient's.
    const QByteArray report = ReadFile(program.file("report.prn"));
    Export({disk.path()});
    EXPECT_EQ(ReadFile(program.file("report.prn")), report);
}

TEST_F(ScoreExportTest, RandomClientsOnSeveralDisksMatchTheirReports) {
    std::mt19937 rng(20261207u);
    const auto pick = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    const char* court[] = {"N", "0", "1", "2", "3", "4", "5", "12", "16", "-1", ""};
    TempDir more;
    QStringList disks;
    for (int d = 0; d < 3; ++d) {
        std::vector<ClientRecord> clients;
        for (int n = 1; n <= 17; ++n) {
            ClientRecord c = SampleClient(pick(1, 99));
            for (int q = 1; q <= 8; ++q)
                *c.CourtField(q) = Fit(QString::fromLatin1(court[pick(0, 10)]), width::Court);
            c.GenderCode = N(pick(0, 2));
            c.RaceCode = N(pick(0, 6));
            const int blanks = pick(0, 3); // some leave items unanswered, a few many
            QString answers;
            for (int item = 1; item <= 116; ++item)
                answers += QChar(u'0' + (pick(0, 9) < blanks ? 0 : pick(1, item <= 63 ? 2 : 4)));
            if (pick(0, 6) == 0)
                answers.replace(0, 63, QString(63, u'1')); // an invalid test
            c.Responses = answers;
            clients.push_back(c);
        }
        disks << more.file(QStringLiteral("disk%1").arg(d));
        WriteDataDisk(disks.last(), clients);
    }
    const std::vector<Row> rows = Rows(Export(disks));
    ASSERT_EQ(rows.size(), 51u);
    int invalid = 0;
    int unscoredScales = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        UseDataDisk(disks[int(i / 17)]);
        ExpectReportFigures(rows[i], int(i % 17) + 1);
        invalid += rows[i]["validity"] == "invalid";
        unscoredScales += rows[i]["note"].contains("not scored");
    }
    EXPECT_GT(invalid, 0) << "the random clients cover invalid tests";
    EXPECT_GT(unscoredScales, 0) << "and scales with too many unanswered items";
}

TEST_F(ScoreExportTest, NamesOnlyWhenAskedAndADeletedNameStillHasItsScores) {
    std::vector<ClientRecord> clients = SampleClients(3);
    clients[0].ClientName = Fit(QStringLiteral("Núñez, \"Tito\""), width::ClientName);
    clients[1].ClientName = Fit(QStringLiteral("=HYPERLINK(1)"), width::ClientName);
    clients[2].NameDeleted = QStringLiteral("1");
    WriteDataDisk(disk.path(), clients);

    std::vector<Row> rows = Rows(Export({disk.path()}, true));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]["name"], "Núñez, \"Tito\"");
    EXPECT_EQ(rows[1]["name"], "'=HYPERLINK(1)"); // not a formula in a spreadsheet
    EXPECT_EQ(rows[2]["name"], "");
    EXPECT_EQ(rows[2]["name_deleted"], "1");
    EXPECT_FALSE(rows[2]["percentile2"].isEmpty());
    EXPECT_EQ(ExportColumns(true).indexOf("name"), 3);

    const QByteArray plain = Export({disk.path()});
    EXPECT_FALSE(plain.contains("Tito"));
    EXPECT_FALSE(plain.contains("HYPERLINK"));
    EXPECT_FALSE(plain.contains("Client 3"));

    // JSON lines: the same rows, numbers as numbers and empty fields as null.
    const QList<QByteArray> lines =
        Export({disk.path()}, true, ExportFormat::JsonLines).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject first = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(first.keys().size(), ExportColumns(true).size());
    EXPECT_EQ(first["name"].toString(), "Núñez, \"Tito\"");
    EXPECT_EQ(first["record"].toInt(), 1);
    EXPECT_EQ(first["percentile2"].toInt(), rows[0]["percentile2"].toInt());
    EXPECT_TRUE(first["note"].isNull());
    EXPECT_EQ(QJsonDocument::fromJson(lines[1]).object()["name"].toString(), "=HYPERLINK(1)");
}

TEST_F(ScoreExportTest, UnscorableClientsKeepTheirDemographicsAndSayWhy) {
    std::vector<ClientRecord> clients = SampleClients(3);
    clients[0].Responses = QString(116, u'0');          // nothing answered
    clients[1].Responses.replace(63, 10, "x 9       "); // stray codes: unanswered
    clients[1].Age = QStringLiteral("N ");
    clients[1].DateOfBirth = Fit(QStringLiteral("N"), width::DateOfBirth);
    clients[2].Age1stArrest = QStringLiteral("7x");
    WriteDataDisk(disk.path(), clients);
    ScoreExport e;
    EXPECT_EQ(e.AddDisk(disk.path()), 3);
    EXPECT_EQ(e.Unscored(), 1);
    const std::vector<Row> rows = Rows(e.Bytes());
    EXPECT_EQ(rows[0]["client_id"], "ID1");
    EXPECT_EQ(rows[0]["date_of_birth"], "2010-04-05");
    EXPECT_EQ(rows[0]["test_date"], "2026-11-02");
    EXPECT_EQ(rows[0]["validity"], "");
    EXPECT_EQ(rows[0]["percentile1"], "");
    EXPECT_EQ(rows[0]["omitted_items1"], "");
    EXPECT_EQ(rows[0]["note"], "no answers stored: not scored");

    EXPECT_EQ(rows[1]["age"], ""); // not available: empty, as a database wants it
    EXPECT_EQ(rows[1]["date_of_birth"], "");
    EXPECT_TRUE(rows[1]["note"].startsWith("10 stored answers unreadable"))
        << rows[1]["note"].toStdString();
    EXPECT_TRUE(rows[1]["note"].contains("scale 5 not scored: 10 items unanswered"));
    EXPECT_EQ(rows[1]["percentile5"], "");
    EXPECT_FALSE(rows[1]["percentile2"].isEmpty());

    EXPECT_EQ(rows[2]["age_first_arrest"], "");
    EXPECT_EQ(rows[2]["note"], "age at first arrest unreadable");
}

TEST_F(ScoreExportTest, ABadDiskAddsNothingAndTheFileIsOwnerOnly) {
    WriteDataDisk(disk.path(), SampleClients(2));
    TempDir bad;
    WriteDataDisk(bad.path(), SampleClients(52));
    ScoreExport e;
    EXPECT_EQ(e.AddDisk(disk.path()), 2);
    const VError tooMany = CaughtError([&] { e.AddDisk(bad.path()); });
    EXPECT_EQ(tooMany.number(), 9);
    EXPECT_TRUE(tooMany.description().contains(bad.path()));
    EXPECT_EQ(CaughtError([&] { e.AddDisk(bad.file("none")); }).number(), 76);
    EXPECT_EQ(e.Rows(), 2);

    const QString out = bad.file("scores.csv");
    WriteFile(out, "old");
    ::chmod(QFile::encodeName(out).constData(), 0644);
    SaveExport(out, e.Bytes());
    EXPECT_EQ(ReadFile(out), e.Bytes());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(out).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(QDir(bad.path()).entryList({"*.new", ".*.new"}, QDir::Files | QDir::Hidden),
              QStringList());
    // Through a link to a file others may read: the export is still the owner's alone.
    const QString shared = bad.file("shared.csv");
    WriteFile(shared, "old");
    ::chmod(QFile::encodeName(shared).constData(), 0644);
    const QString link = bad.file("link.csv");
    ASSERT_TRUE(QFile::link(shared, link));
    SaveExport(link, e.Bytes());
    ASSERT_EQ(::stat(QFile::encodeName(link).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadFile(shared), "old"); // the link is replaced, not written through
    EXPECT_EQ(SuggestedExportName("/media/court disk", "2026-03-14"),
              "court_disk-scores-2026-03-14.csv");
}

} // namespace

// The score export against the report's own scoring, names, unscorable clients and its file.
#include "reports/ScoreExport.h"
#include "administration/DemoClients.h"
#include "app/Globals.h"
#include "reports/ProgramFiles.h"
#include "scoring/ScoreAndPrint.h"
#include "store/ClientStore.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

using namespace varenta;
using namespace varenta::reports;
using namespace varenta::testing;

namespace {

// The rows by column name, read as RFC 4180 says: quoted fields may hold commas, doubled
// quotes and line ends; every row ends with CR LF.
using Row = QMap<QString, QString>;
std::vector<Row> Rows(const QByteArray& csv) {
    const QString text = QString::fromUtf8(csv);
    std::vector<QStringList> all(1);
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"' && quoted && text.mid(i + 1, 1) == "\"") {
            field += text[++i];
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u',') {
            all.back() << std::exchange(field, QString());
        } else if (!quoted && text.mid(i, 2) == "\r\n") {
            all.back() << std::exchange(field, QString());
            all.emplace_back();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(all.back().isEmpty() && field.isEmpty()) << "the last row ends with CR LF";
    std::vector<Row> rows;
    for (size_t r = 1; r + 1 < all.size(); ++r) {
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

// The row of record `n` of the disk in use holds the figures its report is written from.
void ExpectReportFigures(const Row& row, int n) {
    Globals().CurrentClient = qint16(n);
    scoring::ScoreSheet s;
    scoring::ScoreClient({}, &s);
    SCOPED_TRACE(QStringLiteral("client %1").arg(n).toStdString());
    EXPECT_EQ(row["validity"], s.Percentile[1] >= 95   ? "invalid"
                               : s.Percentile[1] >= 90 ? "inaccurate"
                                                       : "valid");
    for (int scale = 1; scale <= 5; ++scale) {
        const QString k = N(scale);
        EXPECT_EQ(row["omitted_items" + k], N(s.OmittedCount[scale]));
        EXPECT_EQ(row["scored_items" + k], N(s.ScoredItemCount[scale]));
        const bool scored = s.OmittedCount[scale] <= 4; // else "Scale not scored"
        EXPECT_EQ(row["raw" + k], scored ? N(s.RawScore[scale]) : QString()) << scale;
        EXPECT_EQ(row["percentile" + k], scored ? N(s.Percentile[scale]) : QString()) << scale;
        EXPECT_EQ(row["range" + k],
                  scored ? N(scoring::RiskRange(s.Percentile[scale]).range) : QString());
        EXPECT_EQ(row["note"].contains("scale " + k + " not scored"), !scored);
        if (scored && scale <= 4) {
            EXPECT_EQ(row["distribution" + k], N(s.DistributionPercentile[scale])) << scale;
        }
        if (scored && (scale == 2 || scale == 3)) {
            EXPECT_EQ(row["arrest_minimum" + k], s.ArrestMinimum[scale] ? "1" : "0");
        }
    }
}

class ScoreExportTest : public OnDataDisk {
protected:
    void SetUp() override { UseReportProgramDir(program.path()); }
    QByteArray Export(const QStringList& disks, bool withNames = false,
                      ExportFormat format = ExportFormat::Csv) {
        ScoreExport e({format, withNames});
        for (const QString& d : disks)
            e.AddDisk(d);
        return e.Bytes();
    }
};

TEST_F(ScoreExportTest, DemonstrationAndRandomClientsCarryTheirReportsFigures) {
    LoadDisk(0);
    ASSERT_EQ(administration::AddDemoClients(6), 6);
    const QByteArray report = ReadFile(program.file("report.prn")); // none yet
    const std::vector<Row> demo = Rows(Export({disk.path()}));
    EXPECT_EQ(ReadFile(program.file("report.prn")), report) << "the export writes no report";
    ASSERT_EQ(demo.size(), 6u);
    UseDataDisk(disk.path());
    for (int n = 1; n <= 6; ++n) {
        const ClientRecord& r = Globals().Clients[size_t(n)];
        EXPECT_EQ(demo[n - 1]["disk"], disk.path());
        EXPECT_EQ(demo[n - 1]["record"], N(n));
        EXPECT_EQ(demo[n - 1]["gender"], GenderName(r.GenderCode).trimmed());
        ExpectReportFigures(demo[n - 1], n);
    }

    // Random answers (some left out, a few tests invalid) and court histories, on two disks.
    std::mt19937 rng(20261207u);
    const auto pick = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    const char* court[] = {"N", "0", "1", "2", "3", "4", "5", "12", "16", "-1", ""};
    QStringList disks{disk.file("r1"), disk.file("r2")};
    for (const QString& d : disks) {
        std::vector<ClientRecord> clients;
        for (int n = 1; n <= 25; ++n) {
            ClientRecord c = SampleClient(pick(1, 99));
            for (int q = 1; q <= 8; ++q)
                *c.CourtField(q) = Fit(QString::fromLatin1(court[pick(0, 10)]), width::Court);
            c.GenderCode = N(pick(0, 2));
            c.RaceCode = N(pick(0, 6));
            const int blanks = pick(0, 3);
            for (int item = 1; item <= 116; ++item)
                c.Responses[item - 1] =
                    QChar(u'0' + (pick(0, 9) < blanks ? 0 : pick(1, item <= 63 ? 2 : 4)));
            if (pick(0, 6) == 0)
                c.Responses.replace(0, 63, QString(63, u'1'));
            clients.push_back(c);
        }
        WriteDataDisk(d, clients);
    }
    const std::vector<Row> rows = Rows(Export(disks));
    ASSERT_EQ(rows.size(), 50u);
    for (size_t i = 0; i < rows.size(); ++i) {
        UseDataDisk(disks[int(i / 25)]);
        ExpectReportFigures(rows[i], int(i % 25) + 1);
    }
    const auto count = [&rows](const QString& column, const QString& part) {
        return std::count_if(rows.begin(), rows.end(),
                             [&](const Row& r) { return r[column].contains(part); });
    };
    EXPECT_GT(count("validity", "invalid"), 0) << "the random clients cover invalid tests";
    EXPECT_GT(count("note", "not scored"), 0) << "and scales with too many unanswered items";
}

TEST_F(ScoreExportTest, NamesOnlyWhenAskedAndADeletedNameStillHasItsScores) {
    std::vector<ClientRecord> clients = SampleClients(3);
    clients[0].ClientName = Fit(QStringLiteral("Núñez, \"Tito\""), width::ClientName);
    clients[1].ClientName = Fit(QStringLiteral("=HYPERLINK(1)"), width::ClientName);
    clients[2].NameDeleted = QStringLiteral("1");
    WriteDataDisk(disk.path(), clients);

    const QByteArray plain = Export({disk.path()});
    for (const char* name : {"Tito", "HYPERLINK", "Client 3"})
        EXPECT_FALSE(plain.contains(name)) << name;
    EXPECT_FALSE(plain.startsWith("disk,record,client_id,name,"));
    const std::vector<Row> rows = Rows(Export({disk.path()}, true));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]["name"], "Núñez, \"Tito\"");
    EXPECT_EQ(rows[1]["name"], "'=HYPERLINK(1)"); // never a formula in a spreadsheet
    EXPECT_EQ(rows[2]["name"], "");
    EXPECT_EQ(rows[2]["name_deleted"], "1");
    EXPECT_FALSE(rows[2]["percentile2"].isEmpty());

    // JSON lines: the same rows, numbers as numbers, empty fields as null.
    const QList<QByteArray> lines =
        Export({disk.path()}, true, ExportFormat::JsonLines).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject first = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(first.keys().size(), ExportColumns(true).size());
    EXPECT_EQ(first["name"].toString(), "Núñez, \"Tito\"");
    EXPECT_EQ(first["percentile2"].toInt(), rows[0]["percentile2"].toInt());
    EXPECT_TRUE(first["note"].isNull());
}

TEST_F(ScoreExportTest, UnscorableClientsKeepTheirDemographicsAndSayWhy) {
    std::vector<ClientRecord> clients = SampleClients(3);
    clients[0].Responses = QString(116, u'0');
    clients[1].Responses.replace(63, 10, "x 9       "); // read as unanswered, as the report does
    clients[1].Age = QStringLiteral("N ");
    clients[2].Age1stArrest = QStringLiteral("7x");
    WriteDataDisk(disk.path(), clients);
    ScoreExport e;
    EXPECT_EQ(e.AddDisk(disk.path()), 3);
    EXPECT_EQ(e.Unscored(), 1);
    const std::vector<Row> rows = Rows(e.Bytes());
    EXPECT_EQ(rows[0]["client_id"], "ID1");
    EXPECT_EQ(rows[0]["date_of_birth"], "2010-04-05");
    EXPECT_EQ(rows[0]["validity"] + rows[0]["percentile1"] + rows[0]["omitted_items1"], "");
    EXPECT_EQ(rows[0]["note"], "no answers stored: not scored");
    EXPECT_EQ(rows[1]["age"], "");
    EXPECT_TRUE(rows[1]["note"].startsWith("10 stored answers unreadable"));
    EXPECT_TRUE(rows[1]["note"].contains("scale 5 not scored: 10 items unanswered"));
    EXPECT_FALSE(rows[1]["percentile2"].isEmpty());
    EXPECT_EQ(rows[2]["age_first_arrest"], "");
    EXPECT_EQ(rows[2]["note"], "age at first arrest unreadable");
}

TEST_F(ScoreExportTest, TheFileIsReplacedWholeAndOwnerOnlyEvenThroughALink) {
    const QString out = disk.file("scores.csv");
    const QString shared = disk.file("shared.csv");
    for (const QString& f : {out, shared}) {
        WriteFile(f, "old");
        ::chmod(QFile::encodeName(f).constData(), 0644);
    }
    ASSERT_TRUE(QFile::link(shared, disk.file("link.csv")));
    for (const QString& f : {out, disk.file("link.csv")}) {
        SaveExport(f, "new");
        EXPECT_EQ(ReadFile(f), "new");
        EXPECT_EQ(ModeOf(f), 0600) << f.toStdString();
    }
    EXPECT_EQ(ReadFile(shared), "old"); // the link is replaced, not written through
    EXPECT_EQ(SuggestedExportName("/media/court disk", "2026-03-14"),
              "court_disk-scores-2026-03-14.csv");
}

} // namespace

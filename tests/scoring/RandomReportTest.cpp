// Random valid tables and random clients: scoring and report writing must never fail, and
// the score sheet and the report must keep what holds for every client.
#include "scoring/TableFixture.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"

#include <QFile>

namespace varenta::testing {

using namespace varenta::scoring;
namespace {

int Pick(std::mt19937& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}

std::mt19937 Rng() {
    const QByteArray seed = qgetenv("SCORING_SEED");
    return std::mt19937(seed.isEmpty() ? 20261207u : seed.toUInt());
}

ClientRecord RandomClient(std::mt19937& rng) {
    const auto pick = [&rng](int low, int high) { return Pick(rng, low, high); };
    const char* court[] = {"N", "0", "1", "2", "3", "4", "5", "12", "16", "99", "-1", "", "7x"};
    const char* dates[] = {"N",          "n",          "4/5/2010", "12/31/99",
                           "13/01/2010", "02/30/2011", "",         "soon"};
    ClientRecord c = SampleClient(pick(1, 99));
    for (int q = 1; q <= 8; ++q)
        *c.CourtField(q) = Fit(QString::fromLatin1(court[pick(0, 12)]), width::Court);
    c.DateOfBirth = Fit(QString::fromLatin1(dates[pick(0, 7)]), width::DateOfBirth);
    c.GenderCode = QString::number(pick(0, 3));
    c.RaceCode = QString::number(pick(0, 7));
    const int style = pick(0, 3); // mostly valid answers, some blanks, some stray codes
    for (int item = 1; item <= 116; ++item)
        Answer(c, item, style == 3 ? pick(0, 9) : pick(style == 0 ? 1 : 0, item <= 63 ? 2 : 4));
    if (pick(0, 5) == 0) // an invalid test
        c.Responses.replace(0, 63, QString(63, u'1'));
    return c;
}

QByteArray RandomComment(std::mt19937& rng) {
    QByteArray text;
    for (int n = Pick(rng, 0, 300); n > 0; --n)
        text += "ab cdefgh  ijklmnop\0q"[Pick(rng, 0, 20)];
    return text.leftJustified(300, Pick(rng, 0, 1) ? ' ' : '\0');
}

TEST(RandomReports, KeepTheirInvariants) {
    std::mt19937 rng = Rng();
    TempDir program;
    TempDir data;
    Globals().ProgramDir = program.path();
    for (int round = 0; round < 60; ++round) {
        const TableSet tables = TableSet::Random(rng);
        tables.WriteTo(program.path());
        std::vector<ClientRecord> clients;
        QByteArray comments;
        for (int n = 0; n < 4; ++n) {
            clients.push_back(RandomClient(rng));
            comments += RandomComment(rng);
        }
        WriteDataDisk(data.path(), clients);
        WriteFile(data.file("Comments.dat"), comments.left(int(rng() % 1300)));
        UseDataDisk(data.path());
        for (int n = 1; n <= 4; ++n) {
            SCOPED_TRACE(QStringLiteral("round %1, client %2").arg(round).arg(n).toStdString());
            Globals().CurrentClient = qint16(n);
            const bool summary = rng() % 2;
            ScoreSheet s;
            ASSERT_NO_THROW(ScoreClient({summary}, &s));
            const QByteArray report = ReadFile(ReportFilePath());

            for (int scale = 1; scale <= 5; ++scale)
                EXPECT_TRUE(s.Percentile[scale] >= 0 && s.Percentile[scale] <= 100) << scale;
            for (int scale = 2; scale <= 4; ++scale)
                EXPECT_GE(s.Percentile[scale], s.DistributionPercentile[scale]) << scale;
            for (int scale = 1; scale <= 4; ++scale)
                EXPECT_LE(s.ScoredItemCount[scale] + 0, int(tables.scaleItems[scale].size()));
            for (int scale = 1; scale <= 5; ++scale) // only alcohol and drugs have arrest minimums
                EXPECT_TRUE(!s.ArrestMinimum[scale] ||
                            ((scale == 2 || scale == 3) &&
                             QList<int>({40, 60, 70, 89}).contains(s.Percentile[scale])))
                    << scale << ": " << s.Percentile[scale];
            const QList<QStringList> pages = ReportPages(report);
            for (const QStringList& page : pages) {
                EXPECT_LE(page.size(), 60);
                for (const QString& line : page)
                    EXPECT_TRUE(line.size() <= 80 && !line.contains('\f')) << qPrintable(line);
            }
            if (s.Percentile[1] >= 95) // an invalid test
                EXPECT_EQ(pages.size(), 1);
            else
                EXPECT_GE(pages.size(), summary ? 4 : 3);
            EXPECT_EQ(report.count("ONE PAGE SUMMARY"), summary && s.Percentile[1] < 95 ? 1 : 0);

            // The same client and tables give the same report.
            ScoreClient({summary});
            EXPECT_EQ(ReadFile(ReportFilePath()), report);
        }
    }
}

// Damaged table files load or fail with a clear error; they never crash the scoring.
TEST(RandomReports, DamagedTablesFailCleanly) {
    std::mt19937 rng = Rng();
    TempDir program;
    Globals().ProgramDir = program.path();
    const TableSet tables = TableSet::Simple();
    tables.WriteTo(program.path());
    const QByteArray original = tables.ScoringFile();
    const char junk[] = "0123456789,\" -\r\nx";
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = original;
        for (int n = int(rng() % 4) + 1; n > 0; --n) {
            const int at = int(rng() % damaged.size());
            if (rng() % 3 == 0)
                damaged.remove(at, int(rng() % 20));
            else
                damaged[at] = junk[rng() % (sizeof junk - 1)];
        }
        QFile::remove(program.file("QVB.TXT"));
        WriteFile(program.file("QVB.TXT"), damaged);
        try {
            LoadScoringTables();
            LoadClientForScoring(PlainClient(), 1);
            ComputeRawScores();
            ComputePercentiles();
        } catch (const VError& e) {
            EXPECT_TRUE(e.description().startsWith("QVB.TXT") || e.number() == err::Overflow)
                << qPrintable(e.description());
        }
    }
}

} // namespace
} // namespace varenta::testing

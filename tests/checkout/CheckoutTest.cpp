#include "checkout/Checkout.h"
#include "checkout/CheckoutTables.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"
#include "store/ClientStore.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::checkout;
using namespace varenta::testing;

namespace {

// The report's pages, each a list of lines (the form-feed line ends a page).
QList<QStringList> Pages(const QByteArray& report) {
    QList<QStringList> pages{{}};
    for (const QByteArray& line : report.split('\n')) {
        if (line.isEmpty())
            continue; // after the final CR LF
        EXPECT_TRUE(line.endsWith('\r')) << line.constData();
        const QByteArray text = line.chopped(1);
        if (text == "\f")
            pages.append(QStringList());
        else
            pages.last() << QString::fromLatin1(text);
    }
    if (pages.last().isEmpty())
        pages.removeLast();
    return pages;
}

QStringList RowsMatching(const QStringList& lines, const char* pattern) {
    const QRegularExpression re(QString::fromLatin1(pattern));
    QStringList rows;
    for (const QString& l : lines)
        if (re.match(l).hasMatch())
            rows << l;
    return rows;
}

// The four [raw pct dist] groups of a truth-correction row.
std::vector<std::array<int, 3>> Groups(const QString& row) {
    std::vector<std::array<int, 3>> out;
    const QRegularExpression re(QStringLiteral("\\[(-?\\d+) +(-?\\d+) +(-?\\d+) *\\]"));
    for (auto it = re.globalMatch(row); it.hasNext();) {
        const auto m = it.next();
        out.push_back({m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()});
    }
    return out;
}

class CheckoutReports : public ::testing::Test {
protected:
    void SetUp() override {
        Globals().ProgramDir = dir.path();
        tables.Write(dir.path());
    }
    TempDir dir;
    CheckoutTables tables;
};

} // namespace

TEST(Checkout, ScratchClientAndDeviation) {
    ClientRecord fresh;
    InitializeClient(fresh, 52);
    EXPECT_EQ(fresh.ClientName.trimmed(), QStringLiteral("Automated Checkout 52"));
    EXPECT_EQ(fresh.Responses, BaselineResponses());
    EXPECT_EQ(fresh.ToBytes().size(), RecordLength); // every field at its width

    // A name and answers already there are kept.
    ClientRecord kept;
    kept.ClientName = Fit(QStringLiteral("Someone"), width::ClientName);
    kept.Responses = QString(116, QLatin1Char('3'));
    InitializeClient(kept, 7);
    EXPECT_EQ(kept.ClientName.trimmed(), QStringLiteral("Someone"));
    EXPECT_EQ(kept.Responses, QString(116, QLatin1Char('3')));

    QString a = QStringLiteral("1240");
    for (int item = 0; item <= 5; ++item) // 0 and 5 are outside these answers
        DeviateItem(a, item);
    EXPECT_EQ(a, QStringLiteral("2111"));
}

TEST_F(CheckoutReports, TruthCorrectionPassesDifferOnlyByTheScaleDeviations) {
    CheckoutSession session;
    const QList<QStringList> pages =
        Pages(session.BuildReport(ReportKind::TruthCorrection, GenderChoice::Male));
    ASSERT_EQ(pages.size(), 2); // a page break after pass 1 only

    const QString dashes30 = QString(30, QLatin1Char(' ')) + QString(30, QLatin1Char('-'));
    for (int pass = 0; pass < 2; ++pass) {
        const QStringList& p = pages[pass];
        ASSERT_GE(p.size(), 8);
        EXPECT_EQ(p[0], QString());
        EXPECT_EQ(p[1], QString(30, QLatin1Char(' ')) +
                            (pass == 0 ? QStringLiteral("Truth Correction, Zero Deviant")
                                       : QStringLiteral("Truth Correction, One Deviant")));
        EXPECT_EQ(p[2], dashes30);
        EXPECT_EQ(p[3], QString());
        EXPECT_EQ(p[4],
                  QString(15, QLatin1Char(' ')) +
                      QStringLiteral(
                          "KEY:  [Raw Point] - [Percentile] - [Percentile From Distribution]"));
        EXPECT_EQ(p[5] + p[6], QString());
        EXPECT_EQ(p[7],
                  QStringLiteral(" ROW TRUTHFULNESS ALCOHOL      DRUGS        AGGRESSIVENESS"));
        EXPECT_EQ(RowsMatching(p, "^-{52}$").size(), 12);
    }

    const QStringList zero = RowsMatching(pages[0], "^ \\d+ +\\[");
    const QStringList one = RowsMatching(pages[1], "^ \\d+ +\\[");
    ASSERT_EQ(zero.size(), 12);
    ASSERT_EQ(one.size(), 12);
    EXPECT_EQ(zero[0].left(6), QStringLiteral(" 1   ["));
    EXPECT_EQ(zero[11].left(6), QStringLiteral(" 12  ["));
    // What the first items of scales 2, 3 and 4 earn when deviated.
    const auto deviated = [&](int item) {
        return tables.Points(item, BaselineResponses()[item - 1] == QLatin1Char('1') ? 2 : 1);
    };
    const int firstItemPoints[5] = {0, 0, deviated(20), deviated(30), deviated(40)};
    for (int k = 0; k < 12; ++k) {
        const auto z = Groups(zero[k]);
        const auto o = Groups(one[k]);
        ASSERT_EQ(z.size(), 4u);
        ASSERT_EQ(o.size(), 4u);
        EXPECT_EQ(z[0][0], k + 1);          // row k has the first k truthfulness items deviated
        EXPECT_EQ(z[0][1], 10 + 1 + k + 1); // the male, white norms
        EXPECT_EQ(z[0], o[0]);
        for (int s = 2; s <= 4; ++s)
            EXPECT_EQ(o[size_t(s - 1)][0], z[size_t(s - 1)][0] + firstItemPoints[s])
                << "row " << k + 1;
    }

    // Scored with the chosen gender's norms.
    const QList<QStringList> female =
        Pages(session.BuildReport(ReportKind::TruthCorrection, GenderChoice::Female));
    EXPECT_EQ(Groups(RowsMatching(female[0], "^ \\d+ +\\[")[0])[0][1], 20 + 1 + 1);
}

TEST_F(CheckoutReports, DistributionsCoverEachGenderRaceAndScale) {
    CheckoutSession session;
    const QList<QStringList> both =
        Pages(session.BuildReport(ReportKind::ScaleDistributions, GenderChoice::Both));
    ASSERT_EQ(both.size(), 18);
    const std::vector<int>* lists[3] = {&tables.scale2, &tables.scale3, &tables.scale4};
    const char* names[3] = {"ALCOHOL", "DRUGS", "AGGRESSIVENESS"};
    const char* races[3] = {"WHITE", "BLACK", "HISPANIC"};
    int n = 0;
    for (int g = 1; g <= 2; ++g) {
        for (int r = 1; r <= 3; ++r) {
            for (int s = 2; s <= 4; ++s, ++n) {
                const QStringList& p = both[n];
                const std::vector<int>& items = *lists[s - 2];
                ASSERT_EQ(p.size(), 5 + int(items.size()))
                    << p.join(QLatin1Char('\n')).toStdString();
                EXPECT_EQ(p[0], QStringLiteral("Varenta - %1 - %2")
                                    .arg(QLatin1String(g == 1 ? "MALE" : "FEMALE"),
                                         QLatin1String(races[r - 1])));
                EXPECT_EQ(p[1],
                          QString::fromLatin1(names[s - 2]) + QStringLiteral(" SCALE SCORING "));
                EXPECT_EQ(p[2],
                          QStringLiteral("      TRUE OR YES ANSWERS            FALSE OR NO ANSWERS"
                                         "            ZERO ANSWERS"));
                EXPECT_EQ(p[3], QStringLiteral(
                                    "   QU   SC   RP    R%    D%       QU   SC   RP    R%    D%"
                                    "       QU   SC   RP    R%    D%"));
                EXPECT_EQ(p[4], QStringLiteral(
                                    "   --   --   --    --    --       --   --   --    --    --"
                                    "       --   --   --    --    --"));
                for (size_t i = 0; i < items.size(); ++i) {
                    const QStringList f = p[5 + int(i)].split(QLatin1Char(' '), Qt::SkipEmptyParts);
                    ASSERT_EQ(f.size(), 15);
                    const int answers[3] = {1, 2, 0};
                    for (int a = 0; a < 3; ++a) {
                        EXPECT_EQ(f[a * 5].toInt(), items[i]);
                        EXPECT_EQ(f[a * 5 + 1].toInt(), s);
                        // Only this item earns points on top of the baseline, and no minimum
                        // rule fires for a single 1- or 2-point answer.
                        const int raw = tables.Points(items[i], answers[a]);
                        if (items[i] == 104 || raw == 3)
                            continue; // item 104 shifts scales; a 3-point answer lifts the
                                      // percentile
                        EXPECT_EQ(f[a * 5 + 2].toInt(), raw)
                            << "item " << items[i] << " answer " << answers[a];
                        const int pct = raw == 0 ? 0 : std::min(10 * g + r + raw, 28);
                        EXPECT_EQ(f[a * 5 + 3].toInt(), pct);
                        EXPECT_EQ(f[a * 5 + 4].toInt(), pct);
                    }
                }
            }
        }
    }

    // A chosen gender limits the report to that gender's nine tables.
    const QList<QStringList> female =
        Pages(session.BuildReport(ReportKind::ScaleDistributions, GenderChoice::Female));
    ASSERT_EQ(female.size(), 9);
    for (const QStringList& p : female)
        EXPECT_TRUE(p[0].startsWith(QStringLiteral("Varenta - FEMALE - ")));
    EXPECT_EQ(female[0].mid(5), both[9].mid(5));
}

TEST_F(CheckoutReports, AStressNamedScaleTriesTheStressCopingItems) {
    tables.scaleNames[3] = QStringLiteral("STRESS RESISTANCE");
    tables.Write(dir.path());
    CheckoutSession session;
    const QList<QStringList> pages =
        Pages(session.BuildReport(ReportKind::ScaleDistributions, GenderChoice::Male));
    ASSERT_EQ(pages.size(), 9);
    const QStringList& stress = pages[2];
    EXPECT_EQ(stress[1], QStringLiteral("STRESS RESISTANCE SCALE SCORING "));
    ASSERT_EQ(stress.size(), 5 + 30); // items 64..96 but 77, 85 and 91
    EXPECT_TRUE(stress[5].startsWith(QStringLiteral("   64    5   ")));
    EXPECT_TRUE(stress.last().startsWith(QStringLiteral("   96    5   ")));
    EXPECT_TRUE(stress[5].endsWith(QStringLiteral("N/A")));
    EXPECT_EQ(pages[1].size(), 5 + int(tables.scale3.size())); // the other scales as usual
}

TEST_F(CheckoutReports, MinimumScoresClimbTheRuleLadder) {
    CheckoutSession session;
    const QList<QStringList> pages =
        Pages(session.BuildReport(ReportKind::MinimumScaleScores, GenderChoice::Male));
    ASSERT_EQ(pages.size(), 9);
    const QStringList& alcohol = pages[0];
    EXPECT_EQ(alcohol[0], QStringLiteral("Varenta - MALE - WHITE"));
    EXPECT_EQ(alcohol[1], QStringLiteral("Minimum ALCOHOL SCALE SCORING "));
    EXPECT_EQ(alcohol[2], QString());
    EXPECT_EQ(alcohol[3], QStringLiteral("      2 POINT ANSWERS               3 POINT ANSWERS"));
    EXPECT_EQ(alcohol[4],
              QStringLiteral("   QU   SC   RP    R%    D%       QU   SC   RP    R%    D%"));
    ASSERT_EQ(alcohol.size(), 6 + int(tables.rules2.size())); // entries of 0 are no items
    const auto fields = [](const QString& half) {
        return half.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };
    for (int row = 0; row < 5; ++row) {
        const QString& line = alcohol[6 + row];
        const QString qu = QString::number(tables.rules2[size_t(row)]);
        EXPECT_EQ(line.mid(3, 3).trimmed(), qu);
        EXPECT_EQ(line.mid(34, 3).trimmed(), qu) << "the 3-point answer starts at column 35";
    }
    // Item 20 has only a 2-point answer, items 21 and 22 only a 3-point one; item 104 counts
    // as a 3-point answer for the alcohol scale whatever its points.
    EXPECT_EQ(fields(alcohol[6].left(34)), QStringList({"20", "2", "2", "13", "13"}));
    EXPECT_EQ(fields(alcohol[6].mid(34)), QStringList({"20", "2", "no", "3-point", "answer"}));
    EXPECT_EQ(fields(alcohol[7].left(34)), QStringList({"21", "2", "no", "2-point", "answer"}));
    EXPECT_EQ(fields(alcohol[10].left(34)), QStringList({"104", "2", "no", "2-point", "answer"}));
    // The 3-point answers accumulate: one (no alcohol rule for it), two (37), three with
    // item 64 (45), four with item 104 (57); the distribution percentile stays with the norms.
    EXPECT_EQ(fields(alcohol[7].mid(34)), QStringList({"21", "2", "3", "14", "14"}));
    EXPECT_EQ(fields(alcohol[8].mid(34)), QStringList({"22", "2", "6", "37", "17"}));
    EXPECT_EQ(fields(alcohol[9].mid(34)), QStringList({"64", "2", "9", "45", "20"}));
    EXPECT_EQ(fields(alcohol[10].mid(34)), QStringList({"104", "2", "12", "57", "23"}));
    // The 2-point answers: two of them match no rule.
    EXPECT_EQ(fields(alcohol[9].left(34)), QStringList({"64", "2", "4", "15", "15"}));

    // Drugs: a single 3-point answer (item 31, row 2 of its table) lifts the percentile to 18,
    // while its distribution percentile stays with the norms.
    const QStringList& drugs = pages[1];
    ASSERT_EQ(drugs.size(), 6 + int(tables.rules3.size()));
    const QStringList f = drugs[7].mid(34).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    EXPECT_EQ(f[0].toInt(), 31);
    EXPECT_EQ(f[2].toInt(), 3);
    EXPECT_EQ(f[3].toInt(), 18);
    EXPECT_EQ(f[4].toInt(), 10 + 1 + 3);
}

TEST_F(CheckoutReports, ABrokenTableLeavesTheLastReportAlone) {
    CheckoutSession session;
    session.WriteReport(ReportKind::MinimumScaleScores, GenderChoice::Male);
    const QByteArray before = ReadFile(ReportFilePath());
    ASSERT_FALSE(before.isEmpty());
    WriteFile(dir.file(QStringLiteral("QVB.TXT")), "1,2,3\r\n");
    EXPECT_THROW(session.WriteReport(ReportKind::ScaleDistributions, GenderChoice::Both), VError);
    EXPECT_EQ(ReadFile(ReportFilePath()), before);
}

TEST(Checkout, ScratchClientNeverTouchesTheStoredClients) {
    TempDir disk;
    std::vector<ClientRecord> clients;
    for (int n = 1; n <= MaxClients; ++n)
        clients.push_back(SampleClient(n));
    WriteDataDisk(disk.path(), clients);
    UseDataDisk(disk.path());
    TempDir program;
    UseProgramDir(program.path());
    Globals().CurrentClient = 17;
    const QByteArray file = ReadFile(Globals().DataFilePath);
    const auto stored = Globals().Clients;
    {
        CheckoutSession session;
        EXPECT_EQ(session.slot(), MaxClients + 1); // a full disk has no free slot: none is used
        EXPECT_EQ(session.client().ClientName.trimmed(), QStringLiteral("Automated Checkout 52"));
        for (ReportKind kind : {ReportKind::TruthCorrection, ReportKind::ScaleDistributions,
                                ReportKind::MinimumScaleScores})
            session.WriteReport(kind, GenderChoice::Female);
        Globals().CurrentClient = 3; // whatever happens while it runs
    }
    EXPECT_EQ(Globals().CurrentClient, 17);
    EXPECT_EQ(Globals().ClientCount, MaxClients);
    EXPECT_TRUE(Globals().Clients == stored);
    EXPECT_EQ(ReadFile(Globals().DataFilePath), file);
}

TEST(Checkout, ReportShapesFollowTheShippedTables) {
    TempDir program;
    UseProgramDir(program.path());
    CheckoutSession session;

    const QList<QStringList> truth =
        Pages(session.BuildReport(ReportKind::TruthCorrection, GenderChoice::Male));
    const int truthItems = int(Tables().ScaleItems[1].size());
    ASSERT_GT(truthItems, 0);
    ASSERT_EQ(truth.size(), 2);
    for (const QStringList& pass : truth)
        EXPECT_EQ(RowsMatching(pass, "^ \\d+ +(\\[-?\\d+ +-?\\d+ +-?\\d+ *\\]){4}$").size(),
                  truthItems);

    const QList<QStringList> distributions =
        Pages(session.BuildReport(ReportKind::ScaleDistributions, GenderChoice::Both));
    ASSERT_EQ(distributions.size(), 18);
    for (int n = 0; n < 18; ++n) {
        const int s = 2 + n % 3;
        const QStringList& p = distributions[n];
        ASSERT_EQ(p.size(), 5 + int(Tables().ScaleItems[size_t(s)].size())) << "table " << n;
        for (int row = 5; row < p.size(); ++row)
            EXPECT_EQ(p[row].split(QLatin1Char(' '), Qt::SkipEmptyParts).size(), 15)
                << p[row].toStdString();
    }

    const QList<QStringList> minimum =
        Pages(session.BuildReport(ReportKind::MinimumScaleScores, GenderChoice::Both));
    ASSERT_EQ(minimum.size(), 18);
    const int first[5] = {0, 0, 1, 14, 31};
    const int last[5] = {0, 0, 13, 30, 45};
    for (int n = 0; n < 18; ++n) {
        const int s = 2 + n % 3;
        int rules = 0;
        for (int pos = first[s]; pos <= last[s]; ++pos)
            rules += Tables().MinimumRuleItems[size_t(pos)] > 0 ? 1 : 0;
        EXPECT_EQ(minimum[n].size(), 6 + rules) << "table " << n;
    }
}

TEST(Checkout, CommandLineWritesTheWindowsReport) {
    const QString cli = BuiltProgramDir() + QStringLiteral("/varenta-cli");
    if (!QFileInfo::exists(cli))
        GTEST_SKIP() << "varenta-cli is not built";
    TempDir program;
    UseProgramDir(program.path());
    const auto run = [&](const QStringList& args, QByteArray* err = nullptr) {
        QProcess p;
        p.start(cli, QStringList{QStringLiteral("checkout"), QStringLiteral("--program-dir"),
                                 program.path()} +
                         args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
        if (err)
            *err = p.readAllStandardError();
        return p.exitCode();
    };

    ASSERT_EQ(run({QStringLiteral("--report"), QStringLiteral("minimum"),
                   QStringLiteral("--gender"), QStringLiteral("female")}),
              0);
    CheckoutSession session;
    EXPECT_EQ(ReadFile(ReportFilePath()),
              session.BuildReport(ReportKind::MinimumScaleScores, GenderChoice::Female));

    const QByteArray before = ReadFile(ReportFilePath());
    for (const QStringList& bad :
         {QStringList{QStringLiteral("--report"), QStringLiteral("truth")},
          QStringList{QStringLiteral("--report"), QStringLiteral("everything")},
          QStringList{QStringLiteral("--report"), QStringLiteral("minimum"),
                      QStringLiteral("--gender"), QStringLiteral("x")},
          QStringList{}}) {
        QByteArray err;
        EXPECT_NE(run(bad, &err), 0) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(err.contains("varenta-cli checkout: ")) << err.constData();
    }
    EXPECT_EQ(ReadFile(ReportFilePath()), before);
}

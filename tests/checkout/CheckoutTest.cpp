#include "checkout/CheckoutTables.h"
#include "scoring/TableFixture.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"
#include "store/ClientStore.h"
#include "support/ProcessRun.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace varenta;
using namespace varenta::checkout;
using namespace varenta::testing;

namespace {

QStringList RowsMatching(const QStringList& lines, const char* pattern) {
    return lines.filter(QRegularExpression(QString::fromLatin1(pattern)));
}

QStringList Fields(const QString& line) {
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The four [raw pct dist] groups of a truth-correction row.
std::vector<std::array<int, 3>> Groups(const QString& row) {
    std::vector<std::array<int, 3>> out;
    const QRegularExpression re("\\[(-?\\d+) +(-?\\d+) +(-?\\d+) *\\]");
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
    QList<QStringList> Build(ReportKind kind, GenderChoice gender) {
        return ReportPages(session.BuildReport(kind, gender));
    }
    TempDir dir;
    CheckoutTables tables;
    CheckoutSession session;
};

} // namespace

TEST(Checkout, DeviationChangesOnlyItemsOfTheTest) {
    QString a = "1240";
    for (int item = 0; item <= 5; ++item) // 0 and 5 are outside these answers
        DeviateItem(a, item);
    EXPECT_EQ(a, "2111");
}

TEST_F(CheckoutReports, TruthCorrectionPassesDifferOnlyByTheScaleDeviations) {
    const QList<QStringList> pages = Build(ReportKind::TruthCorrection, GenderChoice::Male);
    ASSERT_EQ(pages.size(), 2); // a page break after pass 1 only
    const QString pad30(30, QLatin1Char(' '));
    for (int pass = 0; pass < 2; ++pass) {
        const QString title = pass ? "One Deviant" : "Zero Deviant";
        EXPECT_EQ(
            pages[pass].mid(0, 8),
            QStringList({"", pad30 + "Truth Correction, " + title, pad30 + QString(30, u'-'), "",
                         QString(15, u' ') + "KEY:  [Raw Point] - [Percentile] - [Percentile From "
                                             "Distribution]",
                         "", "", " ROW TRUTHFULNESS ALCOHOL      DRUGS        AGGRESSIVENESS"}));
        EXPECT_EQ(RowsMatching(pages[pass], "^-{52}$").size(), 12);
    }

    const QStringList zero = RowsMatching(pages[0], "^ \\d+ +\\[");
    const QStringList one = RowsMatching(pages[1], "^ \\d+ +\\[");
    ASSERT_EQ(zero.size(), 12);
    ASSERT_EQ(one.size(), 12);
    EXPECT_EQ(zero[0].left(6), " 1   [");
    EXPECT_EQ(zero[11].left(6), " 12  [");
    for (int k = 0; k < 12; ++k) {
        SCOPED_TRACE(k + 1);
        const auto z = Groups(zero[k]);
        const auto o = Groups(one[k]);
        ASSERT_EQ(z.size(), 4u);
        ASSERT_EQ(o.size(), 4u);
        EXPECT_EQ(z[0][0], k + 1);          // row k has the first k truthfulness items deviated
        EXPECT_EQ(z[0][1], 10 + 1 + k + 1); // the male, white norms
        EXPECT_EQ(z[0], o[0]);
        for (int s = 2; s <= 4; ++s) { // pass 2 deviates the first item of each scale
            const int item = tables.items[s].front();
            const int points =
                tables.Points(item, BaselineResponses()[item - 1] == QLatin1Char('1') ? 2 : 1);
            EXPECT_EQ(o[size_t(s - 1)][0], z[size_t(s - 1)][0] + points);
        }
    }
}

TEST_F(CheckoutReports, DistributionsCoverEachGenderRaceAndScale) {
    const QList<QStringList> both = Build(ReportKind::ScaleDistributions, GenderChoice::Both);
    ASSERT_EQ(both.size(), 18);
    const char* races[3] = {"WHITE", "BLACK", "HISPANIC"};
    const QStringList heading = {
        "      TRUE OR YES ANSWERS            FALSE OR NO ANSWERS            ZERO ANSWERS",
        "   QU   SC   RP    R%    D%       QU   SC   RP    R%    D%       QU   SC   RP    R%    D%",
        "   --   --   --    --    --       --   --   --    --    --       --   --   --    --    "
        "--"};
    for (int n = 0; n < 18; ++n) {
        const int g = 1 + n / 9, r = 1 + n / 3 % 3, s = 2 + n % 3;
        const QStringList& p = both[n];
        const std::vector<int>& items = tables.items[s];
        ASSERT_EQ(p.size(), 5 + int(items.size())) << p.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(p[0],
                  QString("Varenta - ") + (g == 1 ? "MALE" : "FEMALE") + " - " + races[r - 1]);
        EXPECT_EQ(p[1], tables.scaleNames[s - 1] + " SCALE SCORING ");
        EXPECT_EQ(p.mid(2, 3), heading);
        for (size_t i = 0; i < items.size(); ++i) {
            const QStringList f = Fields(p[5 + int(i)]);
            ASSERT_EQ(f.size(), 15);
            const int answers[3] = {1, 2, 0};
            for (int a = 0; a < 3; ++a) {
                SCOPED_TRACE(::testing::Message()
                             << "table " << n << " item " << items[i] << " answer " << answers[a]);
                EXPECT_EQ(f[a * 5].toInt(), items[i]);
                EXPECT_EQ(f[a * 5 + 1].toInt(), s);
                // Only this item earns points on top of the baseline, and no minimum rule fires
                // for a single 1- or 2-point answer; item 104 shifts scales, and a 3-point
                // answer lifts the percentile.
                const int raw = tables.Points(items[i], answers[a]);
                if (items[i] == 104 || raw == 3)
                    continue;
                EXPECT_EQ(f[a * 5 + 2].toInt(), raw);
                const int pct = raw == 0 ? 0 : std::min(10 * g + r + raw, 28);
                EXPECT_EQ(f[a * 5 + 3].toInt(), pct);
                EXPECT_EQ(f[a * 5 + 4].toInt(), pct);
            }
        }
    }

    // A chosen gender limits the report to that gender's nine tables.
    const QList<QStringList> female = Build(ReportKind::ScaleDistributions, GenderChoice::Female);
    ASSERT_EQ(female.size(), 9);
    for (const QStringList& p : female)
        EXPECT_TRUE(p[0].startsWith("Varenta - FEMALE - "));
    EXPECT_EQ(female[0].mid(5), both[9].mid(5));
}

TEST_F(CheckoutReports, AStressNamedScaleTriesTheStressCopingItems) {
    tables.scaleNames[3] = "STRESS RESISTANCE";
    tables.Write(dir.path());
    const QList<QStringList> pages = Build(ReportKind::ScaleDistributions, GenderChoice::Male);
    ASSERT_EQ(pages.size(), 9);
    const QStringList& stress = pages[2];
    EXPECT_EQ(stress[1], "STRESS RESISTANCE SCALE SCORING ");
    ASSERT_EQ(stress.size(), 5 + 30); // items 64..96 but 77, 85 and 91
    EXPECT_TRUE(stress[5].startsWith("   64    5   "));
    EXPECT_TRUE(stress.last().startsWith("   96    5   "));
    EXPECT_TRUE(stress[5].endsWith("N/A"));
    EXPECT_EQ(pages[1].size(), 5 + int(tables.items[3].size())); // the other scales as usual
}

TEST_F(CheckoutReports, MinimumScoresClimbTheRuleLadder) {
    const QList<QStringList> pages = Build(ReportKind::MinimumScaleScores, GenderChoice::Male);
    ASSERT_EQ(pages.size(), 9);
    // Item 20 has only a 2-point answer, items 21 and 22 only a 3-point one; item 104 counts
    // as a 3-point answer for the alcohol scale whatever its points. The 3-point answers
    // accumulate: one (no alcohol rule for it), two (37), three with item 64 (45), four with
    // item 104 (57); two 2-point answers match no rule. The distribution percentile stays with
    // the norms. Entries of 0 in the rule list are no items.
    const QStringList alcohol = {"Varenta - MALE - WHITE",
                                 "Minimum ALCOHOL SCALE SCORING ",
                                 "",
                                 "      2 POINT ANSWERS               3 POINT ANSWERS",
                                 "   QU   SC   RP    R%    D%       QU   SC   RP    R%    D%",
                                 "   --   --   --    --    --       --   --   --    --    --",
                                 "   20    2   2     13    13       20    2   no 3-point answer",
                                 "   21    2   no 2-point answer    21    2   3     14    14 ",
                                 "   22    2   no 2-point answer    22    2   6     37    17 ",
                                 "   64    2   4     15    15       64    2   9     45    20 ",
                                 "   104   2   no 2-point answer    104   2   12    57    23 "};
    EXPECT_EQ(pages[0], alcohol);
    // Drugs: a single 3-point answer (item 31) lifts the percentile to 18.
    ASSERT_EQ(pages[1].size(), 6 + int(tables.items[3].size()));
    EXPECT_EQ(pages[1][7], "   31    3   no 2-point answer    31    3   3     18    14 ");
}

TEST_F(CheckoutReports, ABrokenTableLeavesTheLastReportAlone) {
    session.WriteReport(ReportKind::MinimumScaleScores, GenderChoice::Male);
    const QByteArray before = ReadFile(scoring::ReportFilePath());
    ASSERT_FALSE(before.isEmpty());
    WriteFile(dir.file("QVB.TXT"), "1,2,3\r\n");
    EXPECT_THROW(session.WriteReport(ReportKind::ScaleDistributions, GenderChoice::Both), VError);
    EXPECT_EQ(ReadFile(scoring::ReportFilePath()), before);
}

// The shipped tables on a data disk with every slot taken: each report has the shape its
// tables give, and the stored clients, their file and CurrentClient are left as they were.
TEST(Checkout, ShippedTablesOnAFullDisk) {
    TempDir disk, program;
    WriteDataDisk(disk.path(), SampleClients(MaxClients));
    UseDataDisk(disk.path());
    UseProgramDir(program.path());
    Globals().CurrentClient = 17;
    const QByteArray file = ReadFile(Globals().DataFilePath);
    const auto stored = Globals().Clients;
    {
        CheckoutSession session;
        EXPECT_EQ(session.slot(), MaxClients + 1); // a full disk has no free slot: none is used
        EXPECT_EQ(session.client().ClientName.trimmed(), "Automated Checkout 52");

        const auto build = [&](ReportKind kind, GenderChoice gender) {
            return ReportPages(session.BuildReport(kind, gender));
        };
        const auto truth = build(ReportKind::TruthCorrection, GenderChoice::Male);
        ASSERT_GT(scoring::Tables().ScaleItems[1].size(), 0u);
        ASSERT_EQ(truth.size(), 2);
        for (const QStringList& pass : truth)
            EXPECT_EQ(RowsMatching(pass, "^ \\d+ +(\\[-?\\d+ +-?\\d+ +-?\\d+ *\\]){4}$").size(),
                      int(scoring::Tables().ScaleItems[1].size()));

        const auto distributions = build(ReportKind::ScaleDistributions, GenderChoice::Both);
        const auto minimum = build(ReportKind::MinimumScaleScores, GenderChoice::Both);
        ASSERT_EQ(distributions.size(), 18);
        ASSERT_EQ(minimum.size(), 18);
        const int firstRule[5] = {0, 0, 1, 14, 31};
        const int lastRule[5] = {0, 0, 13, 30, 45};
        for (int n = 0; n < 18; ++n) {
            SCOPED_TRACE(::testing::Message() << "table " << n);
            const int s = 2 + n % 3;
            const QStringList& p = distributions[n];
            ASSERT_EQ(p.size(), 5 + int(scoring::Tables().ScaleItems[size_t(s)].size()));
            for (int row = 5; row < p.size(); ++row)
                EXPECT_EQ(Fields(p[row]).size(), 15) << p[row].toStdString();
            int rules = 0;
            for (int pos = firstRule[s]; pos <= lastRule[s]; ++pos)
                rules += scoring::Tables().MinimumRuleItems[size_t(pos)] > 0 ? 1 : 0;
            EXPECT_EQ(minimum[n].size(), 6 + rules);
        }

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

TEST(Checkout, CommandLineWritesTheWindowsReport) {
    ASSERT_TRUE(QFileInfo(CliProgram()).isExecutable()) << "varenta-cli is not built";
    TempDir program;
    UseProgramDir(program.path());
    const auto run = [&](const QStringList& args) {
        const CliOutcome r = RunCli(QStringList{"checkout", "--program-dir", program.path()} + args,
                                    QProcessEnvironment::systemEnvironment());
        EXPECT_TRUE(r.out.isEmpty());
        return std::pair(r.code, r.err);
    };

    ASSERT_EQ(run({"--report", "minimum", "--gender", "female"}).first, 0);
    CheckoutSession session;
    EXPECT_EQ(ReadFile(scoring::ReportFilePath()),
              session.BuildReport(ReportKind::MinimumScaleScores, GenderChoice::Female));

    const QByteArray before = ReadFile(scoring::ReportFilePath());
    for (const QStringList& bad : {QStringList{"--report", "truth"},
                                   {"--report", "everything"},
                                   {"--report", "minimum", "--gender", "x"},
                                   {}}) {
        const auto [code, err] = run(bad);
        EXPECT_TRUE(code != 0 && err.contains("varenta-cli checkout: ")) << err.toStdString();
    }
    EXPECT_EQ(ReadFile(scoring::ReportFilePath()), before);
}

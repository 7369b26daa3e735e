// Hand-worked scoring cases on the small tables of TableSet::Simple(): a deviant answer
// earns 1 point in section 1 and its distance from the lowest-risk answer (up to 3) in
// sections 2 and 3; norms are 3 points of percentile per raw point.
#include "scoring/TableFixture.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"

namespace varenta::testing {

using namespace varenta::scoring;
namespace {

// The answer furthest from the lowest-risk one: 1 point in section 1, 3 in the others.
void Deviate(ClientRecord& c, int item) {
    Answer(c, item, c.Responses[item - 1] != QLatin1Char('1') ? 1 : item <= 63 ? 2 : 4);
}

class Scoring : public ::testing::Test {
protected:
    void SetUp() override { Globals().ProgramDir = dir.path(); }

    const ScoreSheet& Score() {
        tables.WriteTo(dir.path());
        SetLayoutConstants();
        LoadScoringTables();
        LoadClientForScoring(client, 7);
        ComputeRawScores();
        ComputePercentiles();
        return Scores();
    }
    void Court(int question, const char* value) {
        *client.CourtField(question) = Fit(QString::fromLatin1(value), width::Court);
    }

    TempDir dir;
    TableSet tables = TableSet::Simple();
    ClientRecord client = PlainClient();
};

TEST_F(Scoring, LowestRiskAnswersScoreNothing) {
    const ScoreSheet& s = Score();
    for (int scale = 1; scale <= 4; ++scale) {
        EXPECT_EQ(s.RawScore[scale], 0) << scale;
        EXPECT_EQ(s.Percentile[scale], 0) << scale;
        EXPECT_EQ(s.OmittedCount[scale], 0) << scale;
    }
    EXPECT_EQ(s.RawScore[5], 16);  // 15 * 60 / 54
    EXPECT_EQ(s.Percentile[5], 9); // band (10, 20]
    EXPECT_EQ(LoadedClient().TestNumber, 7);
}

TEST_F(Scoring, OmittedItemLimit) {
    for (int item : {23, 24, 26})
        Answer(client, item, 0);
    EXPECT_EQ(Score().OmittedCount[2], 3);
    EXPECT_EQ(Scores().Percentile[2], 0);
    Answer(client, 27, 0);
    EXPECT_EQ(Score().OmittedCount[2], 4);
    EXPECT_EQ(Scores().Percentile[2], 99);
    // A code no answer of the section has counts as no answer.
    client.Responses[1] = QLatin1Char('7');
    client.Responses[3] = QLatin1Char('x');
    EXPECT_EQ(Score().OmittedCount[1], 2);
    EXPECT_EQ(Scores().ResponseCodes[2], 0);
}

TEST_F(Scoring, NormLookupAndCaps) {
    for (int item : {23, 24, 26, 27, 28}) // five 1-point answers
        Answer(client, item, 1);
    EXPECT_EQ(Score().RawScore[2], 5);
    EXPECT_EQ(Scores().Percentile[2], 15);

    tables.norms[1][1][2].assign(40, 50);
    client = PlainClient();
    Answer(client, 23, 1);
    EXPECT_EQ(Score().Percentile[2], 28); // one scored item
    Answer(client, 24, 1);
    EXPECT_EQ(Score().Percentile[2], 38); // two
    Answer(client, 26, 1);
    EXPECT_EQ(Score().Percentile[2], 50); // three: no cap

    tables.norms[1][1][4].resize(3); // raw scores above 3 are beyond the norms
    for (int item : {41, 42, 43, 44})
        Deviate(client, item);
    EXPECT_EQ(Score().RawScore[4], 4);
    EXPECT_EQ(Scores().Percentile[4], 99);

    // Gender 2, race 3 read their own norms; unknown codes read as male, Caucasian.
    tables.norms[2][3][3].assign(40, 77);
    client = PlainClient();
    for (int item : {31, 32, 33})
        Deviate(client, item);
    client.GenderCode = "2";
    client.RaceCode = "3";
    EXPECT_EQ(Score().Percentile[3], 77);
    client.GenderCode = "0";
    client.RaceCode = "6";
    EXPECT_EQ(Score().Percentile[3], 9);
}

TEST_F(Scoring, TruthfulnessValidityAndCorrectionBands) {
    for (int item = 1; item <= 63; ++item)
        Answer(client, item, item <= 59 ? 1 : 2);
    EXPECT_NE(Score().RawScore[1], 99);
    Answer(client, 60, 1);
    EXPECT_EQ(Score().RawScore[1], 99);
    EXPECT_EQ(Scores().Percentile[1], 99);

    for (int s = 2; s <= 5; ++s)
        for (int band = 1; band <= 9; ++band)
            tables.truth[s][band] = s * 10 + band;
    const std::pair<int, int> cases[] = {{9, 0}, {10, 1}, {19, 1}, {89, 8}, {94, 9}, {95, 9}};
    for (auto [percentile, band] : cases) {
        tables.norms[1][1][1].assign(40, percentile);
        client = PlainClient();
        Answer(client, 2, 1); // truthfulness raw 1
        const ScoreSheet& s = Score();
        EXPECT_EQ(s.Percentile[1], percentile);
        EXPECT_EQ(s.RawScore[2], band ? 20 + band : 0) << percentile;
        const int stress = 16 + (band ? 50 + band : 0);
        EXPECT_EQ(s.RawScore[5], stress) << percentile;
        // The invalid test's 99 is replaced when a band holds the score.
        EXPECT_EQ(s.Percentile[5], (stress + 9) / 10 * 5 - 1) << percentile;
    }
}

TEST_F(Scoring, MinimumRules) {
    Answer(client, 71, 1); // one 3-point answer on scale 3
    EXPECT_EQ(Score().DistributionPercentile[3], 9);
    EXPECT_EQ(Scores().Percentile[3], 18);
    Answer(client, 72, 3); // and one 2-point answer
    EXPECT_EQ(Score().Percentile[3], 38);

    client = PlainClient();
    Answer(client, 78, 1); // one 3-point answer on scale 4
    EXPECT_EQ(Score().Percentile[4], 19);
    client = PlainClient();
    Answer(client, 64, 4); // on scale 2 a single 3-point answer has no rule
    EXPECT_EQ(Score().Percentile[2], 9);
    client = PlainClient();
    Answer(client, 64, 3); // two 2-point answers and nothing else: no rule either
    Answer(client, 66, 3);
    EXPECT_EQ(Score().Percentile[2], 12);

    client = PlainClient();
    for (int item = 78; item <= 84; ++item) // seven 3-point answers, then ten
        Deviate(client, item);
    EXPECT_EQ(Score().Percentile[4], 77);
    for (int item = 106; item <= 108; ++item)
        Answer(client, item, 1);
    EXPECT_EQ(Score().Percentile[4], 92);
}

TEST_F(Scoring, Item104CountsByItsAnswerNotItsPoints) {
    Answer(client, 104, 1); // 3 points on scale 2, and 3 points off the drug scale
    Answer(client, 66, 3);  // one 2-point answer on scale 2
    const ScoreSheet& s = Score();
    EXPECT_EQ(s.RawScore[2], 5);
    EXPECT_EQ(s.RawScore[3], -3);
    EXPECT_EQ(s.Percentile[2], 17); // a 2 and a 3
    EXPECT_EQ(s.Percentile[3], 0);

    client = PlainClient();
    Answer(client, 104, 2); // alcohol loses 3 points; drugs counts a 3 though it earns 2
    EXPECT_EQ(Score().RawScore[2], -1);
    EXPECT_EQ(Scores().Percentile[3], 18);
    Answer(client, 104, 3); // a 3 for both scales
    EXPECT_EQ(Score().Percentile[3], 18);
    EXPECT_EQ(Scores().Percentile[2], 3);
}

TEST_F(Scoring, ArrestMinimums) {
    const std::pair<const char*, int> cases[] = {{"N", 0},  {"1", 40}, {"2", 60},
                                                 {"3", 70}, {"4", 89}, {"12", 89}};
    for (auto [arrests, minimum] : cases) {
        Court(7, arrests);
        Court(8, arrests);
        const ScoreSheet& s = Score();
        EXPECT_EQ(s.ArrestMinimum[2], minimum > 0) << arrests;
        EXPECT_EQ(s.Percentile[2], minimum ? minimum : 0) << arrests;
        EXPECT_EQ(s.Percentile[3], minimum ? minimum : 0) << arrests;
        EXPECT_LE(s.DistributionPercentile[2], 7) << arrests; // no scored item: capped at 7
    }
    // A percentile already above the minimum is left, and not marked.
    tables.norms[1][1][2].assign(40, 95);
    for (int item : {23, 24, 26})
        Answer(client, item, 1);
    Court(7, "1");
    EXPECT_EQ(Score().Percentile[2], 95);
    EXPECT_FALSE(Scores().ArrestMinimum[2]);
}

TEST_F(Scoring, CourtPointsAndAgeAtFirstArrest) {
    const int alcohol[] = {0, 1, 2, 4, 5, 6, 6};
    const int drugs[] = {0, 1, 3, 4, 5, 6, 6};
    const int probation[] = {0, 1, 2, 3, 4, 6, 6};
    for (int n = 0; n <= 6; ++n) {
        const QByteArray v = QByteArray::number(n == 6 ? 15 : n);
        Court(2, v);
        Court(7, v);
        Court(8, v);
        Score();
        EXPECT_EQ(Scores().RawScore[2], alcohol[n]) << n;
        EXPECT_EQ(Scores().RawScore[3], drugs[n]) << n;
        EXPECT_EQ(Scores().RawScore[4], probation[n]) << n;
    }
    Court(2, "N");
    const std::pair<const char*, int> ages[] = {{"N", 0},  {"-1", 0}, {"17", 0},
                                                {"16", 1}, {"15", 2}, {"13", 4},
                                                {"11", 5}, {"0", 5},  {"", 5}};
    for (auto [age, points] : ages) {
        Court(1, age);
        EXPECT_EQ(Score().RawScore[4], points) << age;
    }
}

TEST_F(Scoring, StressCopingRatioAndBands) {
    for (int item = 64; item <= 96; ++item)
        Answer(client, item, 0);
    const ScoreSheet& s = Score();
    EXPECT_EQ(s.OmittedCount[5], 33);
    EXPECT_EQ(s.RawScore[5], 15); // 15 * 60 / 60
    EXPECT_EQ(s.Percentile[5], 9);

    // Set A all 4, set B all 1: 60 * 60 / 15 = 240, beyond the last boundary: no band.
    client = PlainClient();
    for (int item : {64, 66, 68, 70, 72, 74, 76, 79, 81, 83, 86, 88, 90, 93, 95})
        Answer(client, item, 4);
    for (int item : {65, 67, 69, 71, 73, 75, 78, 80, 82, 84, 87, 89, 92, 94, 96})
        Answer(client, item, 1);
    EXPECT_EQ(Score().RawScore[5], 240);
    EXPECT_EQ(Scores().Percentile[5], 0);

    // A raw score of 0 or less reads as 99; a score on a boundary falls in the band below.
    tables.truth[5].fill(-300);
    tables.norms[1][1][1].assign(40, 50);
    client = PlainClient();
    Answer(client, 2, 1);
    EXPECT_EQ(Score().Percentile[5], 99);
    tables.truth[5].fill(4); // 16 + 4 = 20, in (10, 20]
    EXPECT_EQ(Score().Percentile[5], 9);
    // An invalid test's 99 stays when no band holds the score.
    tables.truth[5].fill(300);
    tables.norms[1][1][1].assign(40, 96);
    EXPECT_EQ(Score().Percentile[5], 99);
}

TEST_F(Scoring, SixteenBitOverflowIsAnError) {
    tables.truth[2].fill(32767);
    tables.norms[1][1][1].assign(40, 50);
    Answer(client, 2, 1);
    Answer(client, 23, 1);
    const VError e = CaughtError([this] { Score(); });
    EXPECT_EQ(e.number(), err::Overflow) << "no overflow reported";
    EXPECT_TRUE(e.description().contains("ALCOHOL")) << qPrintable(e.description());
}

TEST_F(Scoring, RiskRangeAndKeyLabels) {
    Score(); // range names come from the texts
    const std::tuple<int, int, const char*> cases[] = {
        {0, 1, "LOW"},          {39, 1, "LOW"},          {40, 2, "MEDIUM-LOW"},
        {55, 2, "MEDIUM-LOW"},  {56, 2, "MEDIUM-HIGH"},  {69, 2, "MEDIUM-HIGH"},
        {70, 3, "PROBLEM"},     {89, 3, "PROBLEM"},      {90, 4, "MAXIMUM-LOW"},
        {94, 4, "MAXIMUM-LOW"}, {95, 4, "MAXIMUM-HIGH"}, {120, 4, "MAXIMUM-HIGH"}};
    for (auto [p, range, key] : cases) {
        EXPECT_EQ(RiskRange(p).range, range) << p;
        EXPECT_EQ(RiskRange(p).keyLabel, QString::fromLatin1(key)) << p;
    }
}

} // namespace
} // namespace varenta::testing

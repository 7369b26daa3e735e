#pragma once

#include "administration/TestSpec.h"
#include "app/OneBased.h"
#include "store/ClientRecord.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

// Scale scoring and the client report. Scoring is never stored: every report scores the
// client anew from the tables beside the program and rewrites report.prn.
//
// Scales are numbered 1..5 everywhere: 1 Truthfulness, 2 Alcohol, 3 Drugs, 4 Aggressiveness,
// 5 Stress coping.
namespace varenta::scoring {

inline constexpr const char* ReportFileName = "report.prn";
inline constexpr const char* ScoringTablesFileName = "QVB.TXT";
inline constexpr const char* ReportTextsFileName = "QVRPT.TXT";
inline constexpr const char* InvalidTestFileName = "INVAL.TXT";

inline constexpr int ScaleCount = 5;
namespace scale {
inline constexpr int Truthfulness = 1;
inline constexpr int Alcohol = 2;
inline constexpr int Drugs = 3;
inline constexpr int Aggressiveness = 4;
inline constexpr int StressCoping = 5;
} // namespace scale
inline constexpr int NormedScaleCount = 4; // scales 1..4 score listed items against norms
inline constexpr int RangeCount = 4;       // risk ranges, low to high

// What the report makes of the scores: a scale with more unanswered items than this is not
// scored; a truthfulness percentile from the first bound makes the test inaccurate, from the
// second invalid (and every other scale's percentile 99).
inline constexpr int MostOmittedItems = 4;
inline constexpr int InaccurateTruthPercentile = 90;
inline constexpr int InvalidTruthPercentile = 95;

// The shapes of the scoring tables: what they are indexed by and how much each may hold (the
// reader refuses more).
namespace shape {
inline constexpr int Genders = 2;           // 1 male, 2 female
inline constexpr int Races = 3;             // 1 Caucasian, 2 Black, 3 Hispanic
inline constexpr int AnswerCodes = 5;       // codes 0..4, 0 being no answer
inline constexpr int SignificantItems = 24; // 7 of scale 2, 9 of scale 3, 8 of scale 4
inline constexpr int MaxNormRaw = 64;       // norm percentiles per gender, race and scale
inline constexpr int MaxStressBands = 54;
inline constexpr int MaxStressBounds = MaxStressBands + 1;
inline constexpr int MaxScaleItems = 40;
inline constexpr int MinimumRuleItems = 45; // 1-13 scale 2, 14-30 scale 3, 31-45 scale 4
inline constexpr int TruthBands = 9;        // truthfulness percentile 10-19, ..., 90-99
// The multiple-choice items are the last section's; each has four answer texts.
inline constexpr int ChoiceFirstItem = TestSectionEnds[2] + 1;
inline constexpr int ChoiceItems = administration::ItemCount - TestSectionEnds[2];
inline constexpr int ChoiceAnswers = 4;

// The entries of a list that belong to one scale, first to last.
struct Entries {
    int first = 1;
    int last = 0; // none
};
// MinimumRuleItems entries of scales 2, 3 and 4.
constexpr Entries MinimumRuleEntries(int scale) {
    return scale == 2   ? Entries{1, 13}
           : scale == 3 ? Entries{14, 30}
           : scale == 4 ? Entries{31, 45}
                        : Entries{};
}
// SignificantItems entries of scales 2, 3 and 4.
constexpr Entries SignificantItemEntries(int scale) {
    return scale == 2   ? Entries{1, 7}
           : scale == 3 ? Entries{8, 16}
           : scale == 4 ? Entries{17, 24}
                        : Entries{};
}
} // namespace shape

// The stress-coping items: set A counts the answer code (no answer as 1), set B the same with
// no answer as 4; scale 5's raw score is 60 * A / B.
inline constexpr std::array<int, 15> StressSetA = {64, 66, 68, 70, 72, 74, 76, 79,
                                                   81, 83, 86, 88, 90, 93, 95};
inline constexpr std::array<int, 15> StressSetB = {65, 67, 69, 71, 73, 75, 78, 80,
                                                   82, 84, 87, 89, 92, 94, 96};

// The score sheet of the last scoring run, indexed by scale 1..5.
struct ScoreSheet {
    OneBased<qint16, ScaleCount> RawScore;               // scale 1: 99 marks too many True
    OneBased<qint16, ScaleCount> Percentile;             // final percentile
    OneBased<qint16, ScaleCount> DistributionPercentile; // from the norms, capped, before minimums
    OneBased<qint16, ScaleCount> OmittedCount;
    OneBased<qint16, ScaleCount> ScoredItemCount; // items of the scale that earned points
    OneBased<bool, ScaleCount> ArrestMinimum;     // scales 2, 3: percentile raised by arrests
    OneBased<qint16, administration::ItemCount> ItemPoints;    // by item
    OneBased<qint16, administration::ItemCount> ResponseCodes; // by item
};

ScoreSheet& Scores();

// Tables read from QVB.TXT. Gender g: 1 male, 2 female; race r: 1 Caucasian, 2 Black,
// 3 Hispanic. Item numbers in the tables may be 0: an empty place.
struct ScoringTables {
    template <typename T> using ByGenderRace = OneBased<OneBased<T, shape::Races>, shape::Genders>;
    template <typename T> using ByRaceGender = OneBased<OneBased<T, shape::Genders>, shape::Races>;

    OneBased<qint16, shape::SignificantItems> SignificantItems;
    // AnswerKey[section][code 0..4]: digit p is the points of the section's p-th item.
    OneBased<std::array<QByteArray, shape::AnswerCodes>, administration::SectionCount> AnswerKey;
    // NormCount[g][r][s] and Norm[g][r][s][raw 1..NormCount].
    ByGenderRace<OneBased<qint16, NormedScaleCount>> NormCount;
    ByGenderRace<OneBased<OneBased<qint16, shape::MaxNormRaw>, NormedScaleCount>> Norm;
    // StressPercentile[r][g][band 1..StressPercentileCount[r][g]].
    ByRaceGender<qint16> StressPercentileCount;
    ByRaceGender<OneBased<qint16, shape::MaxStressBands>> StressPercentile;
    // StressBound[g][k 1..StressBoundCount[g]], ascending.
    OneBased<qint16, shape::Genders> StressBoundCount;
    OneBased<OneBased<qint16, shape::MaxStressBounds>, shape::Genders> StressBound;
    OneBased<std::vector<qint16>, NormedScaleCount> ScaleItems; // at most MaxScaleItems each
    OneBased<qint16, shape::MinimumRuleItems> MinimumRuleItems;
    // TruthCorrection[s 2..5][band], signed.
    OneBased<OneBased<qint16, shape::TruthBands>, ScaleCount> TruthCorrection;
};

// Texts read from QVRPT.TXT (stored in the Windows code page).
struct ReportTexts {
    OneBased<QString, ScaleCount> ScaleName;
    OneBased<QString, RangeCount> RangeName;                        // low to high
    OneBased<QString, shape::SignificantItems> SignificantItemText; // one per SignificantItems
    // (n - 1) * 4 + c: answer c of the n-th multiple-choice item.
    OneBased<QString, shape::ChoiceItems * shape::ChoiceAnswers> ChoiceText;
};

// What LoadClientForScoring took from the client record.
struct ScoringClient {
    enum DemographicEntry { Name = 1, ID, Age, GenderCode, RaceCode, EducationCode, DateScored };
    OneBased<QString, DateScored> Demographic;
    // In court-history order, trimmed; "N" and "-1" read as "N/A".
    OneBased<QString, CourtFieldCount> Court;
    QString DateOfBirth; // as stored, trimmed
    int TestNumber = 0;  // the client's record number, printed in the report
};

// The tables and texts of the last LoadScoringTables (cleared again when a report is done).
const ScoringTables& Tables();
const ReportTexts& Texts();
const ScoringClient& LoadedClient();

// Sets the test layout (section bounds) used by scoring.
void SetLayoutConstants();

// Reads QVB.TXT and QVRPT.TXT from the program folder. A missing or malformed file throws
// VError naming the file, the line and what was expected; the old tables are then cleared.
void LoadScoringTables();

// Takes the current client's slot (test number CurrentClient).
void LoadClientForScoring();
// Takes a client that need not be stored (the self-check's scratch client).
void LoadClientForScoring(const ClientRecord& client, int testNumber);

// Raw points, omitted and scored counts, item points. 16-bit overflow throws VError.
void ComputeRawScores();
// Percentiles, distribution percentiles and arrest minimums.
void ComputePercentiles();

// Risk range 1..4 of a percentile (below 40, 40-69, 70-89, 90 and above) and the key label
// that selects the summary paragraph.
struct RiskRangeResult {
    int range = 0;
    QString keyLabel;
};
RiskRangeResult RiskRange(int percentile);

struct ReportRequest {
    bool summaryPage = false; // the supervisor's "One-page summary report" box is ticked
};

// Writes report.prn for the current score sheet and loaded client, then clears the tables,
// the texts and the per-item parts of the score sheet. The file is written beside and moved
// into place only when complete.
void WriteReport(const ReportRequest& request = {});

// Scores the current client and writes the report file (program folder). Throws VError
// naming the file (and line) of a missing or malformed table, text or paragraph file; a
// failed run never leaves a report.prn that looks complete. When `beforeReport` is given it
// receives the score sheet as it stood before the report cleared parts of it.
void ScoreClient(const ReportRequest& request = {}, ScoreSheet* beforeReport = nullptr);

// Full path of report.prn: in the program folder, or the user's private report folder when
// the program is installed (made then if missing; throws VError when it cannot be).
QString ReportFilePath();

} // namespace varenta::scoring

#pragma once

#include "store/ClientRecord.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

// Scale scoring and the client report. Scoring is never stored: every report scores the
// client anew from the tables beside the program and rewrites report.prn.
//
// Scales are numbered 1..5 everywhere: 1 Truthfulness, 2 Alcohol, 3 Drugs, 4 Aggressiveness,
// 5 Stress coping. Arrays below are indexed from 1; entry 0 is unused.
namespace varenta::scoring {

inline constexpr const char* ReportFileName = "report.prn";
inline constexpr const char* ScoringTablesFileName = "QVB.TXT";
inline constexpr const char* ReportTextsFileName = "QVRPT.TXT";
inline constexpr const char* InvalidTestFileName = "INVAL.TXT";

inline constexpr int ScaleCount = 5;

// The score sheet of the last scoring run, indexed by scale 1..5 (index 0 unused).
struct ScoreSheet {
    std::array<qint16, 6> RawScore{};               // scale 1: 99 marks too many True answers
    std::array<qint16, 6> Percentile{};             // final percentile
    std::array<qint16, 6> DistributionPercentile{}; // from the norms, capped, before minimums
    std::array<qint16, 6> OmittedCount{};
    std::array<qint16, 6> ScoredItemCount{}; // items of the scale that earned points
    std::array<bool, 6> ArrestMinimum{};     // scales 2, 3: percentile raised by arrests
    std::array<qint16, 117> ItemPoints{};    // by item 1..116
    std::array<qint16, 117> ResponseCodes{}; // by item 1..116
};

ScoreSheet& Scores();

// Tables read from QVB.TXT. Gender g: 1 male, 2 female; race r: 1 Caucasian, 2 Black,
// 3 Hispanic.
struct ScoringTables {
    std::array<qint16, 25> SignificantItems{}; // 1..24: 7 of scale 2, 9 of scale 3, 8 of scale 4
    // AnswerKey[section 1..3][code 0..4]: digit p is the points of the section's p-th item.
    std::array<std::array<QByteArray, 5>, 4> AnswerKey;
    // NormCount[g][r][s] (s 1..4, at most 64) and Norm[g][r][s][raw 1..NormCount].
    std::array<std::array<std::array<qint16, 5>, 4>, 3> NormCount{};
    std::array<std::array<std::array<std::array<qint16, 65>, 5>, 4>, 3> Norm{};
    // StressPercentile[r][g][band 1..StressPercentileCount[r][g]] (at most 54).
    std::array<std::array<qint16, 3>, 4> StressPercentileCount{};
    std::array<std::array<std::array<qint16, 55>, 3>, 4> StressPercentile{};
    // StressBound[g][k 1..StressBoundCount[g]] (at most 55), ascending.
    std::array<qint16, 3> StressBoundCount{};
    std::array<std::array<qint16, 56>, 3> StressBound{};
    std::array<std::vector<qint16>, 5> ScaleItems; // s 1..4, at most 40 items each
    // 1..45: positions 1-13 for scale 2, 14-30 for scale 3, 31-45 for scale 4.
    std::array<qint16, 46> MinimumRuleItems{};
    std::array<std::array<qint16, 10>, 6> TruthCorrection{}; // [s 2..5][band 1..9], signed
};

// Texts read from QVRPT.TXT (stored in the Windows code page).
struct ReportTexts {
    std::array<QString, 6> ScaleName;            // 1..5
    std::array<QString, 5> RangeName;            // 1..4, low to high
    std::array<QString, 25> SignificantItemText; // 1..24, one per SignificantItems entry
    std::array<QString, 77> ChoiceText;          // (n - 1) * 4 + c: answer c of item 97 + n
};

// What LoadClientForScoring took from the client record.
struct ScoringClient {
    // 1 name, 2 ID, 3 age, 4 gender code, 5 race code, 6 education code, 7 date scored.
    std::array<QString, 8> Demographic;
    // 1..8 in court-history order, trimmed; "N" and "-1" read as "N/A".
    std::array<QString, 9> Court;
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

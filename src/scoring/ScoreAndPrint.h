#pragma once

#include "store/ClientRecord.h"

#include <QString>

#include <array>

// Scale scoring and the client report. Scoring is never stored: every report scores the
// client anew from the tables beside the program and rewrites report.prn.
namespace varenta {

inline constexpr const char* ReportFileName = "report.prn";

// The score sheet of the last scoring run, indexed by scale 1..5 (index 0 unused).
struct ScoreSheet {
    std::array<qint16, 6> RawScore{};
    std::array<qint16, 6> Percentile{};
    std::array<qint16, 6> DistributionPercentile{};
    std::array<qint16, 6> OmittedCount{};
    std::array<qint16, 6> ScoredItemCount{};
    std::array<bool, 6> ArrestMinimum{};
    std::array<qint16, 117> ItemPoints{};    // by item 1..116
    std::array<qint16, 117> ResponseCodes{}; // by item 1..116
};

ScoreSheet& Scores();

struct ReportRequest {
    bool summaryPage = false; // the supervisor's "One-page summary report" box is ticked
};

// Scores the current client and writes the report file (program folder). Throws VError
// naming the file (and line) of a missing or malformed table, text or paragraph file; a
// failed run never leaves a report.prn that looks complete.
void ScoreClient(const ReportRequest& request = {});

// Full path of report.prn in the program folder.
QString ReportFilePath();

} // namespace varenta

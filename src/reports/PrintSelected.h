#pragma once

#include "app/Errors.h"
#include "scoring/ScoreAndPrint.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Printing the reports of several clients (chosen ones, or all): every client is scored first
// and its report kept under a numbered copy beside the program; then the copies are printed in
// order. The copies hold confidential reports, so each is deleted as soon as its report has
// gone to the printer, and none is left behind when a run stops.
namespace varenta::reports {

// The numbered copy k (from 1) beside report.prn: "temp" followed by k.
QString TempReportPath(int k);

// Removes what a run cut off by a crash or a power failure left beside the program: the
// numbered copies of a print run and the scratch files of half-written reports, all of them
// confidential. Quiet: what cannot be removed now is removed the next time.
void RemoveLeftoverReports();

struct BatchPrintHooks {
    // Scores the current client and rewrites the report file; ScoreClient when unset.
    std::function<void(const scoring::ReportRequest&)> score;
    // Prints the report file for `client`; false when the user chose not to print after all.
    std::function<bool(int client)> print;
    // The help line while the run goes on ("Printing report 3 of 12"); empty at the end.
    std::function<void(const QString& line)> progress;
    // A step failed for `client`: true to try that step again. Unset: stop at once.
    std::function<bool(int client, const VError& error)> askRetry;
};

struct BatchPrintResult {
    QList<int> printed;    // clients whose reports went to the printer, in order
    QList<int> notPrinted; // the others, in order
    bool declined = false; // the user chose not to print
    bool failed = false;   // a step failed and was not tried again
    bool complete() const { return notPrinted.isEmpty(); }
};

// Prints the reports of `clients` (record numbers, in the order given). Sets CurrentClient to
// each client as it is scored and printed, so it names the last one handled afterwards.
BatchPrintResult PrintClientReports(const QList<int>& clients,
                                    const scoring::ReportRequest& request,
                                    const BatchPrintHooks& hooks);

// Says which clients were printed and which were not, for a run that stopped part-way.
QString BatchSummary(const BatchPrintResult& result);

// "1, 2 and 5" or "1 to 4": record numbers as a user reads them.
QString ClientNumbers(const QList<int>& clients);

} // namespace varenta::reports

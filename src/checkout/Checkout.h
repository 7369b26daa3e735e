#pragma once

#include "store/ClientRecord.h"

#include <QByteArray>
#include <QString>

// The scoring self-check: a scratch client, answer sets that earn no points, systematic
// changes to them, and check reports of what the scoring tables make of each change.
//
// The scratch client is never one of the stored clients: it is a record held here, scored
// through LoadClientForScoring's record overload, never written to the client data file, and
// CurrentClient is given back unchanged when the checkout ends.
namespace varenta::checkout {

// The answers that earn no points, one digit per item 1..116.
QString BaselineResponses();

// Changes the answer to `item` (1..116) so that it deviates from the baseline: "1" becomes
// "2", any other digit "1". Item numbers outside the test change nothing.
void DeviateItem(QString& answers, int item);

// Fills the scratch client: a blank name becomes "Automated Checkout" and the slot number,
// blank answers become the baseline set; age 31, code 1 for gender, race and education, every
// court field "N", and the three one-character fields "0".
void InitializeClient(ClientRecord& client, int slot);

// Whose norms the reports use: both genders, or the one chosen in the window.
enum class GenderChoice { Both = 0, Male = 1, Female = 2 };

enum class ReportKind { TruthCorrection, ScaleDistributions, MinimumScaleScores };

// One checkout run: the scratch client and the test number it is scored under (the slot after
// the last stored client). While it lives, CurrentClient may change; it is restored when the
// session ends, so that nothing scored later is scored for the scratch client.
class CheckoutSession {
public:
    CheckoutSession();
    ~CheckoutSession();
    CheckoutSession(const CheckoutSession&) = delete;
    CheckoutSession& operator=(const CheckoutSession&) = delete;

    int slot() const { return slot_; }
    const ClientRecord& client() const { return client_; }

    // Builds a report from freshly loaded scoring tables. Truth Correction needs a gender
    // (it is scored with that gender's norms); the other two cover the chosen gender, or both.
    // Throws VError when a table file is missing or malformed.
    QByteArray BuildReport(ReportKind kind, GenderChoice gender);

    // Builds the report and writes it as the program folder's report.prn.
    void WriteReport(ReportKind kind, GenderChoice gender);

    // Scores one answer set for the scratch client (the tables must be loaded).
    void ScoreVariant(const QString& answers);

private:
    void Reset(GenderChoice gender);
    QByteArray TruthCorrection(GenderChoice gender);
    QByteArray ScaleDistributions(GenderChoice gender);
    QByteArray MinimumScaleScores(GenderChoice gender);

    ClientRecord client_;
    int slot_ = 1;
    int savedCurrentClient_ = 0;
};

// The answer code (1 and up) that earns exactly `points` on `item` when the item counts for
// `scale` in the minimum rules; 0 when no code does. Needs the scoring tables loaded.
int AnswerEarning(int item, int points, int scale);

} // namespace varenta::checkout

#include "checkout/Checkout.h"

#include "administration/TestSpec.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"

namespace varenta::checkout {

QString BaselineResponses() {
    // The checkout starts from the same lowest-risk answers the test layout defines.
    return administration::NonDeviantResponses();
}

void DeviateItem(QString& answers, int item) {
    if (item < 1 || item > answers.size())
        return;
    QChar& c = answers[item - 1];
    c = c == QLatin1Char('1') ? QLatin1Char('2') : QLatin1Char('1');
}

void InitializeClient(ClientRecord& client, int slot) {
    if (client.ClientName.trimmed().isEmpty())
        client.ClientName =
            Fit(QStringLiteral("Automated Checkout ") + QString::number(slot), width::ClientName);
    client.Age = Fit(QStringLiteral("31"), width::Age);
    client.ClientID = Fit(QStringLiteral("N"), width::ClientID);
    client.GenderCode = QStringLiteral("1");
    client.RaceCode = QStringLiteral("1");
    client.EducationCode = QStringLiteral("1");
    for (int q = 1; q <= CourtFieldCount; ++q)
        *client.CourtField(q) = Fit(QStringLiteral("N"), width::Court);
    if (client.Responses.trimmed().isEmpty())
        client.Responses = BaselineResponses();
    client.EditCount = QStringLiteral("0");
    client.NameDeleted = QStringLiteral("0");
    client.Reserved = QStringLiteral("0");
}

CheckoutSession::CheckoutSession() {
    const GlobalState& g = Globals();
    savedCurrentClient_ = g.CurrentClient;
    // The slot after the last stored client names the scratch client; its record lives here,
    // so even a disk with every slot taken keeps its clients untouched.
    slot_ = g.ClientCount + 1;
    InitializeClient(client_, slot_);
}

CheckoutSession::~CheckoutSession() {
    Globals().CurrentClient = qint16(savedCurrentClient_);
}

void CheckoutSession::Reset(GenderChoice gender) {
    // Every report starts from a fresh scratch client, so that no report depends on which
    // one ran before it.
    client_ = ClientRecord();
    InitializeClient(client_, slot_);
    if (gender != GenderChoice::Both)
        client_.GenderCode = QString::number(int(gender));
}

void CheckoutSession::ScoreVariant(const QString& answers) {
    client_.Responses = answers;
    scoring::LoadClientForScoring(client_, slot_);
    scoring::ComputeRawScores();
    scoring::ComputePercentiles();
}

QByteArray CheckoutSession::BuildReport(ReportKind kind, GenderChoice gender) {
    scoring::SetLayoutConstants();
    scoring::LoadScoringTables();
    Reset(gender);
    switch (kind) {
    case ReportKind::TruthCorrection:
        return TruthCorrection(gender);
    case ReportKind::ScaleDistributions:
        return ScaleDistributions(gender);
    case ReportKind::MinimumScaleScores:
        return MinimumScaleScores(gender);
    }
    return {};
}

void CheckoutSession::WriteReport(ReportKind kind, GenderChoice gender) {
    const QByteArray report = BuildReport(kind, gender);
    fileio::ReplaceAtomically(scoring::ReportFilePath(), report);
}

int AnswerEarning(int item, int points, int scale) {
    // For the alcohol and drug scales the minimum rules judge item 104 by its answer, not its
    // points: answer 3 counts as a 3-point answer for both and changes neither raw score.
    if (item == 104 && (scale == 2 || scale == 3))
        return points == 3 ? 3 : 0;
    const int section = administration::SectionOfItem(item);
    const int position = administration::PositionInSection(item);
    if (section == 0)
        return 0;
    for (int code = 1; code <= administration::HighestAnswerCode(section); ++code) {
        const QByteArray& key = scoring::Tables().AnswerKey[section][code];
        if (position <= key.size() && key[position - 1] - '0' == points)
            return code;
    }
    return 0;
}

} // namespace varenta::checkout

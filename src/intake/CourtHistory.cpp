#include "intake/CourtHistory.h"

#include "app/Globals.h"
#include "store/AuditTrail.h"
#include "store/ClientRecord.h"
#include "store/ClientStore.h"
#include "store/SaveWithRetry.h"

namespace varenta::intake {

QString CourtCaption(int question) {
    static const char* captions[] = {
        "1. Your age at your first arrest:",         "2. Number of times on probation:",
        "3. Number of probation revocations:",       "4. Total number of times arrested:",
        "5. Number of times in juvenile detention:", "6. Number of juvenile court hearings:",
        "7. Number of alcohol-related arrests:",     "8. Number of drug-related arrests:"};
    return QString::fromLatin1(captions[qBound(1, question, 8) - 1]);
}

QString CourtPrompt(int question) {
    return question == 1
               ? QStringLiteral("Type age in years or N for not available, then press Enter.")
               : QStringLiteral("Type a value 0 to 99 or N for Not Available, then press Enter.");
}

QString CourtError(int question) {
    return question == 1 ? QStringLiteral("Enter age of client in number of years. Press Enter "
                                          "to continue.")
                         : QStringLiteral("Type a number from 0 to 99 or N for Not Available. "
                                          "Press Enter to continue.");
}

QString CourtErrorTitle(int question) {
    return question == 1 ? QString() : QStringLiteral("Data Entry Error");
}

bool CheckCourtValue(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("n"), Qt::CaseInsensitive) == 0)
        return true;
    if (t == QLatin1String("0"))
        return true;
    const double v = LeadingValue(t);
    return v > 0 && v <= 99;
}

CheckResult CheckCourtAnswer(int question, const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("n"), Qt::CaseInsensitive) == 0)
        return {true, QStringLiteral("N")};
    if (question == 1) {
        const double v = LeadingValue(t);
        return v > 5 && v < 100 ? CheckResult{true, t} : CheckResult{false, QString()};
    }
    return {CheckCourtValue(t), t};
}

bool CourtKeyAllowed(const QString& fieldText, int selectedLength, QChar c) {
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t') ||
        c == QLatin1Char('\b'))
        return true;
    return fieldText.size() < CourtAnswerLength ||
           (selectedLength >= CourtAnswerLength && selectedLength >= fieldText.size());
}

int FirstInvalidCourtAnswer(const CourtAnswers& answers) {
    for (int i = 0; i < CourtQuestionCount; ++i)
        if (!CheckCourtValue(answers[size_t(i)]))
            return i;
    return -1;
}

CourtAnswers GetCourtData() {
    const ClientRecord& r = CurrentRecord();
    CourtAnswers answers;
    for (int q = 1; q <= CourtQuestionCount; ++q)
        answers[size_t(q - 1)] = *r.CourtField(q);
    return answers;
}

bool SaveCourtData(const CourtAnswers& answers, bool editMode) {
    ClientRecord& r = CurrentRecord();
    const ClientRecord before = r;
    for (int q = 1; q <= CourtQuestionCount; ++q)
        *r.CourtField(q) = Fit(answers[size_t(q - 1)], width::Court);
    if (!editMode)
        return true;
    if (SaveClientWithRetry(Globals().CurrentClient)) {
        audit::Record(audit::Event::Edited, Globals().CurrentClient);
        return true;
    }
    r = before;
    return false;
}

void DiscardNewClient() {
    GlobalState& g = Globals();
    ClearClient();
    g.CurrentClient = g.ClientCount > 0 ? 1 : 0;
}

} // namespace varenta::intake

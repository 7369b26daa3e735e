#include "scoring/CheckCommand.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "scoring/ListInput.h"
#include "scoring/ScoreAndPrint.h"
#include "scoring/ScoringInternal.h"
#include "store/AuditTrail.h"
#include "store/ClientRecord.h"
#include "store/Cp1252.h"
#include "store/SaveWithRetry.h"

namespace varenta::scoring {

QStringList ScaleNamesForCheck() {
    const QString name = QString::fromLatin1(ReportTextsFileName);
    listinput::Reader r(
        internal::ReadProgramFile(ReportTextsFileName, "report texts", internal::MaxTableFileSize),
        name);
    QStringList names;
    for (int s = 1; s <= 5; ++s)
        names << cp1252::Decode(r.String({"the name of scale %1", s}));
    return names;
}

QString CheckReport(const QStringList& scaleNames) {
    const QString tab = QStringLiteral("\t");
    QStringList lines{QStringLiteral("Scale") + tab + tab + tab + QStringLiteral(" %ile") + tab +
                      QStringLiteral("R/P")};
    for (int s = 1; s <= scaleNames.size(); ++s) {
        const QString& name = scaleNames[s - 1];
        const int tabs = name.size() < 7                                     ? 3
                         : name.toUpper() == QLatin1String("AGGRESSIVENESS") ? 1
                                                                             : 2;
        lines << name + tab.repeated(tabs) + QString::number(Scores().Percentile[s]) + tab +
                     QString::number(Scores().RawScore[s]);
    }
    return MsgLines(lines);
}

void RunCheck(const std::function<void()>& storeFields) {
    try {
        const QStringList names = ScaleNamesForCheck();
        const ClientRecord before = CurrentRecord();
        storeFields();
        if (!SaveClientWithRetry(Globals().CurrentClient)) {
            CurrentRecord() = before;
            return;
        }
        audit::Record(audit::Event::Edited, Globals().CurrentClient);
        ScoreClient();
        MsgBox(CheckReport(names), MsgButtons::Ok, MsgIcon::Information);
    } catch (const VError& e) {
        MsgBox(ErrorText(e));
    }
}

} // namespace varenta::scoring

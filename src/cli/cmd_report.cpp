// Scores one client of a data disk and writes its report, as the report viewer does.
#include "cli/Cli.h"

#include "app/FileIO.h"
#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"
#include "store/AuditTrail.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace varenta::cli {

namespace {

// Scales 1 to `last`.
QString Ints(const OneBased<qint16, scoring::ScaleCount>& values, int last = scoring::ScaleCount) {
    QStringList parts;
    for (int s = 1; s <= last; ++s)
        parts << QString::number(values[s]);
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString Bools(const OneBased<bool, scoring::ScaleCount>& values) {
    QStringList parts;
    for (int s = 1; s <= scoring::ScaleCount; ++s)
        parts << (values[s] ? QStringLiteral("true") : QStringLiteral("false"));
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString JsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

int Report(const QStringList& args) {
    const scoring::ReportRequest request = SelectClient(ParseClientOptions(args));
    scoring::ScoreSheet sheet;
    scoring::ScoreClient(request, &sheet);
    audit::Record(audit::Event::ReportViewed, Globals().CurrentClient);

    const QString json =
        QStringLiteral("{\"client\": %1, \"raw\": %2, \"percentile\": %3, \"distribution\": %4, "
                       "\"omitted\": %5, \"scored\": %6, \"arrest_minimum\": %7, "
                       "\"report_file\": %8}")
            .arg(Globals().CurrentClient)
            .arg(Ints(sheet.RawScore), Ints(sheet.Percentile),
                 Ints(sheet.DistributionPercentile, scoring::NormedScaleCount),
                 Ints(sheet.OmittedCount), Ints(sheet.ScoredItemCount), Bools(sheet.ArrestMinimum),
                 JsonString(scoring::ReportFilePath()));
    std::printf("%s\n", json.toUtf8().constData());
    return 0;
}

const bool registered = Register(
    {"report",
     "report [--program-dir P] --data-dir D --client N [--summary-page]\n"
     "                                       score client N, write report.prn, print the scores",
     &Report,
     "Scores client N of the data disk D as the report viewer does and rewrites report.prn: in\n"
     "the program folder P, or, when Varenta is installed and no P is given, in your private\n"
     "report folder. Prints the scores as one line of JSON; \"report_file\" names the report\n"
     "written. --summary-page adds the one-page summary to the report."});

} // namespace

} // namespace varenta::cli

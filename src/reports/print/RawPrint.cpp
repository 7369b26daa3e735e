// The raw printout: the report file goes unchanged to the default printer through the print
// spooler, so the printer's own fixed-pitch type and form feeds lay out the pages.
#include "reports/print/ReportPrint.h"

#include "app/Errors.h"

#include <QDir>
#include <QProcess>

namespace varenta::print {

namespace {
constexpr int StartMs = 10'000;
constexpr int FinishMs = 60'000;
} // namespace

void SendRawToPrinter(const QString& path) {
    QProcess lp;
    lp.setProgram(QStringLiteral("lp"));
    lp.setArguments({QStringLiteral("-o"), QStringLiteral("raw"), path});
    lp.start(QIODevice::ReadOnly);
    if (!lp.waitForStarted(StartMs))
        throw VError(PrinterError,
                     QStringLiteral("The report could not be sent to the printer: the print "
                                    "command \"lp\" could not be started (%1).")
                         .arg(lp.errorString()));
    if (!lp.waitForFinished(FinishMs)) {
        lp.kill();
        lp.waitForFinished(StartMs);
        throw VError(PrinterError,
                     QStringLiteral("The printing system did not answer within %1 seconds; the "
                                    "report may not have been printed.")
                         .arg(FinishMs / 1000));
    }
    if (lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0) {
        QString said = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
        if (said.isEmpty())
            said = QString::fromLocal8Bit(lp.readAllStandardOutput()).trimmed();
        if (said.isEmpty())
            said = lp.exitStatus() != QProcess::NormalExit
                       ? QStringLiteral("the print command stopped unexpectedly")
                       : QStringLiteral("the print command ended with code %1").arg(lp.exitCode());
        throw VError(PrinterError, QStringLiteral("The printer did not accept the report %1: %2")
                                       .arg(QDir::toNativeSeparators(path), said));
    }
}

} // namespace varenta::print

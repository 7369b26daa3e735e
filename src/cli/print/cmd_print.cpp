// Scores one client of a data disk and prints its report into a PDF file, page for page as
// the printer would print it.
#include "cli/Cli.h"
#include "cli/PrintCommand.h"

#include "app/FileIO.h"
#include "app/Globals.h"
#include "reports/print/ReportPrint.h"
#include "scoring/ScoreAndPrint.h"
#include "store/AuditTrail.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace varenta::cli {

namespace {

int Print(const QStringList& args) {
    const Options o = ParseClientOptions(args, {QStringLiteral("pdf")});
    const QString pdf = o.value(QStringLiteral("pdf"));
    if (pdf.isEmpty())
        throw CliError{QStringLiteral("missing --pdf: the PDF file to print into")};
    const QFileInfo pdfInfo(pdf);
    if (pdfInfo.isDir())
        throw CliError{QStringLiteral("--pdf %1 is a folder, not a file").arg(pdf)};
    if (!QDir(pdfInfo.absolutePath()).exists())
        throw CliError{QStringLiteral("the folder of --pdf %1 does not exist").arg(pdf)};
    const scoring::ReportRequest request = SelectClient(o);
    const int client = Globals().CurrentClient;
    scoring::ScoreClient(request);
    const reports::PrintResult r = reports::PrintReportFile(reports::PrintTarget::PdfFile(pdf));
    if (r.printed)
        audit::Record(audit::Event::ReportPrinted, client);
    std::printf("printed the report of client %d into %s (%d page%s)\n", client, qPrintable(pdf),
                r.sheets, r.sheets == 1 ? "" : "s");
    return 0;
}

const bool registered = Register({"print", PrintUsage, &Print, PrintHelp});

} // namespace

} // namespace varenta::cli

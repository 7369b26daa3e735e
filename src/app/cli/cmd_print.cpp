// Scores one client of a data disk and prints its report into a PDF file, page for page as
// the printer would print it.
#include "app/cli/Cli.h"

#include "app/FileIO.h"
#include "app/Globals.h"
#include "reports/print/ReportPrint.h"
#include "scoring/ScoreAndPrint.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace varenta::cli {

namespace {

int Print(const QStringList& args) {
    const Options o = Parse(args,
                            {QStringLiteral("program-dir"), QStringLiteral("data-dir"),
                             QStringLiteral("client"), QStringLiteral("pdf")},
                            {QStringLiteral("summary-page")});
    if (!o.positional.isEmpty())
        throw CliError{QStringLiteral("unexpected argument %1").arg(o.positional.first())};
    const int client = o.intValue(QStringLiteral("client"));
    const QString pdf = o.value(QStringLiteral("pdf"));
    if (pdf.isEmpty())
        throw CliError{QStringLiteral("missing --pdf: the PDF file to print into")};
    const QFileInfo pdfInfo(pdf);
    if (pdfInfo.isDir())
        throw CliError{QStringLiteral("--pdf %1 is a folder, not a file").arg(pdf)};
    if (!QDir(pdfInfo.absolutePath()).exists())
        throw CliError{QStringLiteral("the folder of --pdf %1 does not exist").arg(pdf)};
    UseProgramDir(o);
    OpenDataDir(o);
    GlobalState& g = Globals();
    if (client > g.ClientCount)
        throw CliError{QStringLiteral("client %1 does not exist: the data disk %2 holds %3 "
                                      "client%4")
                           .arg(client)
                           .arg(g.DataPath)
                           .arg(g.ClientCount)
                           .arg(g.ClientCount == 1 ? QString() : QStringLiteral("s"))};
    g.CurrentClient = qint16(client);

    ReportRequest request;
    request.summaryPage = o.has(QStringLiteral("summary-page"));
    ScoreClient(request);
    const print::PrintResult r = print::PrintReportFile(print::PrintTarget::PdfFile(pdf));
    std::printf("printed the report of client %d into %s (%d page%s)\n", client, qPrintable(pdf),
                r.sheets, r.sheets == 1 ? "" : "s");
    return 0;
}

const bool registered =
    Register({"print",
              "print --program-dir P --data-dir D --client N [--summary-page] --pdf OUT.pdf\n"
              "                                       score client N and print the report into "
              "OUT.pdf",
              &Print});

} // namespace

} // namespace varenta::cli

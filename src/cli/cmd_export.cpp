// Exports the scores of every client of one or more data disks, for a spreadsheet or a
// database.
#include "cli/Cli.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "reports/ScoreExport.h"
#include "store/AuditTrail.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace varenta::cli {

namespace {

void WriteStdout(const QByteArray& bytes) {
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
        std::fflush(stdout) != 0)
        throw CliError{QStringLiteral("the export could not be written to standard output: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno)))};
}

int Export(const QStringList& args) {
    const Options o = Parse(args,
                            {QStringLiteral("program-dir"), QStringLiteral("data-dir"),
                             QStringLiteral("format"), QStringLiteral("out")},
                            {QStringLiteral("with-names")});
    QStringList disks;
    for (const QString& dir : o.allValues(QStringLiteral("data-dir")))
        disks << fileio::WithoutTrailingSlash(dir);
    o.refuseArguments();
    if (disks.isEmpty())
        throw CliError{QStringLiteral("missing --data-dir")};
    reports::ExportOptions options;
    options.withNames = o.has(QStringLiteral("with-names"));
    const QString format = o.value(QStringLiteral("format"));
    if (format == QLatin1String("json"))
        options.format = reports::ExportFormat::JsonLines;
    else if (!format.isEmpty() && format != QLatin1String("csv"))
        throw CliError{QStringLiteral("--format must be csv or json, not \"%1\"").arg(format)};
    const QString out = o.value(QStringLiteral("out"));
    UseProgramDir(o);

    reports::ScoreExport scores(options);
    QList<QPair<QString, int>> exported;
    for (const QString& disk : disks) {
        try {
            exported.append({disk, scores.AddDisk(disk)});
        } catch (const VError& e) {
            // The others are still exported; the exit status tells that one failed.
            std::fprintf(stderr, "varenta-cli export: %s: Error %d: %s\n", qPrintable(disk),
                         e.number(), qPrintable(e.description()));
        }
    }
    if (out.isEmpty())
        WriteStdout(scores.Bytes());
    else
        reports::SaveExport(out, scores.Bytes());
    for (const auto& [disk, rows] : exported)
        audit::RecordDisk(options.withNames ? audit::Event::ScoresExportedWithNames
                                            : audit::Event::ScoresExported,
                          rows, disk);
    return exported.size() == disks.size() ? 0 : 1;
}

const bool registered =
    Register({"export",
              "export [--program-dir P] --data-dir D [--data-dir D2 ...] [--format csv|json]\n"
              "       [--with-names] [--out FILE]      every client's scores, one row each",
              &Export});

} // namespace

} // namespace varenta::cli

// Builds the question database from the item sources (tab-separated text, one file a language).
#include "cli/Cli.h"

#include "administration/QuestionDb.h"

#include <QDir>

#include <cstdio>

namespace varenta::cli {

namespace {

int BuildQuestionDbCommand(const QStringList& args) {
    const Options o = Parse(args, {QStringLiteral("items"), QStringLiteral("out")}, {});
    o.refuseArguments();
    const QString items = o.value(QStringLiteral("items"));
    const QString out = o.value(QStringLiteral("out"));
    if (items.isEmpty() || out.isEmpty())
        throw CliError{QStringLiteral("give --items DIR and --out FILE")};
    const QDir dir(items);
    if (!dir.exists())
        throw CliError{QStringLiteral("item folder %1 does not exist").arg(items)};
    QStringList sources;
    for (const QString& name : dir.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name))
        sources << dir.filePath(name);
    if (sources.isEmpty())
        throw CliError{QStringLiteral("item folder %1 holds no .tsv file").arg(items)};
    administration::BuildQuestionDb(sources, out);
    std::printf("built %s with %lld tables\n", qPrintable(out), qlonglong(sources.size()));
    return 0;
}

const bool registered = Register(
    {"build-question-db",
     "build-question-db --items DIR --out FILE  build the question database from item sources",
     &BuildQuestionDbCommand,
     "Builds the question database FILE from the item sources DIR/*.tsv, one table for each\n"
     "file, named after it (English.tsv gives the table English)."});

} // namespace

} // namespace varenta::cli

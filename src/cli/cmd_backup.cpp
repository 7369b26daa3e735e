// Backs up a data disk into a new dated folder and checks the copy.
#include "cli/Cli.h"

#include "store/Backup.h"

#include <cstdio>

namespace varenta::cli {

namespace {

int Backup(const QStringList& args) {
    const Options o = Parse(args, {QStringLiteral("data-dir"), QStringLiteral("to")}, {});
    o.refuseArguments();
    const QString disk = o.value(QStringLiteral("data-dir"));
    const QString to = o.value(QStringLiteral("to"));
    if (disk.isEmpty())
        throw CliError{QStringLiteral("missing --data-dir")};
    if (to.isEmpty())
        throw CliError{QStringLiteral("missing --to: the folder to hold the backup")};
    const BackupResult r = BackUpDataDisk(disk, to);
    std::printf("backed up %d client%s of %s (%s); every file compared with the original\n",
                r.clients, r.clients == 1 ? "" : "s", qPrintable(disk),
                qPrintable(r.files.join(QStringLiteral(", "))));
    std::printf("%s\n", qPrintable(r.folder));
    return 0;
}

const bool registered = Register(
    {"backup", "backup --data-dir D --to DIR         copy the disk into a new dated folder in DIR",
     &Backup});

} // namespace

} // namespace varenta::cli

// Prints the audit trail of a data disk, oldest line first.
#include "cli/Cli.h"

#include "app/Errors.h"
#include "store/AuditTrail.h"
#include "store/DiskContents.h"

#include <cstdio>

namespace varenta::cli {

namespace {

int Audit(const QStringList& args) {
    const Options o = Parse(args, {QStringLiteral("data-dir")}, {});
    o.refuseArguments();
    QString disk = o.value(QStringLiteral("data-dir"));
    if (disk.isEmpty())
        throw CliError{QStringLiteral("missing --data-dir")};
    CheckDataDiskFolder(disk);
    int unreadable = 0;
    for (const audit::Entry& e : audit::ReadLog(disk)) {
        if (e.valid) {
            std::fputs(audit::FormatLine(e).constData(), stdout);
        } else {
            ++unreadable;
            std::fprintf(stderr, "varenta-cli audit: line %d of %s cannot be read\n", e.line,
                         qPrintable(audit::LogPath(disk)));
        }
    }
    return unreadable == 0 ? 0 : 1;
}

const bool registered = Register(
    {"audit", "audit --data-dir D                  print the disk's audit trail, oldest first",
     &Audit});

} // namespace

} // namespace varenta::cli

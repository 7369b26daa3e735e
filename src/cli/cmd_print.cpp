// Printing needs Qt's graphical libraries, which cost every other command milliseconds just to
// load: the print command runs in a helper program that this process becomes.
#include "cli/Cli.h"
#include "cli/PrintCommand.h"

namespace varenta::cli {

namespace {

int Print(const QStringList&) {
    HandOver(QString::fromLatin1(PrintHelperName));
}

const bool registered = Register({"print", PrintUsage, &Print, PrintHelp});

} // namespace

} // namespace varenta::cli

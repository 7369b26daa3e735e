// varenta-cli: the program's work without a window. Only QtCore is loaded, so a command
// starts in a few milliseconds and runs where there is no display; printing is handed over
// to a helper (cmd_print.cpp).
#include "cli/Cli.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    varenta::cli::InstallQuietQtMessages();
    QCoreApplication app(argc, argv);
    return varenta::cli::Run(argc, argv);
}

// varenta-cli-print: the part of varenta-cli that prints, started by it in its place.
#include "cli/Cli.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    // A PDF file needs fonts but no screen: never the display DISPLAY names, which may be
    // gone (an ssh session, cron).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    varenta::cli::InstallQuietQtMessages();
    QGuiApplication app(argc, argv);
    return varenta::cli::Run(argc, argv);
}

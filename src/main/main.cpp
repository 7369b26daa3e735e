// varenta: the program with its windows.
#include "app/BuildConfig.h"
#include "app/Globals.h"
#include "app/Paths.h"
#include "main/ShellOptions.h"
#include "main/SingleInstance.h"
#include "main/Wiring.h"
#include "reports/PrintSelected.h"
#include "store/ClientStore.h"
#include "ui/QtMessageSink.h"
#include "ui/frmAbout.h"
#include "ui/frmMainMenu.h"

#include <QApplication>
#include <QIcon>
#include <QListWidget>
#include <QStyleFactory>

#include <cstdio>

namespace {

// Aids for automated checks, read from the environment:
// VARENTA_SPLASH_SCALE=x  scales the splash's timing (0.01: a hundred times faster);
// VARENTA_TEST_READY=print|quit  prints "ready" and the client list lines once the main
// window is shown (and "raised" on each request of another copy); "quit" then ends.
void PrintReady(varenta::ui::frmMainMenu& w) {
    std::printf("ready\n");
    for (int i = 0; i < w.lbNameDisplay()->count(); ++i)
        std::printf("%s\n", w.lbNameDisplay()->item(i)->text().toUtf8().constData());
    std::fflush(stdout);
}

// The shield of the About box, as the windows' icon.
QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(varenta::ui::DrawLogo(QSize(size, size)));
    return icon;
}

} // namespace

int main(int argc, char** argv) {
    using namespace varenta;
    // Options first, so that --help and a wrong option answer even without a display.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    main::ShellOptions options;
    try {
        options = main::ParseShellOptions(args);
    } catch (const main::ShellOptionsError& e) {
        std::fprintf(stderr, "varenta: %s\n%s", qPrintable(e.message),
                     qPrintable(main::ShellUsage()));
        return 2;
    }
    if (options.help) {
        std::printf("%s", qPrintable(main::ShellUsage()));
        return 0;
    }
    if (options.version) {
        std::printf("varenta %s\n", build::Version);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(AppTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(build::Version));
    // Ties the windows to the installed desktop entry (its name and icon in task bars).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(build::AppId));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    // A second copy only asks the first to come forward; it touches no file.
    main::SingleInstance instance;
    if (!instance.Acquire()) {
        if (!instance.AskRunningCopyToRaise())
            std::fprintf(stderr, "varenta: the program is already running, but its window "
                                 "did not answer.\n");
        return 0;
    }

    paths::UseLayout(QApplication::applicationDirPath(), options.programDir);
    QApplication::setWindowIcon(ApplicationIcon());
    // Only the copy that runs may clear what a crashed run left behind.
    reports::RemoveLeftoverReports();

    const QString testReady = qEnvironmentVariable("VARENTA_TEST_READY");
    bool scaleOk = false;
    const double scale = qEnvironmentVariable("VARENTA_SPLASH_SCALE").toDouble(&scaleOk);
    if (scaleOk)
        ui::frmAbout::SetTimeScale(scale, scale);

    ui::QtMessageSink sink;
    InstallMessageSink(&sink);
    main::WireWindows();

    ui::frmMainMenu w({options.dataDir, options.administrator});
    QObject::connect(&w, &ui::frmMainMenu::programEnded, &app,
                     [](int code) { QCoreApplication::exit(code); });
    QObject::connect(&instance, &main::SingleInstance::raiseRequested, &w, [&w, &testReady] {
        w.BringToFront();
        if (!testReady.isEmpty()) {
            std::printf("raised\n");
            std::fflush(stdout);
        }
    });
    if (!w.StartUp())
        return w.ExitCode();
    w.show();
    if (!testReady.isEmpty()) {
        PrintReady(w);
        if (testReady == QStringLiteral("quit"))
            return 0;
    }
    const int code = app.exec();
    InstallMessageSink(nullptr);
    return w.Ended() ? w.ExitCode() : code;
}

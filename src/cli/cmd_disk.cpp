// Commands on a data disk: list its clients, prepare a new one.
#include "cli/Cli.h"

#include "administration/DemoClients.h"
#include "app/DataDrive.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "store/ClientStore.h"

#include <cstdio>

namespace varenta::cli {

namespace {

int List(const QStringList& args) {
    const Options o = Parse(args, {QStringLiteral("data-dir")}, {});
    o.refuseArguments();
    OpenDataDir(o);
    for (int n = 1; n <= Globals().ClientCount; ++n)
        std::printf("%s\n", ClientListLine(n).toUtf8().constData());
    return 0;
}

int InitDisk(const QStringList& args) {
    const Options o = Parse(args, {}, {QStringLiteral("demo")});
    if (o.positional.size() != 1)
        throw CliError{QStringLiteral("give exactly one folder")};
    const QString folder = o.positional.first();
    PrepareDataDisk(folder);
    if (o.has(QStringLiteral("demo"))) {
        GlobalState& g = Globals();
        g.DataPath = folder;
        g.DataFilePath = fileio::Join(folder, QString::fromLatin1(DataFileName));
        LoadClients();
        const int n = administration::AddDemoClients(administration::DemoClientCount);
        std::printf("prepared data disk %s with %d demonstration clients\n", qPrintable(folder), n);
    } else {
        std::printf("prepared data disk %s\n", qPrintable(folder));
    }
    return 0;
}

const bool registered =
    Register({"list", "list --data-dir DIR                 print the client list lines", &List,
              "Prints the clients of the data disk DIR, one line each, as the main window lists\n"
              "them."}) &&
    Register({"init-disk", "init-disk DIR [--demo]              prepare a new data disk", &InitDisk,
              "Makes DIR (created when missing) a new, empty data disk: the marker file TID and\n"
              "an empty DATA401.QV. --demo adds six fictional demonstration clients. A folder\n"
              "that already is a data disk or holds client records is left as it is."});

} // namespace

} // namespace varenta::cli

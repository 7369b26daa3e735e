// varenta-cli: the program's work without a window, for checking tables and batch work.
#include "app/cli/Cli.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <vector>

namespace varenta::cli {

namespace {

std::vector<Command>& Commands() {
    static std::vector<Command> all;
    return all;
}

// Message boxes have no place here: whatever a routine would show goes to stderr.
class StderrMessages : public MessageSink {
public:
    MsgAnswer Show(const Message& m) override {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QString(m.text).replace(QLatin1Char('\n'), QLatin1Char(' '))));
        return m.buttons == MsgButtons::YesNo      ? MsgAnswer::No
               : m.buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel
                                                   : MsgAnswer::Ok;
    }
    void Beep() override {}
};

// Qt's own warnings (a missing runtime folder, font substitutions) are not the user's
// business here: stderr carries exactly one line when a command fails.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type == QtFatalMsg || qEnvironmentVariableIsSet("VARENTA_DEBUG"))
        std::fprintf(stderr, "%s\n", qPrintable(msg));
}

void Usage() {
    std::fprintf(stderr, "usage: varenta-cli <command> [options]\ncommands:\n");
    for (const Command& c : Commands())
        std::fprintf(stderr, "  %s\n", c.usage);
}

} // namespace

bool Register(const Command& c) {
    Commands().push_back(c);
    return true;
}

int Options::intValue(const QString& name) const {
    if (!values.contains(name))
        throw CliError{QStringLiteral("missing --%1").arg(name)};
    bool ok = false;
    const int v = values.value(name).toInt(&ok);
    if (!ok || v < 1)
        throw CliError{QStringLiteral("--%1 needs a whole number of 1 or more, not \"%2\"")
                           .arg(name, values.value(name))};
    return v;
}

Options Parse(const QStringList& args, const QStringList& withValue, const QStringList& flags) {
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QStringLiteral("--"))) {
            o.positional << a;
            continue;
        }
        const QString name = a.mid(2);
        if (withValue.contains(name)) {
            if (i + 1 >= args.size())
                throw CliError{QStringLiteral("%1 needs a value").arg(a)};
            o.values.insert(name, args[++i]);
        } else if (flags.contains(name)) {
            o.flags << name;
        } else {
            throw CliError{QStringLiteral("unknown option %1").arg(a)};
        }
    }
    return o;
}

void UseProgramDir(const Options& o) {
    QString dir = o.value(QStringLiteral("program-dir"));
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    if (!fileio::IsDirectory(dir))
        throw CliError{QStringLiteral("program folder %1 does not exist").arg(dir)};
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    Globals().ProgramDir = dir;
}

void OpenDataDir(const Options& o) {
    QString dir = o.value(QStringLiteral("data-dir"));
    if (dir.isEmpty())
        throw CliError{QStringLiteral("missing --data-dir")};
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    if (!fileio::IsDirectory(dir))
        throw CliError{QStringLiteral("data folder %1 does not exist").arg(dir)};
    GlobalState& g = Globals();
    g.DataPath = dir;
    g.DataFilePath = fileio::FindCaseInsensitive(dir, QString::fromLatin1(DataFileName));
    if (!fileio::Exists(g.DataFilePath))
        throw CliError{QStringLiteral("%1 is not a data disk: it has no %2")
                           .arg(dir, QString::fromLatin1(DataFileName))};
    LoadClients();
    InitCodeTables();
}

Options ParseClientOptions(const QStringList& args, const QStringList& extra) {
    const Options o = Parse(args,
                            QStringList{QStringLiteral("program-dir"), QStringLiteral("data-dir"),
                                        QStringLiteral("client")} +
                                extra,
                            {QStringLiteral("summary-page")});
    if (!o.positional.isEmpty())
        throw CliError{QStringLiteral("unexpected argument %1").arg(o.positional.first())};
    o.intValue(QStringLiteral("client"));
    return o;
}

ReportRequest SelectClient(const Options& o) {
    const int client = o.intValue(QStringLiteral("client"));
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
    return request;
}

} // namespace varenta::cli

int main(int argc, char** argv) {
    using namespace varenta;
    // Printing into PDF files needs the GUI classes; without a display the offscreen
    // platform serves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(cli::QuietQtMessages);
    QGuiApplication app(argc, argv);
    cli::StderrMessages messages;
    InstallMessageSink(&messages);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args[0] == QStringLiteral("--help") ||
        args[0] == QStringLiteral("help")) {
        cli::Usage();
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const cli::Command& c : cli::Commands()) {
        if (name != QLatin1String(c.name))
            continue;
        try {
            return c.run(args);
        } catch (const cli::CliError& e) {
            std::fprintf(stderr, "varenta-cli %s: %s\n", c.name, qPrintable(e.message));
            return 2;
        } catch (const VError& e) {
            std::fprintf(stderr, "varenta-cli %s: Error %d: %s\n", c.name, e.number(),
                         qPrintable(e.description()));
            return 1;
        }
    }
    std::fprintf(stderr, "varenta-cli: unknown command \"%s\"\n", qPrintable(name));
    cli::Usage();
    return 2;
}

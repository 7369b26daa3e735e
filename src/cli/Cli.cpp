// The command line's common parts: options, the program folder and data disk, running a command.
#include "cli/Cli.h"

#include "app/BuildConfig.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "app/Paths.h"
#include "store/ClientStore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
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

void Usage(std::FILE* out) {
    std::fprintf(out, "usage: varenta-cli <command> [options]\n"
                      "       varenta-cli <command> --help\n"
                      "       varenta-cli --help | --version\n"
                      "commands:\n");
    for (const Command& c : Commands())
        std::fprintf(out, "  %s\n", c.usage);
}

void CommandHelp(const Command& c) {
    std::printf("usage: varenta-cli %s\n", c.usage);
    if (c.help)
        std::printf("\n%s\n", c.help);
}

bool AsksForHelp(const QStringList& args) {
    return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

std::vector<QByteArray>& RawArgs() {
    static std::vector<QByteArray> raw;
    return raw;
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
    const int v = value(name).toInt(&ok);
    if (!ok || v < 1)
        throw CliError{QStringLiteral("--%1 needs a whole number of 1 or more, not \"%2\"")
                           .arg(name, value(name))};
    return v;
}

void Options::refuseArguments() const {
    if (!positional.isEmpty())
        throw CliError{QStringLiteral("unexpected argument %1").arg(positional.first())};
}

Options Parse(const QStringList& args, const QStringList& withValue, const QStringList& flags) {
    QCommandLineParser parser;
    // "-x" is an option spelled wrongly, not a letter cluster.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const QString& name : withValue)
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    for (const QString& name : flags)
        parser.addOption(QCommandLineOption(name));
    if (!parser.parse(QStringList{QStringLiteral("varenta-cli")} + args)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            // Named as typed: "-x", "--x" or "--x=1".
            for (const QString& a : args) {
                const QString bare = a.section(QLatin1Char('='), 0, 0);
                if (bare == QLatin1String("-") + unknown.first() ||
                    bare == QLatin1String("--") + unknown.first())
                    throw CliError{QStringLiteral("unknown option %1").arg(a)};
            }
            throw CliError{QStringLiteral("unknown option --%1").arg(unknown.first())};
        }
        // The parser's only other refusal: an option that takes a value came last.
        throw CliError{
            QStringLiteral("%1 needs a value").arg(args.isEmpty() ? QString() : args.last())};
    }
    Options o;
    o.positional = parser.positionalArguments();
    for (const QString& name : withValue)
        if (parser.isSet(name))
            o.values.insert(name, parser.values(name));
    for (const QString& name : flags)
        if (parser.isSet(name))
            o.flags << name;
    return o;
}

void UseProgramDir(const Options& o) {
    const QString dir = o.value(QStringLiteral("program-dir"));
    if (o.has(QStringLiteral("program-dir")) && !fileio::IsDirectory(dir))
        throw CliError{QStringLiteral("program folder %1 does not exist").arg(dir)};
    paths::UseLayout(QCoreApplication::applicationDirPath(), dir);
}

void OpenDataDir(const Options& o) {
    const QString dir = fileio::WithoutTrailingSlash(o.value(QStringLiteral("data-dir")));
    if (dir.isEmpty())
        throw CliError{QStringLiteral("missing --data-dir")};
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
    o.refuseArguments();
    o.intValue(QStringLiteral("client"));
    return o;
}

scoring::ReportRequest SelectClient(const Options& o) {
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
    scoring::ReportRequest request;
    request.summaryPage = o.has(QStringLiteral("summary-page"));
    return request;
}

void InstallQuietQtMessages() {
    qInstallMessageHandler(QuietQtMessages);
}

int Run(int argc, char** argv) {
    auto& raw = RawArgs();
    raw.assign(argv, argv + argc);
    StderrMessages messages;
    InstallMessageSink(&messages);
    struct Uninstall {
        ~Uninstall() { InstallMessageSink(nullptr); }
    } uninstall;

    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty()) {
        Usage(stderr);
        return 2;
    }
    const QString first = args.takeFirst();
    if (first == QLatin1String("--version")) {
        std::printf("varenta-cli %s\n", build::Version);
        return 0;
    }
    const bool helpCommand = first == QLatin1String("help");
    if (first == QLatin1String("--help") || first == QLatin1String("-h") ||
        (helpCommand && args.isEmpty())) {
        Usage(stdout);
        return 0;
    }
    const QString name = helpCommand ? args.first() : first;
    for (const Command& c : Commands()) {
        if (name != QLatin1String(c.name))
            continue;
        if (helpCommand || AsksForHelp(args)) {
            CommandHelp(c);
            return 0;
        }
        try {
            return c.run(args);
        } catch (const CliError& e) {
            std::fprintf(stderr, "varenta-cli %s: %s\n", c.name, qPrintable(e.message));
            return 2;
        } catch (const VError& e) {
            std::fprintf(stderr, "varenta-cli %s: Error %d: %s\n", c.name, e.number(),
                         qPrintable(e.description()));
            return 1;
        }
    }
    std::fprintf(stderr, "varenta-cli: unknown command \"%s\"\n", qPrintable(name));
    Usage(stderr);
    return 2;
}

void HandOver(const QString& helperName) {
    const QString helper = paths::HelperProgram(QCoreApplication::applicationDirPath(), helperName);
    const QByteArray program = QFile::encodeName(helper);
    // The helper gets this process's own arguments, byte for byte.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.constData()));
    for (size_t i = 1; i < RawArgs().size(); ++i)
        argv.push_back(RawArgs()[i].data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    std::fflush(stderr);
    ::execv(program.constData(), argv.data());
    const int e = errno;
    throw VError(err::PathFileAccess,
                 QStringLiteral("%1, the part of varenta-cli that prints, cannot be started (%2). "
                                "Reinstall the program's files.")
                     .arg(helper, QString::fromLocal8Bit(std::strerror(e))));
}

} // namespace varenta::cli

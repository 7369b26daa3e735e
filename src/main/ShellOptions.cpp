#include "main/ShellOptions.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace varenta::main {

namespace {

QString Folder(const QString& value) {
    return QDir::cleanPath(QFileInfo(value).absoluteFilePath());
}

} // namespace

ShellOptions ParseShellOptions(const QStringList& args) {
    const QCommandLineOption programDir(QStringLiteral("program-dir"), QString(),
                                        QStringLiteral("DIR"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption administrator(QStringLiteral("administrator"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QStringList folderOptions{QStringLiteral("--program-dir"), QStringLiteral("--data-dir")};

    // A folder option followed by another option lacks its folder; the parser would take the
    // option's name for the folder.
    for (qsizetype i = 0; i < args.size(); ++i)
        if (folderOptions.contains(args[i]) &&
            (i + 1 >= args.size() || args[i + 1].startsWith(QStringLiteral("--"))))
            throw ShellOptionsError{QStringLiteral("option %1 needs a folder").arg(args[i])};

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({programDir, dataDir, administrator, help, version});
    if (!parser.parse(QStringList{QStringLiteral("varenta")} + args)) {
        // An unknown option, or a value given to one that takes none ("--version=1"): named as
        // typed.
        const QStringList unknown = parser.unknownOptionNames();
        for (const QString& a : args) {
            if (!a.startsWith(QLatin1Char('-')))
                continue;
            const QString name = a.section(QLatin1Char('='), 0, 0);
            const QString bare = name.mid(name.startsWith(QLatin1String("--")) ? 2 : 1);
            if (unknown.contains(bare) || (a.contains(QLatin1Char('=')) &&
                                           !folderOptions.contains(QLatin1String("--") + bare)))
                throw ShellOptionsError{QStringLiteral("unknown option %1").arg(a)};
        }
        throw ShellOptionsError{parser.errorText()};
    }
    if (!parser.positionalArguments().isEmpty())
        throw ShellOptionsError{
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first())};

    ShellOptions o;
    if (parser.isSet(programDir)) {
        const QString v = parser.value(programDir);
        if (v.isEmpty() || !QFileInfo(v).isDir())
            throw ShellOptionsError{QStringLiteral("program folder \"%1\" does not exist").arg(v)};
        o.programDir = Folder(v);
    }
    if (parser.isSet(dataDir)) {
        const QString v = parser.value(dataDir);
        if (v.isEmpty())
            throw ShellOptionsError{QStringLiteral("option --data-dir needs a folder")};
        o.dataDir = Folder(v);
    }
    o.administrator = parser.isSet(administrator);
    o.help = parser.isSet(help);
    o.version = parser.isSet(version);
    return o;
}

QString ShellUsage() {
    return QStringLiteral(
        "usage: varenta [--program-dir DIR] [--data-dir DIR] [--administrator]\n"
        "       varenta --help | --version\n"
        "  --program-dir DIR  run from the program folder DIR: its shipped files,\n"
        "                     qvtest.ini and report.prn all lie there (default: the\n"
        "                     installed files and your own settings, or the folder\n"
        "                     holding the program when it is not installed)\n"
        "  --data-dir DIR     use DIR as the data disk instead of the stored one;\n"
        "                     once accepted it is stored for the next start\n"
        "  --administrator    show the developer buttons \"Non-Deviant\" and\n"
        "                     \"Automated Checkout\" in the main window\n"
        "  --help             show this help\n"
        "  --version          show the version\n");
}

} // namespace varenta::main

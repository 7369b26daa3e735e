#include "main/ShellOptions.h"

#include <QDir>
#include <QFileInfo>

namespace varenta::main {

namespace {

QString Folder(const QString& value) {
    return QDir::cleanPath(QFileInfo(value).absoluteFilePath());
}

} // namespace

ShellOptions ParseShellOptions(const QStringList& args) {
    ShellOptions o;
    for (int i = 0; i < args.size(); ++i) {
        QString a = args[i];
        QString value;
        bool hasValue = false;
        const int eq = a.indexOf(QLatin1Char('='));
        if (a.startsWith(QStringLiteral("--")) && eq > 0) {
            value = a.mid(eq + 1);
            a = a.left(eq);
            hasValue = true;
        }
        auto takeValue = [&]() -> QString {
            if (hasValue)
                return value;
            if (i + 1 >= args.size() || args[i + 1].startsWith(QStringLiteral("--")))
                throw ShellOptionsError{QStringLiteral("option %1 needs a folder").arg(a)};
            return args[++i];
        };
        if (a == QStringLiteral("--program-dir")) {
            const QString v = takeValue();
            if (v.isEmpty() || !QFileInfo(v).isDir())
                throw ShellOptionsError{
                    QStringLiteral("program folder \"%1\" does not exist").arg(v)};
            o.programDir = Folder(v);
        } else if (a == QStringLiteral("--data-dir")) {
            const QString v = takeValue();
            if (v.isEmpty())
                throw ShellOptionsError{QStringLiteral("option --data-dir needs a folder")};
            o.dataDir = Folder(v);
        } else if (a == QStringLiteral("--administrator") && !hasValue) {
            o.administrator = true;
        } else if ((a == QStringLiteral("--help") || a == QStringLiteral("-h")) && !hasValue) {
            o.help = true;
        } else if (a == QStringLiteral("--version") && !hasValue) {
            o.version = true;
        } else if (a.startsWith(QLatin1Char('-'))) {
            throw ShellOptionsError{QStringLiteral("unknown option %1").arg(args[i])};
        } else {
            throw ShellOptionsError{QStringLiteral("unexpected argument \"%1\"").arg(a)};
        }
    }
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

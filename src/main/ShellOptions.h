#pragma once

#include <QString>
#include <QStringList>

// The options of the varenta program.
namespace varenta::main {

struct ShellOptions {
    QString programDir;         // empty: the executable's folder
    QString dataDir;            // null: the data disk stored in the configuration file
    bool administrator = false; // shows the two developer buttons of the main window
    bool help = false;
    bool version = false;
};

struct ShellOptionsError {
    QString message;
};

// Parses the arguments after the program name. Folders come back absolute and without a
// trailing "/". Throws ShellOptionsError for an unknown option, a missing value or a stray
// argument.
ShellOptions ParseShellOptions(const QStringList& args);

QString ShellUsage();

} // namespace varenta::main

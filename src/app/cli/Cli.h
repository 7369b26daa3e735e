#pragma once

#include "scoring/ScoreAndPrint.h"

#include <QMap>
#include <QString>
#include <QStringList>

// The command-line tool: one file per command, each registering itself.
namespace varenta::cli {

// Thrown for a bad argument or a bad disk; main prints the message and exits non-zero.
struct CliError {
    QString message;
};

struct Options {
    QStringList positional;
    QMap<QString, QString> values; // "--name value" pairs, without the dashes
    QStringList flags;             // "--name" alone

    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
    QString value(const QString& name) const { return values.value(name); }
    // A required positive whole number.
    int intValue(const QString& name) const;
};

// Parses arguments. `withValue` lists the options taking a value, `flags` those taking none;
// anything else is refused.
Options Parse(const QStringList& args, const QStringList& withValue, const QStringList& flags);

// Sets the program folder (--program-dir, else the executable's folder).
void UseProgramDir(const Options& o);
// Opens the data disk named by --data-dir (required) and loads its clients.
void OpenDataDir(const Options& o);

// Parses the options of a command that scores one client: --program-dir, --data-dir,
// --client N and --summary-page, with `extra` naming further options that take a value.
// Stray arguments and a bad client number are refused before anything is opened.
Options ParseClientOptions(const QStringList& args, const QStringList& extra = {});
// Opens the program folder and the data disk and makes --client the current client;
// returns what --summary-page asks of the report.
ReportRequest SelectClient(const Options& o);

struct Command {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args);
};

bool Register(const Command& c);

} // namespace varenta::cli

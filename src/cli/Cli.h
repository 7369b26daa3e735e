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
    QMap<QString, QStringList> values; // "--name value", every value in order, without the dashes
    QStringList flags;                 // "--name" alone

    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
    // The last value given.
    QString value(const QString& name) const {
        const QStringList all = values.value(name);
        return all.isEmpty() ? QString() : all.last();
    }
    QStringList allValues(const QString& name) const { return values.value(name); }
    // A required positive whole number.
    int intValue(const QString& name) const;
    // Refuses arguments that are not options (for commands that take none).
    void refuseArguments() const;
};

// Parses arguments. `withValue` lists the options taking a value ("--name value" or
// "--name=value"), `flags` those taking none; anything else is refused.
Options Parse(const QStringList& args, const QStringList& withValue, const QStringList& flags);

// Decides where files live: the program folder --program-dir when given, else the layout the
// executable was installed with (app/Paths).
void UseProgramDir(const Options& o);
// Opens the data disk named by --data-dir (required) and loads its clients.
void OpenDataDir(const Options& o);

// Parses the options of a command that scores one client: --program-dir, --data-dir,
// --client N and --summary-page, with `extra` naming further options that take a value.
// Stray arguments and a bad client number are refused before anything is opened.
Options ParseClientOptions(const QStringList& args, const QStringList& extra = {});
// Opens the program folder and the data disk and makes --client the current client;
// returns what --summary-page asks of the report.
scoring::ReportRequest SelectClient(const Options& o);

struct Command {
    const char* name;
    const char* usage; // the command and its options, then a one-line summary
    int (*run)(const QStringList& args);
    const char* help = nullptr; // more for "varenta-cli <command> --help"
};

bool Register(const Command& c);

// Runs the command the arguments name (with --help, --version and the usage around them);
// returns the exit code. The caller makes the application object first.
int Run(int argc, char** argv);

// Keeps Qt's own warnings off stderr (VARENTA_DEBUG shows them); call before the application
// object exists.
void InstallQuietQtMessages();

// Hands this process over to the helper program `helperName` (app/Paths finds it) with the
// same arguments. Returns only by throwing VError when the helper cannot be started.
[[noreturn]] void HandOver(const QString& helperName);

} // namespace varenta::cli

#pragma once

// Running the program's executables in tests, as scripts and terminals run them.
#include "support/TestSupport.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

namespace varenta::testing {

struct ProcessResult {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program to its end with the given environment.
inline ProcessResult RunProcess(const QString& program, const QStringList& args,
                                const QProcessEnvironment& env, int timeoutMs = 60000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    EXPECT_TRUE(p.waitForStarted(10000)) << program.toStdString();
    EXPECT_TRUE(p.waitForFinished(timeoutMs)) << program.toStdString();
    ProcessResult r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// The environment of a terminal whose DISPLAY names a display that is not there (an ssh
// session, cron, sudo): no platform chosen, nothing to connect to.
inline QProcessEnvironment NoDisplayEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":99"));
    return env;
}

// varenta-cli of this build (built before every test that runs it).
inline QString CliProgram() {
    return BuiltProgramDir() + QStringLiteral("/varenta-cli");
}

struct CliOutcome {
    int code = -1;
    QString out;
    QString err;
};

// Runs varenta-cli to its end, its output read as UTF-8.
inline CliOutcome RunCli(const QStringList& args, const QProcessEnvironment& env) {
    const ProcessResult r = RunProcess(CliProgram(), args, env);
    return {r.code, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

// The same in a terminal without any display, its private report folder in `runtimeDir`.
inline CliOutcome RunCliWithoutDisplay(const QStringList& args, const QString& runtimeDir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return RunCli(args, env);
}

} // namespace varenta::testing

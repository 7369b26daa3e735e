// varenta-cli as scripts and terminals call it, from the portable program folder.
#include "app/BuildConfig.h"
#include "support/ProcessRun.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

QString Cli() {
    return BuiltProgramDir() + QStringLiteral("/varenta-cli");
}

// A program folder of the test's own: the built one's shipped files, without sound.
void CopyShippedFiles(const QString& into) {
    QDir().mkpath(into);
    for (const QFileInfo& f : QDir(BuiltProgramDir()).entryInfoList(QDir::Files)) {
        const QString name = f.fileName().toLower();
        if (!f.isExecutable() && name != QLatin1String("report.prn") &&
            !name.startsWith(QLatin1String("temp")))
            QFile::copy(f.filePath(), into + QLatin1Char('/') + f.fileName());
    }
}

} // namespace

// No command aborts for a display that is not there, the printing one included, and the
// report lands in the program folder given, as it always did.
TEST(CliTest, CommandsRunWithDisplayPointingNowhere) {
    TempDir dir;
    const QString prog = dir.file(QStringLiteral("prog"));
    const QString disk = dir.file(QStringLiteral("disk"));
    CopyShippedFiles(prog);
    WriteDataDisk(disk, SampleClients(2));
    QProcessEnvironment env = NoDisplayEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());

    ProcessResult r = RunProcess(Cli(), {"list", "--data-dir", disk}, env);
    EXPECT_EQ(r.code, 0) << r.err.constData();
    EXPECT_TRUE(r.out.startsWith("1-Client 1")) << r.out.constData();
    EXPECT_EQ(r.err, QByteArray());

    r = RunProcess(Cli(), {"report", "--program-dir", prog, "--data-dir", disk, "--client", "2"},
                   env);
    ASSERT_EQ(r.code, 0) << r.err.constData();
    const QJsonObject json = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(json.value("client").toInt(), 2);
    EXPECT_EQ(json.value("report_file").toString(), prog + QStringLiteral("/report.prn"));
    EXPECT_TRUE(ReadFile(prog + QStringLiteral("/report.prn")).contains("CONFIDENTIAL REPORT"));
    EXPECT_EQ(r.err, QByteArray());

    const QString pdf = dir.file(QStringLiteral("out.pdf"));
    r = RunProcess(
        Cli(), {"print", "--program-dir", prog, "--data-dir", disk, "--client", "1", "--pdf", pdf},
        env);
    EXPECT_EQ(r.code, 0) << r.err.constData();
    EXPECT_TRUE(ReadFile(pdf).startsWith("%PDF"));
    EXPECT_EQ(r.err, QByteArray());
}

TEST(CliTest, HelpAndVersionAnswerOnStandardOutput) {
    const QProcessEnvironment env = NoDisplayEnvironment();
    for (const QStringList& args : {QStringList{"--help"}, QStringList{"help"}}) {
        const ProcessResult r = RunProcess(Cli(), args, env);
        EXPECT_EQ(r.code, 0);
        EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
        for (const char* command : {"list", "init-disk", "report", "print", "checkout"})
            EXPECT_TRUE(r.out.contains(QByteArray("\n  ") + command + ' ')) << command;
    }
    // Each command's own help, even where its options would be refused.
    for (const QStringList& args :
         {QStringList{"report", "--help"}, QStringList{"help", "report"},
          QStringList{"report", "--client", "x", "-h"}, QStringList{"print", "--help"}}) {
        const ProcessResult r = RunProcess(Cli(), args, env);
        EXPECT_EQ(r.code, 0) << args.join(' ').toStdString();
        const QByteArray command = args.first() == "help" ? "report" : args.first().toUtf8();
        EXPECT_TRUE(r.out.startsWith("usage: varenta-cli " + command + ' ')) << r.out.constData();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    }
    const QByteArray version = QByteArray(build::Version) + '\n';
    ProcessResult r = RunProcess(Cli(), {"--version"}, env);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "varenta-cli " + version);
    r = RunProcess(BuiltProgramDir() + QStringLiteral("/varenta"), {"--version"}, env);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "varenta " + version);

    // Misuse: the usage on standard error, status 2.
    for (const QStringList& args : {QStringList{}, QStringList{"bogus"}}) {
        r = RunProcess(Cli(), args, env);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("usage: varenta-cli")) << r.err.constData();
    }
}

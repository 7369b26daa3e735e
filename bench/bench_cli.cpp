// Whole varenta-cli processes as scripts start them: the CPU time (user + system) one process
// takes from exec to exit, for a report of one client and for the client list. What the
// libraries a process loads and the application object it makes cost shows here, where the
// scoring benchmarks cannot see it.
//
//   build/bench/bench_cli                      twenty processes each, mean and median
//   VARENTA_BENCH_CLI=/other/varenta-cli ...   the same for another build, to compare
#include "BenchMain.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

namespace {

using namespace varenta;

// A program folder (the shipped files, no sound) and a data disk of six clients.
struct Folders {
    QTemporaryDir dir;
    QString program = dir.filePath(QStringLiteral("prog"));
    QString disk = dir.filePath(QStringLiteral("disk"));
    Folders() {
        QDir().mkpath(program);
        for (const QFileInfo& f : QDir(testing::BuiltProgramDir()).entryInfoList(QDir::Files))
            if (!f.isExecutable())
                QFile::copy(f.filePath(), program + QLatin1Char('/') + f.fileName());
        testing::WriteDataDisk(disk, testing::SampleClients(6));
    }
};

Folders& TheFolders() {
    static Folders folders;
    return folders;
}

std::string Cli() {
    const QString other = qEnvironmentVariable("VARENTA_BENCH_CLI");
    return QFile::encodeName(other.isEmpty() ? testing::BuiltProgramDir() + "/varenta-cli" : other)
        .toStdString();
}

// The CPU seconds of one run of the command, or a negative number when it failed.
double ProcessCpuSeconds(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void CliProcess(benchmark::State& state, std::vector<std::string> args) {
    const Folders& f = TheFolders();
    for (std::string& a : args) {
        if (a == "PROGRAM")
            a = QFile::encodeName(f.program).toStdString();
        else if (a == "DISK")
            a = QFile::encodeName(f.disk).toStdString();
    }
    args.insert(args.begin(), Cli());
    for (auto _ : state) {
        const double cpu = ProcessCpuSeconds(args);
        if (cpu < 0) {
            state.SkipWithError("varenta-cli failed");
            break;
        }
        state.SetIterationTime(cpu);
    }
}

void Whole(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(20);
    b->ReportAggregatesOnly(true);
}

BENCHMARK_CAPTURE(CliProcess, report,
                  {"report", "--program-dir", "PROGRAM", "--data-dir", "DISK", "--client", "3"})
    ->Apply(Whole);
BENCHMARK_CAPTURE(CliProcess, list, {"list", "--data-dir", "DISK"})->Apply(Whole);
// The floor: a process that only answers its version.
BENCHMARK_CAPTURE(CliProcess, version, {"--version"})->Apply(Whole);

} // namespace

int main(int argc, char** argv) {
    return varenta::bench::Run(argc, argv);
}

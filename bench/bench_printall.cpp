// Print all: the scoring-and-copy pass over a full data disk of 51 clients, the whole run
// without a printer, and the whole run into one PDF file per client.
#include "BenchMain.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/PrintSelected.h"
#include "reports/gui/frmPrintSelected.h"
#include "reports/print/ReportPrint.h"
#include "scoring/ScoreAndPrint.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace varenta;

namespace {

// A data disk of 51 clients and a program folder of the shipped tables and texts.
struct FullDisk {
    FullDisk() {
        ResetGlobals();
        std::vector<ClientRecord> clients;
        for (int n = 1; n <= MaxClients; ++n)
            clients.push_back(testing::SampleClient(n));
        testing::WriteDataDisk(disk.path(), clients);
        testing::UseDataDisk(disk.path());
        const QDir from(testing::BuiltProgramDir());
        for (const QFileInfo& f : from.entryInfoList(QDir::Files))
            if (!f.isExecutable())
                QFile::copy(f.filePath(), program.file(f.fileName()));
        Globals().ProgramDir = program.path();
    }
    testing::TempDir disk, program;
};

QList<int> All() {
    QList<int> all;
    for (int n = 1; n <= Globals().ClientCount; ++n)
        all << n;
    return all;
}

// Each client scored and its report copied aside, as the first pass of print all does: the
// run stops before its printing pass.
void ScoringAndCopyPass(benchmark::State& state) {
    FullDisk disk;
    reports::BatchPrintHooks hooks;
    hooks.print = [](int) { return false; }; // "not printed after all": the run ends here
    for (auto _ : state) {
        const reports::BatchPrintResult r = PrintClientReports(All(), {}, hooks);
        benchmark::DoNotOptimize(r.declined);
    }
    state.SetItemsProcessed(state.iterations() * MaxClients);
}
BENCHMARK(ScoringAndCopyPass)->Unit(benchmark::kMillisecond);

// The whole run with a printer that takes each report at once: both passes, the copies put
// back and deleted.
void PrintAllNoPrinter(benchmark::State& state) {
    FullDisk disk;
    reports::BatchPrintHooks hooks;
    hooks.print = [](int) { return true; };
    for (auto _ : state) {
        const reports::BatchPrintResult r = PrintClientReports(All(), {}, hooks);
        benchmark::DoNotOptimize(r.printed.size());
    }
    state.SetItemsProcessed(state.iterations() * MaxClients);
}
BENCHMARK(PrintAllNoPrinter)->Unit(benchmark::kMillisecond);

// The whole run into one PDF file per client, as where no printer is set up.
void PrintAllIntoPdfFiles(benchmark::State& state) {
    FullDisk disk;
    testing::TempDir out;
    reports::PrintUi().printerAvailable = [] { return false; };
    reports::PrintUi().choosePdfPath = [&out](const QString&) { return out.file("Reports.pdf"); };
    ScriptedMessages messages;
    for (auto _ : state) {
        messages.Answer(MsgAnswer::Yes);
        const reports::BatchPrintResult r = reports::PrintReportsOf(All(), {}, nullptr);
        if (!r.complete())
            state.SkipWithError("the run stopped");
    }
    state.SetItemsProcessed(state.iterations() * MaxClients);
}
BENCHMARK(PrintAllIntoPdfFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return varenta::bench::Run(argc, argv);
}

// From launch to a main window that accepts keys: configuration, data disk check, splash
// reveal, clients loaded twice, list filled. The splash's closing hold is left out.
#include "BenchMain.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "support/TestSupport.h"
#include "ui/frmAbout.h"
#include "ui/frmMainMenu.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace varenta;

void StartUp(benchmark::State& state, double revealScale) {
    QTemporaryDir program;
    QTemporaryDir disk;
    std::vector<ClientRecord> clients;
    for (int n = 1; n <= MaxClients; ++n)
        clients.push_back(testing::SampleClient(n));
    testing::WriteDataDisk(disk.path(), clients);
    ui::frmAbout::SetTimeScale(revealScale, 0.0);
    ScriptedMessages messages; // any message would be a failure: none is expected
    ui::MainMenuOptions options;
    options.dataDir = disk.path();
    for (auto _ : state) {
        Globals() = GlobalState(); // as the program starts again
        Globals().ProgramDir = program.path();
        ui::frmMainMenu w(options);
        if (!w.StartUp() || w.lbNameDisplay()->count() != MaxClients) {
            state.SkipWithError("the start-up failed");
            break;
        }
    }
    if (!messages.shown().empty())
        state.SkipWithError(qPrintable(messages.texts().join(QLatin1Char('|'))));
    ui::frmAbout::SetTimeScale(1.0, 1.0);
}

// The splash reveal at its real pace (ten ticks of 10 ms).
void BM_StartUpToReadyWindow(benchmark::State& state) {
    StartUp(state, 1.0);
}
BENCHMARK(BM_StartUpToReadyWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

// The program's own work alone, without the reveal's timer.
void BM_StartUpWorkOnly(benchmark::State& state) {
    StartUp(state, 0.0);
}
BENCHMARK(BM_StartUpWorkOnly)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    return varenta::bench::Run(argc, argv);
}

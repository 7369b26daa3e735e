// Opening the answer-sheet window: the question table read from qv32.mdb and the three grids
// built (goal: at most 50 ms).
#include "BenchMain.h"
#include "administration/gui/frmNewEntry.h"
#include "app/Globals.h"
#include "store/ClientStore.h"
#include "support/TestSupport.h"

#include <QApplication>

#include <benchmark/benchmark.h>

using namespace varenta;
using namespace varenta::administration;

namespace {

void Prepare(const testing::TempDir& disk) {
    testing::WriteDataDisk(disk.path(), {testing::SampleClient(1)});
    testing::UseDataDisk(disk.path());
    testing::UseProgramDir();
    Globals().EditMode = true;
    Globals().CurrentClient = 1;
}

// Database read and grids built, as the window does when it opens.
void BM_OpenAnswerGrid(benchmark::State& state) {
    testing::TempDir disk;
    Prepare(disk);
    for (auto _ : state) {
        frmNewEntry w;
        if (!w.Load())
            state.SkipWithError("the question database could not be read");
        benchmark::DoNotOptimize(w.GridCount());
    }
}
BENCHMARK(BM_OpenAnswerGrid)->Unit(benchmark::kMillisecond);

// The same, shown on screen with its first paint.
void BM_OpenAndShowAnswerGrid(benchmark::State& state) {
    testing::TempDir disk;
    Prepare(disk);
    for (auto _ : state) {
        frmNewEntry w;
        w.show();
        while (!w.loaded())
            QApplication::processEvents();
        w.grab();
        w.hide();
    }
}
BENCHMARK(BM_OpenAndShowAnswerGrid)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return varenta::bench::Run(argc, argv);
}

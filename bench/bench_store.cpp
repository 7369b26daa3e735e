// The client data file: reading a full data disk, and writing one client back (which waits
// for the record to reach the disk).
#include "BenchMain.h"
#include "app/Globals.h"
#include "store/ClientStore.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace varenta;

// A full data disk (51 clients) in a temporary folder, loaded.
struct FullDisk {
    FullDisk() {
        std::vector<ClientRecord> clients;
        for (int n = 1; n <= MaxClients; ++n)
            clients.push_back(testing::SampleClient(n));
        testing::WriteDataDisk(dir.path(), clients);
        testing::UseDataDisk(dir.path());
    }
    QTemporaryDir dir;
};

void BM_LoadClients51(benchmark::State& state) {
    FullDisk disk;
    for (auto _ : state) {
        LoadClients();
        benchmark::DoNotOptimize(Globals().ClientCount);
    }
    if (Globals().ClientCount != MaxClients)
        state.SkipWithError("the disk did not load");
}
BENCHMARK(BM_LoadClients51)->Unit(benchmark::kMicrosecond);

void BM_SaveClientOne(benchmark::State& state) {
    FullDisk disk;
    int slot = 1;
    for (auto _ : state) {
        Globals().Clients[size_t(slot)].EditCount = QString::number(slot % 4);
        SaveClient(slot);
        slot = slot % MaxClients + 1;
    }
}
BENCHMARK(BM_SaveClientOne)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return varenta::bench::Run<QCoreApplication>(argc, argv);
}

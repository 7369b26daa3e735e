// Scoring one client end to end (tables read, client scored, report written) and the reports
// of a full data disk, on the tables that ship with the program.
#include "BenchMain.h"
#include "app/Globals.h"
#include "scoring/ScoreAndPrint.h"
#include "store/ClientStore.h"
#include "store/Comments.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace varenta;

// A program folder copied from the build and a full data disk with a comment per client,
// in temporary folders under `base` (the system's temporary folder when empty).
struct Setup {
    explicit Setup(const QString& base)
        : program(base.isEmpty() ? QDir::tempPath() + QStringLiteral("/bench-XXXXXX")
                                 : base + QStringLiteral("/bench-XXXXXX")),
          data(base.isEmpty() ? QDir::tempPath() + QStringLiteral("/bench-XXXXXX")
                              : base + QStringLiteral("/bench-XXXXXX")) {}
    void Use() {
        testing::UseProgramDir(program.path() + QStringLiteral("/program"));
        std::vector<ClientRecord> clients;
        QByteArray comments;
        for (int n = 1; n <= MaxClients; ++n) {
            clients.push_back(testing::SampleClient(n));
            comments += QByteArray("Seen with a parent; follow-up at school in two weeks. ")
                            .repeated(n % 6)
                            .leftJustified(CommentLength, ' ', true);
        }
        const QString disk = data.path() + QStringLiteral("/disk");
        testing::WriteDataDisk(disk, clients);
        testing::WriteFile(disk + QStringLiteral("/Comments.dat"), comments);
        testing::UseDataDisk(disk);
    }
    QTemporaryDir program;
    QTemporaryDir data;
};

// Folders on the disk (arg 0) or in memory (arg 1), to tell the file system's share apart.
void UseFolders(bool inMemory) {
    static Setup onDisk{QString()};
    static Setup inRam{QStringLiteral("/dev/shm")};
    static int current = -1;
    if (current != int(inMemory)) {
        (inMemory ? inRam : onDisk).Use();
        current = int(inMemory);
    }
}

void BM_ScoreClient(benchmark::State& state) {
    UseFolders(state.range(1) != 0);
    int n = 0;
    for (auto _ : state) {
        Globals().CurrentClient = qint16(n % MaxClients + 1);
        scoring::ScoreClient({state.range(0) != 0});
        ++n;
    }
}
// Args: one-page summary, folders in memory.
BENCHMARK(BM_ScoreClient)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Unit(benchmark::kMicrosecond);

void BM_ScoreAllClients(benchmark::State& state) {
    UseFolders(state.range(0) != 0);
    for (auto _ : state) {
        for (int n = 1; n <= MaxClients; ++n) {
            Globals().CurrentClient = qint16(n);
            scoring::ScoreClient();
        }
    }
}
BENCHMARK(BM_ScoreAllClients)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return varenta::bench::Run<QCoreApplication>(argc, argv);
}

// The records a court service keeps beside the screening: the score export of one full data
// disk and of a hundred, the cost the audit line adds to a save, and a backup of a full disk.
#include "BenchMain.h"
#include "app/Globals.h"
#include "reports/ScoreExport.h"
#include "store/AuditTrail.h"
#include "store/Backup.h"
#include "store/ClientStore.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

using namespace varenta;

// 100 full data disks of clients with varied answers and court histories, and a copy of the
// program folder, in the system's temporary folder.
struct Disks {
    Disks() {
        testing::UseProgramDir(program.path() + QStringLiteral("/program"));
        std::mt19937 rng(7);
        for (int d = 0; d < 100; ++d) {
            std::vector<ClientRecord> clients;
            for (int n = 1; n <= MaxClients; ++n) {
                ClientRecord c = testing::SampleClient(n);
                QString answers;
                for (int item = 1; item <= ResponseCount; ++item)
                    answers += QChar(u'0' + int(rng() % (item <= 63 ? 3 : 5)));
                c.Responses = answers;
                *c.CourtField(7) = Fit(QString::number(rng() % 4), width::Court);
                clients.push_back(c);
            }
            folders << data.path() + QStringLiteral("/disk%1").arg(d);
            testing::WriteDataDisk(folders.last(), clients);
        }
    }
    QTemporaryDir program;
    QTemporaryDir data;
    QStringList folders;
};

Disks& AllDisks() {
    static Disks disks;
    return disks;
}

// Tables read, every client of one disk scored, the CSV made: what one export run does.
void BM_ExportOneFullDisk(benchmark::State& state) {
    const QString disk = AllDisks().folders.first();
    for (auto _ : state) {
        reports::ScoreExport e;
        e.AddDisk(disk);
        benchmark::DoNotOptimize(e.Bytes().size());
    }
}
BENCHMARK(BM_ExportOneFullDisk)->Unit(benchmark::kMillisecond);

void BM_ExportHundredFullDisks(benchmark::State& state) {
    for (auto _ : state) {
        reports::ScoreExport e;
        for (const QString& disk : AllDisks().folders)
            e.AddDisk(disk);
        if (e.Rows() != 100 * MaxClients)
            state.SkipWithError("not every client was exported");
    }
}
BENCHMARK(BM_ExportHundredFullDisks)->Unit(benchmark::kMillisecond);

// A save alone, a save with its audit line, and a save with a second flushed write of the
// same size as the yardstick "one extra flush".
void BM_Save(benchmark::State& state) {
    QTemporaryDir dir;
    testing::WriteDataDisk(dir.path(), testing::SampleClients(MaxClients));
    testing::UseDataDisk(dir.path());
    int slot = 1;
    for (auto _ : state) {
        Globals().Clients[size_t(slot)].EditCount = QString::number(slot % 4);
        SaveClient(slot);
        if (state.range(0) == 1)
            audit::Record(audit::Event::Edited, slot);
        else if (state.range(0) == 2)
            SaveClient(slot);
        slot = slot % MaxClients + 1;
    }
}
// Arg: 0 the save alone, 1 with the audit line, 2 with one more flushed write.
BENCHMARK(BM_Save)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_BackUpFullDisk(benchmark::State& state) {
    QTemporaryDir into;
    QDateTime when(QDate(2026, 1, 1), QTime(0, 0));
    for (auto _ : state) {
        BackUpDataDisk(AllDisks().folders.first(), into.path(), when);
        when = when.addSecs(1);
    }
}
BENCHMARK(BM_BackUpFullDisk)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return varenta::bench::Run<QCoreApplication>(argc, argv);
}

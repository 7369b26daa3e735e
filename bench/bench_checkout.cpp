// The Scale Distributions check report: both genders, three race groups, three scales, every
// item of each scale answered three ways, each variant scored from the shipped tables.
#include "app/Globals.h"
#include "checkout/Checkout.h"
#include "support/TestSupport.h"

#include <benchmark/benchmark.h>

using namespace varenta;

namespace {

void BuildDistributions(benchmark::State& state) {
    ResetGlobals();
    testing::UseProgramDir();
    checkout::CheckoutSession session;
    for (auto _ : state) {
        const QByteArray report = session.BuildReport(checkout::ReportKind::ScaleDistributions,
                                                      checkout::GenderChoice::Both);
        benchmark::DoNotOptimize(report.constData());
    }
}
BENCHMARK(BuildDistributions)->Unit(benchmark::kMillisecond);

// The same with the report file written, as the window and the command do.
void WriteDistributions(benchmark::State& state) {
    ResetGlobals();
    const testing::TempDir program;
    testing::UseProgramDir(program.path());
    checkout::CheckoutSession session;
    for (auto _ : state)
        session.WriteReport(checkout::ReportKind::ScaleDistributions, checkout::GenderChoice::Both);
}
BENCHMARK(WriteDistributions)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

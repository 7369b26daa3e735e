#pragma once

// What every benchmark's main does: Qt's application object first (windows, fonts and PDF
// pages need a full one, offscreen unless a platform is chosen), then Google Benchmark.
#include <QApplication>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace varenta::bench {

template <typename App = QApplication> int Run(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace varenta::bench

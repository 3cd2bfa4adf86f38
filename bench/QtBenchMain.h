#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

namespace hv::bench {

// The main of a benchmark of widgets: offscreen unless QT_QPA_PLATFORM says otherwise, an
// application for the widgets, the benchmarks, then done (with the application still there)
// for what has to go before it and the figures printed after the table.
inline int RunWidgetBenchmarks(int argc, char** argv, const std::function<void()>& done = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (done) {
        done();
    }
    return 0;
}

} // namespace hv::bench

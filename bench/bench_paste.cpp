// Pasting a copied folder of 100,000 items (target in a Release build on two cores: under a
// second, in the core and in the main window with its views let go of the tree and shown again).

#include "FakePrompts.h"
#include "GenerateDocument.h"
#include "exchange/ClipFormats.h"
#include "exchange/Paste.h"
#include "model/HVFolder.h"

#ifdef HV_BENCH_WINDOW
#include "document/HVDocument.h"
#include "mainwindow/ClipboardActions.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"

#include <QApplication>
#include <QMimeData>
#endif

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// The own format's bytes of the generated document as one copied folder.
const std::string& CopiedFolder() {
    static const std::string bytes = hv::BuildOwnData(*hv::bench::GenerateDocument());
    return bytes;
}

// Into a folder without that sub-folder: everything is made new.
void BM_PasteFolderIntoEmptyFolder(benchmark::State& state) {
    CopiedFolder(); // made once, outside the timing
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<hv::THVFolder>("target");
        hv::TPasteData data;
        state.ResumeTiming();
        data.Own = hv::DecodeOwnData(CopiedFolder());
        benchmark::DoNotOptimize(hv::PasteInto(data, *target));
        state.PauseTiming();
        target.reset();
        state.ResumeTiming();
    }
    state.counters["items"] = hv::bench::kGeneratedItems;
}
BENCHMARK(BM_PasteFolderIntoEmptyFolder)->Unit(benchmark::kMillisecond);

// A second paste into the same folder: every folder merges, every item name gets "~1".
void BM_PasteFolderOverItself(benchmark::State& state) {
    hv::TPasteData data;
    data.Own = hv::DecodeOwnData(CopiedFolder());
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<hv::THVFolder>("target");
        hv::PasteInto(data, *target);
        state.ResumeTiming();
        benchmark::DoNotOptimize(hv::PasteInto(data, *target));
        state.PauseTiming();
        target.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PasteFolderOverItself)->Unit(benchmark::kMillisecond);

#ifdef HV_BENCH_WINDOW
// The whole paste of the window, offscreen: read, paste, views shown again.
void BM_PasteFolderInWindow(benchmark::State& state) {
    hv::test::TFakePrompts prompts;
    QMimeData mime;
    mime.setData(QString::fromLatin1(hv::kOwnFormat.data(), static_cast<qsizetype>(hv::kOwnFormat.size())),
                 QByteArray(CopiedFolder().data(), static_cast<qsizetype>(CopiedFolder().size())));
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<hv::THVWindow>(nullptr, &prompts);
        window->resize(1000, 700);
        window->show();
        QApplication::processEvents();
        state.ResumeTiming();
        window->Clipboard().Paste(&mime, &window->Document().Root());
        QApplication::processEvents();
        state.PauseTiming();
        window->Document().New();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PasteFolderInWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
#endif

} // namespace

int main(int argc, char** argv) {
#ifdef HV_BENCH_WINDOW
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The find window and the duplicate-URL window over the generated 100,000-item document,
// offscreen (targets in a Release build on two cores: a find of all folders shows its rows
// within 100 ms, the duplicate search within 150 ms, the window's painting included).

#include "FakePrompts.h"
#include "GenerateDocument.h"
#include "QtBenchMain.h"
#include "document/DocumentFile.h"
#include "document/HVDocument.h"
#include "mainwindow/HVWindow.h"
#include "search/FindDlg.h"
#include "search/FindDupDlg.h"
#include "search/ResultModels.h"
#include "search/SearchWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

using hv::test::TFakePrompts;

// A shown main window holding the generated document, with both search windows open.
struct TBench {
    TBench() : Window(nullptr, &Prompts) {
        const std::string path = (Dir.path() + QStringLiteral("/bench.hv")).toStdString();
        hv::SaveDocumentFile(path, *hv::bench::GenerateDocument(), {});
        Window.Document().Open(path);
        Window.resize(1000, 700);
        Window.show();
        Window.SearchWindows().actFind->trigger();
        Window.SearchWindows().actFindDup->trigger();
        QApplication::processEvents();
    }

    QTemporaryDir Dir;
    TFakePrompts Prompts;
    hv::THVWindow Window;
};

std::unique_ptr<TBench>& BenchHolder() {
    static std::unique_ptr<TBench> bench;
    return bench;
}

TBench& Bench() {
    if (!BenchHolder()) {
        BenchHolder() = std::make_unique<TBench>();
    }
    return *BenchHolder();
}

std::map<std::string, double>& Figures() {
    static std::map<std::string, double> figures;
    return figures;
}

// From btnSearch to the rows painted: the search's slices run from the event loop.
void BM_FindAllFolders(benchmark::State& state, int subject, const char* text, const char* label) {
    hv::TFindDlg& dlg = *Bench().Window.SearchWindows().FindDlg();
    dlg.findChild<QComboBox*>(QStringLiteral("cbbSubject"))->setCurrentIndex(subject);
    dlg.findChild<QComboBox*>(QStringLiteral("cbbFindText"))->setEditText(QString::fromUtf8(text));
    dlg.findChild<QRadioButton*>(QStringLiteral("rdbAll"))->setChecked(true);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        dlg.StartSearch();
        while (dlg.Search().Searching()) {
            QApplication::processEvents();
        }
        dlg.List()->viewport()->repaint();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["rows"] = dlg.Model()->rowCount();
    Figures()[label] = seconds * 1000.0 / static_cast<double>(state.iterations());
}

void BM_FindDuplicates(benchmark::State& state, bool commands, const char* label) {
    hv::TFindDupDlg& dlg = *Bench().Window.SearchWindows().FindDupDlg();
    dlg.findChild<QCheckBox*>(QStringLiteral("chkCommands"))->setChecked(commands);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        dlg.StartSearch();
        dlg.List()->viewport()->repaint();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["rows"] = dlg.Model()->rowCount();
    Figures()[label] = seconds * 1000.0 / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK_CAPTURE(BM_FindAllFolders, Names, 0, "news", "find all folders, names")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FindAllFolders, EveryURL, 1, "example", "find all folders, every URL")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FindDuplicates, Commands, true, "duplicates with commands")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FindDuplicates, URLs, false, "duplicates of URLs")->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return hv::bench::RunWidgetBenchmarks(argc, argv, [] {
        BenchHolder().reset();
        for (const auto& [name, ms] : Figures()) {
            std::printf("%-30s %8.2f ms per run\n", name.c_str(), ms);
        }
    });
}

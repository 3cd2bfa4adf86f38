// The item list of the main window showing a folder of 100,000 items, offscreen (target in a
// Release build on two cores: the folder shown, sorted and painted within 300 ms in either view;
// a scroll step well within a frame).

#include "FakePrompts.h"
#include "QtBenchMain.h"
#include "document/HVDocument.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/ItemListViews.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "model/ItemOrder.h"

#include <QScrollBar>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int kItems = 100000;

using hv::test::TFakePrompts;

// A shown window whose root holds one folder of kItems items: names of about 20 characters (a
// third Japanese), URLs of about 60, most visited at different times, a schedule on every
// twentieth.
struct TBench {
    TBench() : Window(nullptr, &Prompts) {
        Folder = Window.Document().Root().AddChild("big");
        const char* words[] = {"news", "天気予報", "review", "ブログ", "forum", "地図"};
        for (int i = 0; i < kItems; ++i) {
            const std::string number = std::to_string((i * 7919) % kItems);
            hv::THVItem* item = Folder->List().Add(std::string(words[i % 6]) + " page " + number + " entry");
            item->SetURL("https://www.example" + std::to_string(i % 97) + ".com/section/" + number +
                         "/index.html?ref=bench");
            item->SetLastVisited(i % 5 == 0 ? 0 : hv::EncodeDateTime(2024, 1 + i % 12, 1 + i % 28, i % 24, i % 60));
            if (i % 20 == 0) {
                item->SetSchedule("W 1,2,3,4,5,6,7 9:00 1,0");
            }
        }
        Window.resize(1000, 700);
        Window.show();
        QApplication::processEvents();
    }
    // Leaves the folder out of the order the list will sort it into.
    void Unsort() {
        Window.ItemList().ShowFolder(nullptr);
        hv::TItemOrder byURL;
        byURL.SortType = hv::TItemOrder::ByURL;
        Folder->List().Sort(byURL);
    }
    QAbstractItemView* View() { return Window.ItemList().Views().Current(); }

    TFakePrompts Prompts;
    hv::THVWindow Window;
    hv::THVFolder* Folder = nullptr;
};

// Made on first use, and freed by main() while the application still runs.
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

// Showing the folder: sorting, filling, sizing the columns and painting the first screen.
void BM_ShowFolder(benchmark::State& state, bool report, const char* label) {
    TBench& bench = Bench();
    bench.Window.ItemList().SetReportView(report);
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.Unsort();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        bench.Window.ItemList().ShowFolder(bench.Folder);
        bench.View()->viewport()->repaint();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["rows"] = bench.Window.ItemList().Model()->rowCount();
    Figures()[label] = seconds * 1000.0 / static_cast<double>(state.iterations());
}

// One page down and the repaint it causes.
void BM_ScrollStep(benchmark::State& state, bool report, const char* label) {
    TBench& bench = Bench();
    bench.Window.ItemList().SetReportView(report);
    bench.Window.ItemList().ShowFolder(bench.Folder);
    QScrollBar* bar = report ? bench.View()->verticalScrollBar() : bench.View()->horizontalScrollBar();
    bench.View()->viewport()->repaint();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        bench.View()->viewport()->repaint();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    Figures()[label] = seconds * 1000.0 / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK_CAPTURE(BM_ShowFolder, Report, true, "show 100,000 items, report")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ShowFolder, Names, false, "show 100,000 items, names")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ScrollStep, Report, true, "scroll a page, report")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ScrollStep, Names, false, "scroll a page, names")->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return hv::bench::RunWidgetBenchmarks(argc, argv, [] {
        BenchHolder().reset();
        for (const auto& [name, ms] : Figures()) {
            std::printf("%-28s %8.2f ms per run\n", name.c_str(), ms);
        }
    });
}

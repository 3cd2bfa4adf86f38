// The tree menus over a folder of 10,000 items, offscreen (target in a Release build on two
// cores: the root's list of 200 folders within 20 ms, the 10,000-item sub-menu filled and shown
// within 300 ms of processor time; closed folders cost nothing).

#include "FakePrompts.h"
#include "QtBenchMain.h"
#include "document/HVDocument.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/TreeMenu.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"

#include <QAction>
#include <QMenu>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kItems = 10000;
constexpr int kFolders = 200;

// A window whose root holds kFolders folders of a few items each and one folder of kItems items,
// every fiftieth with two commands.
struct TBench {
    TBench() : Window(nullptr, &Prompts) {
        hv::THVFolder& root = Window.Document().Root();
        for (int f = 0; f < kFolders; ++f) {
            hv::THVFolder* folder = root.AddChild("folder " + std::to_string(f));
            for (int i = 0; i < 5; ++i) {
                folder->List().Add("item " + std::to_string(i))->SetURL("https://f.example/" + std::to_string(i));
            }
        }
        Big = root.AddChild("big");
        const char* words[] = {"news", "天気予報", "review", "ブログ", "forum", "地図"};
        for (int i = 0; i < kItems; ++i) {
            const std::string number = std::to_string((i * 7919) % kItems);
            hv::THVItem* item = Big->List().Add(std::string(words[i % 6]) + " page " + number);
            item->SetURL("https://www.example" + std::to_string(i % 97) + ".com/section/" + number + "/");
            if (i % 50 == 0) {
                hv::TCmdItem& web = item->GetCommands().Add();
                web.Title = "search";
                web.CommandLine = "https://search.example/?q=" + number;
                hv::TCmdItem& tool = item->GetCommands().Add();
                tool.Title = "tool";
                tool.CommandLine = "no-such-tool " + number;
            }
        }
        List = new QMenu(&Window);
        Window.TreeMenu().AddListMenu(List);
    }
    QMenu* BigMenu() {
        const QList<QAction*> actions = List->actions();
        return actions.at(kFolders + 2)->menu();
    }

    hv::test::TFakePrompts Prompts;
    hv::THVWindow Window;
    hv::THVFolder* Big = nullptr;
    QMenu* List = nullptr;
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

// The root's list: 200 folder sub-menus with their open entries, nothing below them yet.
void BM_RootList(benchmark::State& state) {
    TBench& bench = Bench();
    for (auto _ : state) {
        bench.Window.TreeMenu().CreateTreeMenu(&bench.Window.Document().Root(), bench.List, true);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The big folder's sub-menu filled and shown, as when the user rests on it.
void BM_BigFolderOpens(benchmark::State& state) {
    TBench& bench = Bench();
    for (auto _ : state) {
        state.PauseTiming();
        bench.Window.TreeMenu().CreateTreeMenu(&bench.Window.Document().Root(), bench.List, true);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QMenu* big = bench.BigMenu();
        state.ResumeTiming();
        big->popup(QPoint(0, 0));
        QApplication::processEvents();
        state.PauseTiming();
        big->hide();
        state.ResumeTiming();
    }
    state.counters["entries"] = static_cast<double>(bench.BigMenu()->actions().size());
}

// Only the entries of the big folder built, without showing the menu.
void BM_BigFolderFilled(benchmark::State& state) {
    TBench& bench = Bench();
    for (auto _ : state) {
        state.PauseTiming();
        bench.Window.TreeMenu().CreateTreeMenu(&bench.Window.Document().Root(), bench.List, true);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QMenu* big = bench.BigMenu();
        state.ResumeTiming();
        emit big->aboutToShow();
    }
}

} // namespace

BENCHMARK(BM_BigFolderFilled)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RootList)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BigFolderOpens)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return hv::bench::RunWidgetBenchmarks(argc, argv, [] { BenchHolder().reset(); });
}

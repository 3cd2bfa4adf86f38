// Finding items and duplicate URLs in the generated 100,000-item document
// (targets in a Release build on two cores: a find over all folders within 30 ms, a duplicate
// search including commands within 60 ms).

#include "FakePrompts.h"
#include "GenerateDocument.h"
#include "search/DuplicateUrls.h"
#include "search/FindSearch.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace {

using hv::test::TFakePrompts;

hv::THVFolder& Tree() {
    static const std::unique_ptr<hv::THVFolder> tree = hv::bench::GenerateDocument();
    return *tree;
}

// The generated document with every tenth URL repeated (in upper case) five items later, so
// that a tenth of the items fall into groups of two.
hv::THVFolder& TreeWithDuplicates() {
    static const std::unique_ptr<hv::THVFolder> tree = [] {
        std::unique_ptr<hv::THVFolder> root = hv::bench::GenerateDocument();
        hv::ForEachFolder(*root, [](hv::THVFolder& folder, int) {
            hv::THVList& list = folder.List();
            for (int i = 5; i < list.Count(); i += 10) {
                std::string url = list.Items(i - 5)->GetURL();
                for (char& c : url) {
                    c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
                }
                list.Items(i)->SetURL(url);
            }
        });
        return root;
    }();
    return *tree;
}

// Mean milliseconds per run of each benchmark, printed after the table.
std::map<std::string, double>& Figures() {
    static std::map<std::string, double> figures;
    return figures;
}

void Record(benchmark::State& state, const std::string& name, double totalSeconds, double rows) {
    const double ms = totalSeconds * 1000.0 / static_cast<double>(state.iterations());
    state.counters["rows"] = rows;
    Figures()[name] = ms;
}

// The find window's default search (names, "contains", case ignored) over all folders, for a
// word that about a third of the names hold, and for a Japanese word.
void BM_FindAllFolders(benchmark::State& state, const char* text, hv::TFindSubject subject, const char* label) {
    TFakePrompts prompts;
    hv::TFindSearch search(prompts);
    hv::TFindRequest request;
    request.Text = text;
    request.Subject = subject;
    request.Range = hv::TFindRange::AllFolders;
    request.Root = &Tree();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        search.Search(request);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(search.Results().Count());
    }
    Record(state, label, seconds, search.Results().Count());
}

void BM_DuplicateUrls(benchmark::State& state, hv::THVFolder& (*tree)(), bool commands, const char* label) {
    hv::TDupResults results;
    hv::THVFolder& root = tree();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        results.Search(root, true, commands);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(results.Count());
    }
    Record(state, label, seconds, results.Count());
}

} // namespace

BENCHMARK_CAPTURE(BM_FindAllFolders, NameContainsNews, "news", hv::TFindSubject::Name, "find name \"news\"")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FindAllFolders, NameContainsJapanese, "天気", hv::TFindSubject::Name, "find name \"天気\"")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FindAllFolders, UrlContains, "/REVIEW/", hv::TFindSubject::URL, "find URL \"/REVIEW/\"")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FindAllFolders, MemoContains, "follow-up", hv::TFindSubject::Memo, "find memo \"follow-up\"")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DuplicateUrls, WithCommands, Tree, true, "duplicates with commands")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DuplicateUrls, UrlsOnly, Tree, false, "duplicates of URLs only")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DuplicateUrls, TenthRepeated, TreeWithDuplicates, true, "duplicates, 10% repeated")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [name, ms] : Figures()) {
        std::printf("%-28s %8.2f ms per run\n", name.c_str(), ms);
    }
    return 0;
}

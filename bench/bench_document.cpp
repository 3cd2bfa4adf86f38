// Reading and writing a large document, and the memory its tree takes.
//
// The document is the generated one of GenerateDocument.h: 100,000 items in 1,000 folders.

#include "GenerateDocument.h"
#include "document/DocumentFile.h"
#include "document/RecordReader.h"
#include "model/HVFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using hv::bench::kItemsPerFolder;
using hv::bench::kSubFoldersEach;
using hv::bench::kTopFolders;

struct TFixture {
    std::unique_ptr<hv::THVFolder> Tree = hv::bench::GenerateDocument();
    std::string Bytes = hv::BuildDocumentBytes(*Tree, {});
};

const TFixture& Fixture() {
    static const TFixture fixture;
    return fixture;
}

std::unique_ptr<hv::THVFolder> LoadTree(const std::string& bytes) {
    const hv::TDocumentText document = hv::ParseDocumentBytes(bytes);
    auto root = std::make_unique<hv::THVFolder>("Hollyvine");
    hv::ReadRecords(document.Body, *root);
    return root;
}

int CountItems(const hv::THVFolder& root) {
    int items = 0;
    hv::ForEachFolder(root, [&](const hv::THVFolder& folder, int) { items += folder.List().Count(); });
    return items;
}

void BM_ReadDocument(benchmark::State& state) {
    const std::string& bytes = Fixture().Bytes;
    for (auto _ : state) {
        std::unique_ptr<hv::THVFolder> root = LoadTree(bytes);
        benchmark::DoNotOptimize(root.get());
        state.PauseTiming(); // freeing the tree is not part of reading it
        root.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

void BM_BuildDocumentBytes(benchmark::State& state) {
    const TFixture& fixture = Fixture();
    for (auto _ : state) {
        std::string bytes = hv::BuildDocumentBytes(*fixture.Tree, {});
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fixture.Bytes.size()));
}

void BM_SaveDocumentFile(benchmark::State& state) {
    const TFixture& fixture = Fixture();
    std::string dirTemplate = (std::filesystem::temp_directory_path() / "hvbench.XXXXXX").string();
    if (mkdtemp(dirTemplate.data()) == nullptr) {
        state.SkipWithError("cannot create a temporary directory");
        return;
    }
    const std::filesystem::path dir = dirTemplate;
    const std::string path = (dir / "bench.hv").string();
    for (auto _ : state) {
        hv::SaveDocumentFile(path, *fixture.Tree, {});
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fixture.Bytes.size()));
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

struct TTreeMemory {
    double TreeMB = 0;
    double FileMB = 0;
    double ResidentMB = 0;
};

// The summary line, printed when the program ends so that it follows the benchmark table.
void PrintTreeMemory(const TTreeMemory& m) {
    static TTreeMemory result;
    result = m;
    std::atexit([] {
        std::printf("tree memory: %.1f MB for a %.1f MB file (%.2f x); resident set grew by %.1f MB\n", result.TreeMB,
                    result.FileMB, result.TreeMB / result.FileMB, result.ResidentMB);
    });
}

// The heap the loaded tree keeps (what is allocated after loading and not freed again), and the
// growth of the resident set over the same load, compared with the size of the file.
void BM_TreeMemory(benchmark::State& state) {
    const std::string& bytes = Fixture().Bytes;
    TTreeMemory result;
    for (auto _ : state) {
        malloc_trim(0);
        const std::size_t heapBefore = HeapInUse();
        const std::size_t residentBefore = ResidentBytes();
        std::unique_ptr<hv::THVFolder> root = LoadTree(bytes);
        const std::size_t heapAfter = HeapInUse();
        const std::size_t residentAfter = ResidentBytes();
        if (CountItems(*root) != kTopFolders * (kSubFoldersEach + 1) * kItemsPerFolder) {
            state.SkipWithError("the document did not load completely");
            return;
        }
        result.TreeMB = static_cast<double>(heapAfter - heapBefore) / 1e6;
        result.ResidentMB =
            residentAfter > residentBefore ? static_cast<double>(residentAfter - residentBefore) / 1e6 : 0.0;
        result.FileMB = static_cast<double>(bytes.size()) / 1e6;
    }
    state.counters["tree_MB"] = result.TreeMB;
    state.counters["rss_growth_MB"] = result.ResidentMB;
    state.counters["file_MB"] = result.FileMB;
    state.counters["tree_per_file"] = result.TreeMB / result.FileMB;
    PrintTreeMemory(result);
}

} // namespace

// Shapes that a scan per line or per folder would make quadratic: one item with 40,000 commands
// and 40,000 sibling folders. Both must read at about the per-byte speed of BM_ReadDocument.
std::string ManyCommandsBytes() {
    std::string body = "[Item]\r\nTitle=commands\r\nURL=http://example.com/\r\n";
    for (int n = 0; n < 40000; ++n) {
        body +=
            "Cmd" + std::to_string(n) + "=title " + std::to_string(n) + "\tprogram --arg " + std::to_string(n) + "\r\n";
    }
    return "# Holly Vine Document 1\r\n\r\n" + body + "\r\n";
}

std::string ManySiblingsBytes() {
    std::string body;
    for (int n = 0; n < 40000; ++n) {
        body += "[Folder]\r\nLevel=1\r\nName=sibling folder " + std::to_string(n) + "\r\n\r\n";
    }
    return "# Holly Vine Document 1\r\n\r\n" + body;
}

void ReadShape(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state) {
        std::unique_ptr<hv::THVFolder> root = LoadTree(bytes);
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
}

void BM_ReadManyCommands(benchmark::State& state) {
    static const std::string bytes = ManyCommandsBytes();
    ReadShape(state, bytes);
}

void BM_ReadManySiblingFolders(benchmark::State& state) {
    static const std::string bytes = ManySiblingsBytes();
    ReadShape(state, bytes);
}

BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadManyCommands)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadManySiblingFolders)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BuildDocumentBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveDocumentFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TreeMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();

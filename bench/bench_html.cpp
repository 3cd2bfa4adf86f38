// Reading HTML and bookmark files, and writing bookmark files.
//
// BM_Tokenizer walks a generated 32 MB page (paragraphs of mixed Japanese and English text,
// links with several attributes, tables, comments, a script) and reports its speed.
// BM_ImportBookmarks imports a generated bookmark file shaped like Firefox's export (UTF-8, the
// 100,000 items in 1,000 folders of the shared document, with ADD_DATE, LAST_VISIT, an ICON on
// every tenth link and a description on every fifth) into an empty document.
// BM_BuildBookmarkFile and BM_ExportBookmarkFile write the imported tree back as a bookmark file,
// in memory and to disk (safe write with fsync).

#include "GenerateDocument.h"
#include "importexport/ExpBm.h"
#include "importexport/HtmlParse.h"
#include "importexport/ImpBookmark.h"
#include "model/DateTime.h"
#include "text/HtmlEscape.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

std::string GeneratePage(std::size_t size) {
    std::mt19937 random(7);
    const char* const words[] = {"東京の天気", "ニュース",    "technology", "日本語の文章", "review",
                                 "カタカナ",   "open source", "図書館",     "sports",       "料理のレシピ"};
    std::string page = "<!DOCTYPE html>\r\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>Page</title>\r\n"
                       "<script>function f(a, b) { return a < b ? \"<a>\" : '</b>'; }</script></head><body>\r\n";
    int n = 0;
    while (page.size() < size) {
        ++n;
        page += "<div class=\"entry\" id=\"e" + std::to_string(n) + "\" data-index='" + std::to_string(n) + "'>\r\n<p>";
        for (int w = 0; w < 12; ++w) {
            page += words[random() % std::size(words)];
            page += ' ';
        }
        page += "<a href=\"https://www.example.com/articles/" + std::to_string(n) +
                "?ref=list&amp;page=2\" "
                "title=\"記事 " +
                std::to_string(n) + "\" class=\"link\" target=_blank>記事のタイトル " + std::to_string(n) +
                "</a></p>\r\n";
        if (n % 4 == 0) {
            page += "<table><tr><td align=right>1</td><td>二</td><td><img src=\"/i/" + std::to_string(n) +
                    ".png\" alt=\"\" width=16 height=16 /></td></tr></table>\r\n";
        }
        if (n % 10 == 0) {
            page += "<!-- section " + std::to_string(n) + " -->\r\n";
        }
        page += "</div>\r\n";
    }
    return page + "</body></html>\r\n";
}

const std::string& Page() {
    static const std::string page = GeneratePage(32u << 20);
    return page;
}

void BM_Tokenizer(benchmark::State& state) {
    const std::string& page = Page();
    std::size_t tokens = 0;
    for (auto _ : state) {
        hv::THtmlParser parser(page);
        tokens = 0;
        while (parser.Next()) {
            ++tokens;
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
    state.counters["tokens"] = static_cast<double>(tokens);
}

// A bookmark file as Firefox writes it, from the shared generated tree.
std::string GenerateBookmarkFile() {
    const std::unique_ptr<hv::THVFolder> root = hv::bench::GenerateDocument();
    const std::string icon = "data:image/png;base64," + std::string(600, 'Q') + "==";
    std::string out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<!-- This is an automatically generated file.\n"
                      "     It will be read and overwritten.\n     DO NOT EDIT! -->\n"
                      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                      "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n\n<DL><p>\n";
    long long stamp = 1600000000;
    int links = 0;
    auto writeItems = [&](const hv::THVFolder& folder, const std::string& indent) {
        for (const auto& item : folder.List()) {
            ++links;
            stamp += 977;
            out += indent + "<DT><A HREF=\"";
            hv::AppendEscapedHtml(out, item->GetURL());
            out += "\" ADD_DATE=\"" + std::to_string(stamp) + "\" LAST_MODIFIED=\"" + std::to_string(stamp + 5) + "\"";
            if (links % 2 == 0) {
                out += " LAST_VISIT=\"" + std::to_string(stamp + 86400) + "\"";
            }
            if (links % 10 == 0) {
                out += " ICON=\"" + icon + "\"";
            }
            out += ">";
            hv::AppendEscapedHtml(out, item->GetName());
            out += "</A>\n";
            if (links % 5 == 0) {
                out += indent + "<DD>あとで読む記事 &amp; その続き\n";
            }
        }
    };
    for (const auto& top : root->Children()) {
        out +=
            "    <DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000001\">" + top->Name() + "</H3>\n    <DL><p>\n";
        writeItems(*top, "        ");
        for (const auto& sub : top->Children()) {
            out += "        <DT><H3 ADD_DATE=\"1600000000\">" + sub->Name() + "</H3>\n        <DL><p>\n";
            writeItems(*sub, "            ");
            out += "        </DL><p>\n";
        }
        out += "    </DL><p>\n";
    }
    return out + "</DL>\n";
}

const std::string& BookmarkFile() {
    static const std::string file = GenerateBookmarkFile();
    return file;
}

int CountItems(const hv::THVFolder& root) {
    int count = 0;
    hv::ForEachFolder(root, [&count](const hv::THVFolder& f, int) { count += f.List().Count(); });
    return count;
}

void BM_ImportBookmarks(benchmark::State& state) {
    const std::string& file = BookmarkFile();
    for (auto _ : state) {
        state.PauseTiming();
        auto root = std::make_unique<hv::THVFolder>("Hollyvine");
        state.ResumeTiming();
        hv::ImportBookmarks(file, *root);
        state.PauseTiming();
        if (CountItems(*root) != hv::bench::kGeneratedItems) {
            state.SkipWithError("the bookmark file did not import completely");
            return;
        }
        root.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
    state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}

const hv::THVFolder& ImportedTree() {
    static const std::unique_ptr<hv::THVFolder> root = [] {
        auto folder = std::make_unique<hv::THVFolder>("Hollyvine");
        hv::ImportBookmarks(BookmarkFile(), *folder);
        return folder;
    }();
    return *root;
}

void BM_BuildBookmarkFile(benchmark::State& state) {
    const hv::THVFolder& root = ImportedTree();
    std::size_t size = 0;
    for (auto _ : state) {
        size = hv::BuildBookmarkFile(root, {}).size();
        benchmark::DoNotOptimize(size);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(size));
}

void BM_ExportBookmarkFile(benchmark::State& state) {
    const hv::THVFolder& root = ImportedTree();
    char dirTemplate[] = "/tmp/hv-bench-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::filesystem::path dir = dirTemplate;
    for (auto _ : state) {
        hv::ExportBookmarkFile((dir / "bookmarks.html").string(), root, {});
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

} // namespace

BENCHMARK(BM_Tokenizer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportBookmarks)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BuildBookmarkFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportBookmarkFile)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

// Importing the browsers' own bookmark stores, from the store file to the saved document.
//
// Both stores hold 100,000 bookmarks in 5,000 folders (a tree ten folders wide under the
// toolbar root, 20 bookmarks in each folder, Japanese and English titles, a last visit on every
// other bookmark), plus separators and "place:" queries Firefox keeps among them.
// BM_ImportFirefox reads places.sqlite (with its copy to a private directory), BM_ImportChromium
// the Bookmarks JSON; each inserts the tree into an empty document and saves it (safe write with
// fsync). The target is one second per import; the figure is printed at the end.

#include "document/DocumentFile.h"
#include "importexport/BookmarkStore.h"
#include "model/HVFolder.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <string>

namespace {

constexpr int kFolders = 5000;
constexpr int kPerFolder = 20;
constexpr int kBookmarks = kFolders * kPerFolder;

std::string Title(int n) {
    static const char* const words[] = {"東京の天気", "News", "技術メモ", "Recipe", "図書館", "Open source"};
    return std::string(words[n % 6]) + " " + std::to_string(n);
}

std::string Url(int n) {
    return "https://www.example.com/articles/" + std::to_string(n) + "?ref=bookmarks&page=" + std::to_string(n % 7);
}

// Parent of folder i: folder (i - 1) / 10, the first one under the root.
int ParentFolder(int i) {
    return i == 0 ? -1 : (i - 1) / 10;
}

void Exec(sqlite3* db, const char* sql) {
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

void BuildPlaces(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    Exec(db, "PRAGMA journal_mode=WAL; BEGIN;"
             "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, "
             "rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, "
             "typed INTEGER DEFAULT 0 NOT NULL, frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, "
             "guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL, "
             "description TEXT, preview_image_url TEXT, site_name TEXT, origin_id INTEGER);"
             "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, "
             "parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, "
             "dateAdded INTEGER, lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0, "
             "syncChangeCounter INTEGER NOT NULL DEFAULT 1);"
             "CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);"
             "INSERT INTO moz_bookmarks (id, type, parent, position, title, guid) VALUES "
             "(1, 2, 0, 0, '', 'root________'), (2, 2, 1, 0, 'menu', 'menu________'), "
             "(3, 2, 1, 1, 'toolbar', 'toolbar_____'), (4, 2, 1, 2, 'tags', 'tags________'), "
             "(5, 2, 1, 3, 'unfiled', 'unfiled_____'), (6, 2, 1, 4, 'mobile', 'mobile______');");
    sqlite3_stmt* place = nullptr;
    sqlite3_stmt* mark = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO moz_places (id, url, title, last_visit_date) VALUES (?, ?, ?, ?)", -1, &place,
                       nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?)",
                       -1, &mark, nullptr);
    std::int64_t id = 100;
    const auto add = [&](int type, std::int64_t fk, std::int64_t parent, int position, const std::string& title) {
        sqlite3_bind_int64(mark, 1, id);
        sqlite3_bind_int(mark, 2, type);
        fk != 0 ? sqlite3_bind_int64(mark, 3, fk) : sqlite3_bind_null(mark, 3);
        sqlite3_bind_int64(mark, 4, parent);
        sqlite3_bind_int(mark, 5, position);
        sqlite3_bind_text(mark, 6, title.c_str(), -1, SQLITE_TRANSIENT);
        const std::string guid = "g" + std::to_string(id);
        sqlite3_bind_text(mark, 7, guid.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(mark);
        sqlite3_reset(mark);
        return id++;
    };
    // Folder ids are 100 + i, given before any bookmark, so parents are known ahead.
    for (int i = 0; i < kFolders; ++i) {
        const int parent = ParentFolder(i);
        add(2, 0, parent < 0 ? 3 : 100 + parent, 1000 + i, "フォルダ " + std::to_string(i));
    }
    int n = 0;
    for (int folder = 0; folder < kFolders; ++folder) {
        for (int k = 0; k < kPerFolder; ++k, ++n) {
            sqlite3_bind_int64(place, 1, n + 1);
            const std::string url = Url(n);
            sqlite3_bind_text(place, 2, url.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(place, 3, url.c_str(), -1, SQLITE_TRANSIENT);
            n % 2 == 0 ? sqlite3_bind_int64(place, 4, (1600000000LL + n * 977LL) * 1000000)
                       : sqlite3_bind_null(place, 4);
            sqlite3_step(place);
            sqlite3_reset(place);
            add(1, n + 1, 100 + folder, k, Title(n));
        }
        if (folder % 50 == 0) {
            add(3, 0, 100 + folder, kPerFolder, "");
        }
    }
    add(1, 1, 2, 0, "Most visited");
    Exec(db, "INSERT INTO moz_places (id, url) VALUES (999999, 'place:sort=8&maxResults=10');");
    Exec(db, "UPDATE moz_bookmarks SET fk = 999999 WHERE title = 'Most visited'; COMMIT;");
    sqlite3_finalize(place);
    sqlite3_finalize(mark);
    sqlite3_close(db);
}

std::string BuildBookmarksJson() {
    using TJson = nlohmann::json;
    std::vector<TJson> folders(kFolders);
    int n = 0;
    for (int i = 0; i < kFolders; ++i) {
        TJson& folder = folders[static_cast<std::size_t>(i)];
        folder = {{"type", "folder"},
                  {"name", "フォルダ " + std::to_string(i)},
                  {"id", std::to_string(i)},
                  {"date_added", "13300000000000000"},
                  {"children", TJson::array()}};
        for (int k = 0; k < kPerFolder; ++k, ++n) {
            const long long used = n % 2 == 0 ? 13300000000000000LL + n * 977000000LL : 0;
            folder["children"].push_back({{"type", "url"},
                                          {"name", Title(n)},
                                          {"url", Url(n)},
                                          {"guid", "00000000-0000-4000-a000-" + std::to_string(100000000000 + n)},
                                          {"date_added", "13300000000000000"},
                                          {"date_last_used", std::to_string(used)},
                                          {"meta_info", {{"power_bookmark_meta", ""}}}});
        }
    }
    // Children before parents, so each folder is complete when it moves into its parent.
    for (int i = kFolders - 1; i > 0; --i) {
        folders[static_cast<std::size_t>(ParentFolder(i))]["children"].push_back(
            std::move(folders[static_cast<std::size_t>(i)]));
    }
    TJson bar = {{"type", "folder"}, {"name", "Bookmarks bar"}, {"children", TJson::array({std::move(folders[0])})}};
    TJson doc = {{"checksum", "0123456789abcdef0123456789abcdef"},
                 {"roots",
                  {{"bookmark_bar", std::move(bar)},
                   {"other", {{"type", "folder"}, {"name", "Other bookmarks"}, {"children", TJson::array()}}},
                   {"synced", {{"type", "folder"}, {"name", "Mobile bookmarks"}, {"children", TJson::array()}}}}},
                 {"version", 1}};
    return doc.dump(3);
}

class TStores {
public:
    TStores() {
        char pattern[] = "/tmp/hv-bench-browsers-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            m_Dir = pattern;
            BuildPlaces(m_Dir + "/places.sqlite");
            std::FILE* file = std::fopen((m_Dir + "/Bookmarks").c_str(), "wb");
            const std::string json = BuildBookmarksJson();
            std::fwrite(json.data(), 1, json.size(), file);
            std::fclose(file);
        }
    }
    ~TStores() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Dir, ignored);
    }
    const std::string& Dir() const { return m_Dir; }

private:
    std::string m_Dir;
};

const TStores& Stores() {
    static const TStores stores;
    return stores;
}

int CountItems(const hv::THVFolder& root) {
    int count = 0;
    hv::ForEachFolder(root, [&count](const hv::THVFolder& f, int) { count += f.List().Count(); });
    return count;
}

double g_Seconds[2] = {0, 0};

void ImportToSavedDocument(benchmark::State& state, const char* store, int figure) {
    if (Stores().Dir().empty()) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::string path = Stores().Dir() + "/" + store;
    const std::string doc = Stores().Dir() + "/imported.hv";
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        hv::THVFolder root("Hollyvine");
        hv::ImportBookmarkStore(path, root);
        hv::SaveDocumentFile(doc, root, "");
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        if (CountItems(root) != kBookmarks) {
            state.SkipWithError("the store did not import completely");
            return;
        }
        state.ResumeTiming();
    }
    g_Seconds[figure] = total / static_cast<double>(state.iterations());
    state.counters["bookmarks"] = kBookmarks;
}

void BM_ImportFirefox(benchmark::State& state) {
    ImportToSavedDocument(state, "places.sqlite", 0);
}

void BM_ImportChromium(benchmark::State& state) {
    ImportToSavedDocument(state, "Bookmarks", 1);
}

} // namespace

BENCHMARK(BM_ImportFirefox)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportChromium)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n%d bookmarks in %d folders, store to saved document (target: under 1 s):\n", kBookmarks, kFolders);
    std::printf("  Firefox places.sqlite   %.3f s\n  Chromium Bookmarks      %.3f s\n", g_Seconds[0], g_Seconds[1]);
    return 0;
}

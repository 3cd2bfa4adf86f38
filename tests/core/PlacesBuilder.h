#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <sqlite3.h>
#include <string>

namespace hv::test {

// Writes a places.sqlite the way Firefox lays it out: its moz_places and moz_bookmarks tables
// with the columns Firefox has, and the root folders under their fixed GUIDs.
class TPlacesBuilder {
public:
    static constexpr std::int64_t kRoot = 1;
    static constexpr std::int64_t kMenu = 2;
    static constexpr std::int64_t kToolbar = 3;
    static constexpr std::int64_t kTags = 4;
    static constexpr std::int64_t kUnfiled = 5;
    static constexpr std::int64_t kMobile = 6;

    // wal: the database in write-ahead-log mode with automatic checkpoints off, as a running
    // browser keeps it: what is written stays in places.sqlite-wal while this builder is open.
    explicit TPlacesBuilder(const std::string& path, bool wal = false) {
        EXPECT_EQ(sqlite3_open(path.c_str(), &m_Db), SQLITE_OK);
        // The tests need no durability; without it they write a hundred times faster.
        Exec("PRAGMA synchronous=OFF;");
        if (wal) {
            Exec("PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;");
        }
        Exec("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, "
             "rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, "
             "typed INTEGER DEFAULT 0 NOT NULL, frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER , "
             "guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL , "
             "description TEXT, preview_image_url TEXT, site_name TEXT, origin_id INTEGER, "
             "recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER, "
             "recalc_alt_frecency INTEGER NOT NULL DEFAULT 0);"
             "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, "
             "parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, "
             "dateAdded INTEGER, lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0, "
             "syncChangeCounter INTEGER NOT NULL DEFAULT 1);"
             "CREATE UNIQUE INDEX moz_bookmarks_guid_uniqueindex ON moz_bookmarks (guid);"
             "CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);"
             "CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);");
        Exec("INSERT INTO moz_bookmarks (id, type, parent, position, title, guid) VALUES "
             "(1, 2, 0, 0, '', 'root________'), (2, 2, 1, 0, 'menu', 'menu________'), "
             "(3, 2, 1, 1, 'toolbar', 'toolbar_____'), (4, 2, 1, 2, 'tags', 'tags________'), "
             "(5, 2, 1, 3, 'unfiled', 'unfiled_____'), (6, 2, 1, 4, 'mobile', 'mobile______');");
    }
    ~TPlacesBuilder() { Close(); }
    TPlacesBuilder(const TPlacesBuilder&) = delete;
    TPlacesBuilder& operator=(const TPlacesBuilder&) = delete;

    sqlite3* Db() const { return m_Db; }

    void Exec(const std::string& sql) {
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(m_Db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
    }

    std::int64_t Folder(std::int64_t parent, const std::optional<std::string>& title) {
        return Add(2, parent, title, std::nullopt);
    }
    // A bookmark of a new place with that URL and last visit (microseconds since 1970).
    std::int64_t Bookmark(std::int64_t parent, const std::optional<std::string>& title, const std::string& url,
                          std::optional<std::int64_t> lastVisitUs = std::nullopt) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(m_Db, "INSERT INTO moz_places (url, title, last_visit_date, guid) VALUES (?, ?, ?, ?)", -1,
                           &stmt, nullptr);
        sqlite3_bind_text(stmt, 1, url.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 2, url.c_str(), -1, SQLITE_TRANSIENT);
        lastVisitUs ? sqlite3_bind_int64(stmt, 3, *lastVisitUs) : sqlite3_bind_null(stmt, 3);
        const std::string guid = NextGuid();
        sqlite3_bind_text(stmt, 4, guid.c_str(), -1, SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE) << sqlite3_errmsg(m_Db);
        sqlite3_finalize(stmt);
        return Add(1, parent, title, sqlite3_last_insert_rowid(m_Db));
    }
    void Separator(std::int64_t parent) { Add(3, parent, std::nullopt, std::nullopt); }

    void Close() {
        if (m_Db != nullptr) {
            sqlite3_close(m_Db);
            m_Db = nullptr;
        }
    }

private:
    std::string NextGuid() {
        std::string guid = "guid" + std::to_string(++m_Guids);
        guid.resize(12, '_');
        return guid;
    }

    std::int64_t Add(int type, std::int64_t parent, const std::optional<std::string>& title,
                     std::optional<std::int64_t> fk) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(m_Db,
                           "INSERT INTO moz_bookmarks (type, fk, parent, position, title, dateAdded, lastModified, "
                           "guid) VALUES (?, ?, ?, ?, ?, 1700000000000000, 1700000000000000, ?)",
                           -1, &stmt, nullptr);
        sqlite3_bind_int(stmt, 1, type);
        fk ? sqlite3_bind_int64(stmt, 2, *fk) : sqlite3_bind_null(stmt, 2);
        sqlite3_bind_int64(stmt, 3, parent);
        sqlite3_bind_int(stmt, 4, m_Positions[parent]++);
        title ? sqlite3_bind_text(stmt, 5, title->c_str(), -1, SQLITE_TRANSIENT) : sqlite3_bind_null(stmt, 5);
        const std::string guid = NextGuid();
        sqlite3_bind_text(stmt, 6, guid.c_str(), -1, SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE) << sqlite3_errmsg(m_Db);
        sqlite3_finalize(stmt);
        return sqlite3_last_insert_rowid(m_Db);
    }

    sqlite3* m_Db = nullptr;
    std::map<std::int64_t, int> m_Positions;
    int m_Guids = 0;
};

} // namespace hv::test

#include "BookmarkTestSupport.h"
#include "PlacesBuilder.h"
#include "importexport/BookmarkStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace hv {
namespace {

using test::Outline;
using test::TPlacesBuilder;
using test::TTimeZone;

// A temporary directory standing in for a browser profile.
class TStoreTest : public test::TDirTest {
protected:
    // The outline of the store imported into an empty root.
    static std::string Import(const std::string& path) {
        THVFolder root("Hollyvine");
        const TBookmarkImportResult result = ImportBookmarkStore(path, root);
        EXPECT_TRUE(result.Modified);
        return Outline(root);
    }
    static std::string ErrorOf(const std::string& path) {
        THVFolder root("Hollyvine");
        try {
            ImportBookmarkStore(path, root);
        } catch (const EBookmarkStoreError& e) {
            EXPECT_EQ(Outline(root), "");
            return e.what();
        }
        return "no error";
    }

    static std::string Broken(const std::string& path) { return "\"" + path + "\" は壊れているため読み込めません。"; }
    static std::string Unreadable(const std::string& path, const std::string& why) {
        return "ファイル \"" + path + "\" を読み込めません。\n" + why;
    }
};

TEST_F(TStoreTest, FirefoxRootsFoldersAndBookmarks) {
    TTimeZone zone("JST-9");
    {
        TPlacesBuilder places(PathOf("places.sqlite"));
        const auto news = places.Folder(TPlacesBuilder::kMenu, "ニュース");
        places.Bookmark(news, "NHK", "https://www.nhk.or.jp/", 86400LL * 1000000);
        const auto deep = places.Folder(news, "深い\\フォルダ");
        places.Bookmark(deep, "", "https://empty-title.example/");
        places.Bookmark(deep, std::nullopt, "https://null-title.example/");
        places.Separator(news);
        places.Bookmark(news, "Line\r\nbreak\ttab", "https://a.example/?q=1&amp;r=2", 0);
        places.Bookmark(TPlacesBuilder::kMenu, "Most visited", "place:sort=8&maxResults=10");
        places.Bookmark(TPlacesBuilder::kMenu, "Same", "https://1.example/");
        places.Bookmark(TPlacesBuilder::kMenu, "same", "https://2.example/");
        places.Bookmark(TPlacesBuilder::kToolbar, "Toolbar", "https://toolbar.example/");
        places.Folder(TPlacesBuilder::kToolbar, std::nullopt);
        places.Bookmark(TPlacesBuilder::kUnfiled, "Other", "https://other.example/");
        // Tags are folders under the tags root holding bookmarks of tagged places.
        const auto tag = places.Folder(TPlacesBuilder::kTags, "tagged");
        places.Bookmark(tag, "", "https://www.nhk.or.jp/");
    }
    EXPECT_EQ(Import(PathOf("places.sqlite")), "[ブックマークツールバー]\n"
                                               "  Toolbar <https://toolbar.example/>\n"
                                               "  [(    )]\n"
                                               "[ブックマークメニュー]\n"
                                               "  Same <https://1.example/>\n"
                                               "  same~1 <https://2.example/>\n"
                                               "  [ニュース]\n"
                                               "    NHK <https://www.nhk.or.jp/> @1970/1/2 9:00\n"
                                               "    Line  break tab <https://a.example/?q=1&amp;r=2>\n"
                                               "    [深い￥フォルダ]\n"
                                               "      https://empty-title.example/ <https://empty-title.example/>\n"
                                               "      https://null-title.example/ <https://null-title.example/>\n"
                                               "[他のブックマーク]\n"
                                               "  Other <https://other.example/>\n");
}

TEST_F(TStoreTest, FirefoxMobileRootWhenItHoldsBookmarks) {
    {
        TPlacesBuilder places(PathOf("places.sqlite"));
        places.Bookmark(TPlacesBuilder::kMobile, "Phone", "https://m.example/");
        places.Separator(TPlacesBuilder::kToolbar);
    }
    EXPECT_EQ(Import(PathOf("places.sqlite")), "[モバイルのブックマーク]\n  Phone <https://m.example/>\n");
}

TEST_F(TStoreTest, FirefoxSeesTheNewestBookmarkInTheLogOfARunningBrowser) {
    TPlacesBuilder browser(PathOf("places.sqlite"), true);
    browser.Bookmark(TPlacesBuilder::kMenu, "Old", "https://old.example/");
    browser.Bookmark(TPlacesBuilder::kMenu, "Newest", "https://new.example/");
    ASSERT_TRUE(std::filesystem::exists(PathOf("places.sqlite-wal")));
    const auto walSize = std::filesystem::file_size(PathOf("places.sqlite-wal"));

    EXPECT_EQ(Import(PathOf("places.sqlite")),
              "[ブックマークメニュー]\n  Old <https://old.example/>\n  Newest <https://new.example/>\n");
    // The browser's log is as it was, and the browser goes on writing.
    EXPECT_EQ(std::filesystem::file_size(PathOf("places.sqlite-wal")), walSize);
    browser.Bookmark(TPlacesBuilder::kMenu, "After", "https://after.example/");
}

TEST_F(TStoreTest, FirefoxReadsADatabaseAnotherConnectionHoldsLocked) {
    for (const bool wal : {false, true}) {
        SCOPED_TRACE(wal ? "write-ahead log" : "rollback journal");
        std::filesystem::remove(PathOf("places.sqlite"));
        TPlacesBuilder browser(PathOf("places.sqlite"), wal);
        browser.Bookmark(TPlacesBuilder::kMenu, "Saved", "https://saved.example/");
        browser.Exec("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;");
        browser.Bookmark(TPlacesBuilder::kMenu, "Unsaved", "https://unsaved.example/");

        // Opened directly, the database is locked for everyone else.
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open_v2(PathOf("places.sqlite").c_str(), &other, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        EXPECT_NE(sqlite3_exec(other, "SELECT count(*) FROM moz_bookmarks", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);

        EXPECT_EQ(Import(PathOf("places.sqlite")), "[ブックマークメニュー]\n  Saved <https://saved.example/>\n");
        browser.Exec("COMMIT;");
    }
}

TEST_F(TStoreTest, FirefoxStoresThatCannotBeRead) {
    const std::string garbage = Put("garbage/places.sqlite", std::string(8192, 'x'));
    EXPECT_EQ(ErrorOf(garbage), Broken(garbage));

    // A real database whose pages were overwritten.
    std::filesystem::create_directories(m_Dir / "damaged");
    const std::string damaged = PathOf("damaged/places.sqlite");
    {
        TPlacesBuilder places(damaged);
        for (int i = 0; i < 200; ++i) {
            places.Bookmark(TPlacesBuilder::kMenu, "b" + std::to_string(i), "https://b.example/" + std::to_string(i));
        }
    }
    {
        std::fstream file(damaged, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4096);
        const std::string noise(3 * 4096, '\xA5');
        file.write(noise.data(), static_cast<std::streamsize>(noise.size()));
    }
    EXPECT_EQ(ErrorOf(damaged), Broken(damaged));

    std::filesystem::create_directories(m_Dir / "other");
    const std::string other = PathOf("other/places.sqlite");
    {
        TPlacesBuilder places(other);
        places.Exec("DELETE FROM moz_bookmarks; ALTER TABLE moz_bookmarks RENAME TO bookmarks;");
    }
    EXPECT_EQ(ErrorOf(other), "\"" + other + "\" は Firefox のブックマークのデータベースではありません。");
    {
        TPlacesBuilder places(PathOf("places.sqlite"));
        places.Exec("DELETE FROM moz_bookmarks;");
    }
    EXPECT_EQ(ErrorOf(PathOf("places.sqlite")),
              "\"" + PathOf("places.sqlite") + "\" は Firefox のブックマークのデータベースではありません。");

    // Root runs tests, so a file nobody may read is a directory where the file should be.
    std::filesystem::create_directories(m_Dir / "dir/places.sqlite");
    EXPECT_EQ(ErrorOf(PathOf("dir/places.sqlite")), Unreadable(PathOf("dir/places.sqlite"), "Is a directory"));
    EXPECT_EQ(ErrorOf(PathOf("missing/places.sqlite")),
              Unreadable(PathOf("missing/places.sqlite"), "No such file or directory"));
}

TEST_F(TStoreTest, FirefoxFolderLoopsEndWithoutHanging) {
    {
        TPlacesBuilder places(PathOf("places.sqlite"));
        const auto a = places.Folder(TPlacesBuilder::kMenu, "a");
        const auto b = places.Folder(a, "b");
        places.Bookmark(b, "x", "https://x.example/");
        const auto c = places.Folder(b, "c");
        // A damaged file: the menu root inside its own grandchild, the toolbar root inside c.
        places.Exec("UPDATE moz_bookmarks SET parent = " + std::to_string(b) + " WHERE guid = 'menu________'");
        places.Exec("UPDATE moz_bookmarks SET parent = " + std::to_string(c) + " WHERE guid = 'toolbar_____'");
        places.Bookmark(TPlacesBuilder::kToolbar, "t", "https://t.example/");
    }
    EXPECT_EQ(Import(PathOf("places.sqlite")), "[ブックマークメニュー]\n  [a]\n    [b]\n      x <https://x.example/>\n"
                                               "      [c]\n        [toolbar]\n          t <https://t.example/>\n");
}

constexpr const char* kChromeBookmarks = R"({
   "checksum": "0123456789abcdef0123456789abcdef",
   "roots": {
      "bookmark_bar": { "children": [ {
            "date_added": "13300000000000000", "date_last_used": "11644560000000000",
            "guid": "00000000-0000-4000-a000-000000000001", "id": "5", "meta_info": { "power_bookmark_meta": "" },
            "name": "ニュース\tサイト", "show_icon": false, "source": "user_add", "type": "url",
            "url": "https://news.example/"
         }, { "children": [ {
               "date_added": "13300000000000000", "date_last_used": "0", "id": "7", "name": "", "type": "url",
               "url": "https://untitled.example/"
            }, { "id": "8", "name": "sep", "type": "separator" },
            { "children": [ ], "id": "9", "name": "空\\フォルダ", "type": "folder" } ],
            "date_added": "13300000000000000", "date_modified": "13300000000000001", "id": "6", "name": "Work",
            "type": "folder"
         } ], "date_added": "13300000000000000", "id": "1", "name": "Bookmarks bar", "type": "folder" },
      "other": {
         "children": [ { "id": "10", "name": "Other", "type": "url", "url": "https://other.example/",
                         "date_last_used": 11644560000000000, "unknown_field": [1, 2, {"x": null}] } ],
         "id": "2", "name": "Other bookmarks", "type": "folder"
      },
      "synced": { "children": [ ], "id": "3", "name": "Mobile bookmarks", "type": "folder" },
      "workspaces_v2": { "children": [ { "type": "url", "name": "W", "url": "https://w.example/" } ] }
   },
   "sync_metadata": "c29tZQ==",
   "version": 1
}
)";

TEST_F(TStoreTest, ChromiumRootsFoldersAndBookmarks) {
    TTimeZone zone("UTC0");
    EXPECT_EQ(Import(Put("Bookmarks", kChromeBookmarks)), "[その他のブックマーク]\n"
                                                          "  Other <https://other.example/> @1970/1/2 0:00\n"
                                                          "[ブックマーク バー]\n"
                                                          "  ニュース サイト <https://news.example/> @1970/1/2 0:00\n"
                                                          "  [Work]\n"
                                                          "    https://untitled.example/ <https://untitled.example/>\n"
                                                          "    [空￥フォルダ]\n");
}

TEST_F(TStoreTest, ChromiumSyncedRootWhenItHoldsBookmarks) {
    EXPECT_EQ(Import(Put("Bookmarks", R"({"roots": {"synced": {"type": "folder", "children": [
                   {"type": "url", "name": "Phone", "url": "https://m.example/"}]}}})")),
              "[モバイルのブックマーク]\n  Phone <https://m.example/>\n");
}

TEST_F(TStoreTest, ChromiumFilesThatCannotBeRead) {
    const std::string truncated = Put("Bookmarks", std::string(kChromeBookmarks).substr(0, 300));
    EXPECT_EQ(ErrorOf(truncated), Broken(truncated));
    const std::string other = Put("Preferences", R"({"browser": {"has_seen_welcome_page": true}})");
    EXPECT_EQ(ErrorOf(other), "\"" + other + "\" は Chromium のブックマークのファイルではありません。");
    const std::string array = Put("array", "[1, 2]");
    EXPECT_EQ(ErrorOf(array), "\"" + array + "\" は Chromium のブックマークのファイルではありません。");
    std::filesystem::create_directories(m_Dir / "Profile 1/Bookmarks");
    EXPECT_EQ(ErrorOf(PathOf("Profile 1/Bookmarks")), Unreadable(PathOf("Profile 1/Bookmarks"), "Is a directory"));
}

TEST_F(TStoreTest, EmptyStoresImportNothing) {
    THVFolder root("Hollyvine");
    const TBookmarkImportResult result = ImportBookmarkStore(
        Put("Bookmarks", R"({"roots": {"bookmark_bar": {"type": "folder", "children": []}}})"), root);
    EXPECT_FALSE(result.Modified);
    EXPECT_EQ(Outline(root), "");
}

TEST_F(TStoreTest, ImportContinuesSameNamedFoldersAndExpandsTheTarget) {
    THVFolder root("Hollyvine");
    THVFolder* target = root.AddChild("Browser");
    const std::string path = Put("Bookmarks", R"({"roots": {"other": {"type": "folder", "children": [
        {"type": "url", "name": "Same", "url": "https://a.example/"},
        {"type": "folder", "name": "Sub", "children": [{"type": "url", "name": "x", "url": "https://x.example/"}]}]}}})");
    ImportBookmarkStore(path, *target);
    target->Children()[0]->SetExpandedRecursive(false);
    const TBookmarkImportResult again = ImportBookmarkStore(path, *target);
    EXPECT_EQ(again.Folders, 0);
    EXPECT_EQ(again.Items, 2);
    EXPECT_EQ(Outline(root), "[Browser]\n  [その他のブックマーク]\n    Same <https://a.example/>\n"
                             "    Same~1 <https://a.example/>\n    [Sub]\n      x <https://x.example/>\n"
                             "      x~1 <https://x.example/>\n");
}

TEST_F(TStoreTest, UserBookmarksComeFromPlacesOrFromTheBookmarkFile) {
    {
        TPlacesBuilder places(PathOf("places.sqlite"));
        places.Bookmark(TPlacesBuilder::kToolbar, "Fx", "https://fx.example/");
    }
    THVFolder root("Hollyvine");
    ASSERT_TRUE(ImportUserBookmarks(PathOf("places.sqlite"), root));
    ASSERT_TRUE(ImportUserBookmarks(Put("bookmarks.html", "<DL><DT><A HREF=\"https://h.example/\">H</A></DL>"), root));
    EXPECT_EQ(Outline(root), "H <https://h.example/>\n[ブックマークツールバー]\n  Fx <https://fx.example/>\n");
    EXPECT_EQ(ImportUserBookmarks(PathOf("gone/places.sqlite"), root), std::nullopt);
    EXPECT_EQ(ImportUserBookmarks(PathOf("gone.html"), root), std::nullopt);
}

} // namespace
} // namespace hv

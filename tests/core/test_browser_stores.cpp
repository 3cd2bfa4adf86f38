#include "BookmarkTestSupport.h"
#include "importexport/BookmarkStore.h"
#include "importexport/BrowserStores.h"
#include "platform/BookmarkLocator.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hv {
namespace {

constexpr const char* kEmptyBookmarks = R"({"roots": {}, "version": 1})";

class TBrowserStoresTest : public test::TDirTest {
protected:
    TBrowserHome Home() const { return {m_Home.string(), (m_Home / ".config").string()}; }
    // "browser|profile|dir name|default" for each store found.
    std::vector<std::string> Found() const {
        std::vector<std::string> lines;
        for (const TBrowserStore& store : FindBrowserStores(Home())) {
            EXPECT_EQ(store.Path.substr(0, store.ProfileDir.size()), store.ProfileDir);
            lines.push_back(store.Browser + "|" + store.Profile + "|" +
                            std::filesystem::path(store.ProfileDir).filename().string() + "|" +
                            (store.IsDefault ? "default" : ""));
        }
        return lines;
    }
    std::string Selected(std::string_view argument) const {
        const auto store = SelectBrowserStore(FindBrowserStores(Home()), argument);
        return store ? store->Path.substr(m_Home.string().size() + 1) : "none";
    }

    const std::filesystem::path& m_Home = m_Dir;
};

TEST_F(TBrowserStoresTest, FirefoxProfilesWithTheInstallDefault) {
    EXPECT_TRUE(FindBrowserStores(Home()).empty());
    EXPECT_EQ(Selected("firefox"), "none");
    Put(".mozilla/firefox/profiles.ini", "[Profile1]\nName=default\nIsRelative=1\nPath=a1.default\nDefault=1\n\n"
                                         "[Profile0]\nName=仕事\nIsRelative=1\nPath=b2.default-release\n\n"
                                         "[Profile2]\nName=no store\nIsRelative=1\nPath=c3.empty\n\n"
                                         "[General]\nStartWithLastProfile=1\nVersion=2\n");
    Put(".mozilla/firefox/installs.ini", "[4F96D1932A9F858E]\nDefault=b2.default-release\nLocked=1\n");
    Put(".mozilla/firefox/a1.default/places.sqlite");
    Put(".mozilla/firefox/b2.default-release/places.sqlite");
    Put(".mozilla/firefox/c3.empty/prefs.js");
    Put("snap/firefox/common/.mozilla/firefox/profiles.ini", "[Profile0]\nName=snap\nPath=s.snap\n");
    Put("snap/firefox/common/.mozilla/firefox/s.snap/places.sqlite");
    EXPECT_EQ(Found(),
              (std::vector<std::string>{"firefox|default|a1.default|", "firefox|仕事|b2.default-release|default",
                                        "firefox|snap|s.snap|default"}));
    EXPECT_EQ(Selected("firefox"), ".mozilla/firefox/b2.default-release/places.sqlite");
    EXPECT_EQ(Selected("firefox:default"), ".mozilla/firefox/a1.default/places.sqlite");
    EXPECT_EQ(Selected("firefox:snap"), "snap/firefox/common/.mozilla/firefox/s.snap/places.sqlite");
    EXPECT_EQ(Selected("firefox:s.snap"), "snap/firefox/common/.mozilla/firefox/s.snap/places.sqlite");
    EXPECT_EQ(Selected("firefox:no store"), "none");
    EXPECT_EQ(Selected("chromium"), "none");

    // An install section in profiles.ini itself wins over installs.ini.
    Put(".mozilla/firefox/profiles.ini", "[Install4F96D1932A9F858E]\nDefault=a1.default\n\n"
                                         "[Profile0]\nName=仕事\nPath=b2.default-release\nDefault=1\n"
                                         "[Profile1]\nName=default\nPath=a1.default\n");
    EXPECT_EQ(Selected("firefox"), ".mozilla/firefox/a1.default/places.sqlite");
}

TEST_F(TBrowserStoresTest, ChromiumFamilyProfilesNamedByLocalState) {
    Put(".config/chromium/Local State", R"({"profile": {"info_cache": {
            "Default": {"name": "個人", "is_using_default_name": false},
            "Profile 2": {"name": "Work"}, "Profile 10": {"name": ""}},
          "last_used": "Profile 2", "last_active_profiles": ["Profile 2"]}, "browser": {}})");
    Put(".config/chromium/Profile 10/Bookmarks", kEmptyBookmarks);
    Put(".config/chromium/Profile 2/Bookmarks", kEmptyBookmarks);
    Put(".config/chromium/Default/Bookmarks", kEmptyBookmarks);
    Put(".config/chromium/Guest Profile/Preferences", "{}");
    Put(".config/chromium/System Profile/Preferences", "{}");
    Put(".config/google-chrome/Default/Bookmarks", kEmptyBookmarks);
    Put(".config/google-chrome/Local State", "{ not json");
    Put(".config/BraveSoftware/Brave-Browser/Profile 1/Bookmarks", kEmptyBookmarks);
    Put(".config/vivaldi/Default/Bookmarks", kEmptyBookmarks);
    Put(".config/microsoft-edge/Default/Bookmarks", kEmptyBookmarks);
    Put("snap/chromium/common/chromium/Default/Bookmarks", kEmptyBookmarks);
    Put(".var/app/org.chromium.Chromium/config/chromium/Default/Bookmarks", kEmptyBookmarks);
    EXPECT_EQ(Found(), (std::vector<std::string>{"chromium|個人|Default|", "chromium|Work|Profile 2|default",
                                                 "chromium|Profile 10|Profile 10|", "chromium|Default|Default|default",
                                                 "chromium|Default|Default|default", "chrome|Default|Default|default",
                                                 "brave|Profile 1|Profile 1|default", "vivaldi|Default|Default|default",
                                                 "edge|Default|Default|default"}));
    EXPECT_EQ(Selected("chromium"), ".config/chromium/Profile 2/Bookmarks");
    EXPECT_EQ(Selected("chromium:個人"), ".config/chromium/Default/Bookmarks");
    EXPECT_EQ(Selected("chromium:Default"), ".config/chromium/Default/Bookmarks");
    EXPECT_EQ(Selected("chrome"), ".config/google-chrome/Default/Bookmarks");
    EXPECT_EQ(Selected("brave"), ".config/BraveSoftware/Brave-Browser/Profile 1/Bookmarks");
    EXPECT_EQ(Selected("edge:Work"), "none");
}

TEST_F(TBrowserStoresTest, ConfigHomeElsewhereAndUnreadableStoresListed) {
    const TBrowserHome home{m_Home.string(), (m_Home / "xdg").string()};
    Put(".config/chromium/Default/Bookmarks", kEmptyBookmarks);
    std::filesystem::create_directories(m_Home / "xdg/vivaldi/Default/Bookmarks");
    const std::vector<TBrowserStore> stores = FindBrowserStores(home);
    ASSERT_EQ(stores.size(), 1u);
    EXPECT_EQ(stores[0].Browser, "vivaldi");
    EXPECT_THROW(ReadBookmarkStore(stores[0].Path), EBookmarkStoreError);
}

TEST_F(TBrowserStoresTest, BrowserNames) {
    EXPECT_EQ(BrowserDisplayName("chrome"), "Google Chrome");
    EXPECT_EQ(BrowserDisplayName("edge"), "Microsoft Edge");
    EXPECT_TRUE(IsBrowserName("brave"));
    EXPECT_TRUE(IsBrowserName("firefox:Profile: with colon"));
    EXPECT_FALSE(IsBrowserName("opera"));
    EXPECT_FALSE(IsBrowserName("./firefox"));
    EXPECT_FALSE(IsBrowserName("Firefox"));
}

TEST_F(TBrowserStoresTest, UserBookmarksOfferPlacesWithoutBookmarksHtml) {
    EXPECT_EQ(FindUserBookmarkSource(m_Home.string()), std::nullopt);
    Put(".mozilla/firefox/profiles.ini", "[Profile0]\nPath=p.default\nDefault=1\n");
    Put(".mozilla/firefox/p.default/prefs.js");
    const std::string netscape = Put(".netscape/bookmarks.html", "<DL>");
    EXPECT_EQ(FindUserBookmarkSource(m_Home.string()), netscape);
    const std::string places = Put(".mozilla/firefox/p.default/places.sqlite");
    EXPECT_EQ(FindUserBookmarkSource(m_Home.string()), places);
    EXPECT_EQ(FindUserBookmarkFile(m_Home.string()), netscape);
    const std::string html = Put(".mozilla/firefox/p.default/bookmarks.html", "<DL>");
    EXPECT_EQ(FindUserBookmarkSource(m_Home.string()), html);
}

} // namespace
} // namespace hv

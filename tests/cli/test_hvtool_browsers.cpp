#include "../core/PlacesBuilder.h"
#include "CliTestSupport.h"
#include "document/DocumentFile.h"
#include "model/HVFolder.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace hv::cli::test {
namespace {

using hv::test::TPlacesBuilder;

// HOME points into the test's directory; XDG_CONFIG_HOME is left unset.
class TBrowsersTest : public THvtoolTest {
protected:
    void SetUp() override {
        THvtoolTest::SetUp();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "HOLLYVINE_CONFIG_DIR"}) {
            const char* value = std::getenv(name);
            m_Saved.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
        std::filesystem::create_directories(m_Dir / "home");
        setenv("HOME", PathOf("home").c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        setenv("HOLLYVINE_CONFIG_DIR", m_Dir.c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : m_Saved) {
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        }
        THvtoolTest::TearDown();
    }
    std::string Put(const std::string& relative, const std::string& text) {
        const std::filesystem::path path = m_Dir / "home" / relative;
        std::filesystem::create_directories(path.parent_path());
        WriteBytes(path.string(), text);
        return path.string();
    }
    void MakeFirefox() {
        Put(".mozilla/firefox/profiles.ini", "[Profile0]\nName=default-release\nIsRelative=1\nPath=x.default-release\n"
                                             "Default=1\n[Profile1]\nName=old\nIsRelative=1\nPath=y.old\n");
        std::filesystem::create_directories(m_Dir / "home/.mozilla/firefox/y.old");
        TPlacesBuilder old(PathOf("home/.mozilla/firefox/y.old/places.sqlite"));
        old.Bookmark(TPlacesBuilder::kUnfiled, "Old", "https://old.example/");
        std::filesystem::create_directories(m_Dir / "home/.mozilla/firefox/x.default-release");
        TPlacesBuilder places(PathOf("home/.mozilla/firefox/x.default-release/places.sqlite"));
        const auto folder = places.Folder(TPlacesBuilder::kToolbar, "Dev");
        places.Bookmark(folder, "cppreference", "https://en.cppreference.com/");
        places.Bookmark(TPlacesBuilder::kToolbar, "", "https://untitled.example/");
    }
    void MakeChromium() {
        Put(".config/chromium/Local State", R"({"profile": {"info_cache": {"Profile 1": {"name": "仕事"}},
                                               "last_used": "Profile 1"}})");
        Put(".config/chromium/Default/Bookmarks",
            R"({"roots": {"other": {"type": "folder", "children": [{"type": "url", "name": "D", "url": "https://d/"}]}}})");
        Put(".config/chromium/Profile 1/Bookmarks",
            R"({"roots": {"bookmark_bar": {"type": "folder", "children": [
                {"type": "url", "name": "A", "url": "https://a/"}, {"type": "url", "name": "B", "url": "https://b/"}]}}})");
    }
    std::string Ls(const std::string& doc) {
        TRunResult r = RunTool({"ls", doc});
        EXPECT_EQ(r.Code, 0) << r.Err;
        return r.Out;
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> m_Saved;
};

TEST_F(TBrowsersTest, BrowsersListsEveryStoreWithItsCount) {
    TRunResult none = RunTool({"browsers"});
    EXPECT_EQ(none.Code, 1);
    EXPECT_EQ(none.Out, "");
    EXPECT_EQ(none.Err, "ブラウザのブックマークが見つかりません。\n");

    MakeFirefox();
    MakeChromium();
    const std::string home = PathOf("home");
    TRunResult r = RunTool({"browsers"});
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "firefox\tdefault-release\t2\t" + home +
                         "/.mozilla/firefox/x.default-release/places.sqlite\n"
                         "firefox\told\t1\t" +
                         home +
                         "/.mozilla/firefox/y.old/places.sqlite\n"
                         "chromium\tDefault\t1\t" +
                         home +
                         "/.config/chromium/Default/Bookmarks\n"
                         "chromium\t仕事\t2\t" +
                         home + "/.config/chromium/Profile 1/Bookmarks\n");

    Put(".config/vivaldi/Default/Bookmarks", "{\"roots\": ");
    r = RunTool({"browsers"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), 4);
    EXPECT_EQ(r.Err, "\"" + home + "/.config/vivaldi/Default/Bookmarks\" は壊れているため読み込めません。\n");
    EXPECT_EQ(RunTool({"browsers", "extra"}).Code, 2);
}

TEST_F(TBrowsersTest, ImportBrowserTakesTheDefaultProfileOrANamedOne) {
    MakeFirefox();
    MakeChromium();
    const std::string doc = PathOf("d.hv");
    TRunResult r = RunTool({"import-browser", doc, "firefox"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "ブックマークのインポートが完了しました。\n");
    EXPECT_EQ(Ls(doc), "Hollyvine\n"
                       "  ブックマークツールバー\n"
                       "    https://untitled.example/  <https://untitled.example/>\n"
                       "    Dev\n"
                       "      cppreference  <https://en.cppreference.com/>\n");

    THVFolder root("Hollyvine");
    root.AddChild("Chromium");
    root.AddChild("Old");
    SaveDocumentFile(doc, root, "");
    r = RunTool({"import-browser", doc, "chromium", "--folder", "Hollyvine\\Chromium"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    r = RunTool({"import-browser", doc, "firefox:old", "--folder", "Hollyvine\\Old"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(Ls(doc), "Hollyvine\n  Chromium\n    ブックマーク バー\n      A  <https://a/>\n      B  <https://b/>\n"
                       "  Old\n    他のブックマーク\n      Old  <https://old.example/>\n");
}

TEST_F(TBrowsersTest, ImportBrowserTakesAStoreFileOrAProfileDirectory) {
    MakeChromium();
    const std::string doc = PathOf("d.hv");
    TRunResult r = RunTool({"import-browser", doc, PathOf("home/.config/chromium/Default")});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(Ls(doc), "Hollyvine\n  その他のブックマーク\n    D  <https://d/>\n");
    std::filesystem::remove(doc);
    r = RunTool({"import-browser", doc, PathOf("home/.config/chromium/Profile 1/Bookmarks")});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(Ls(doc), "Hollyvine\n  ブックマーク バー\n    A  <https://a/>\n    B  <https://b/>\n");
}

TEST_F(TBrowsersTest, ImportBrowserFailuresLeaveTheDocumentAlone) {
    MakeChromium();
    const std::string doc = PathOf("d.hv");
    TRunResult r = RunTool({"import-browser", doc, "chrome"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "ブラウザ \"chrome\" のブックマークが見つかりません。\n");
    r = RunTool({"import-browser", doc, "chromium:Nobody"});
    EXPECT_EQ(r.Err, "ブラウザ \"chromium:Nobody\" のブックマークが見つかりません。\n");
    r = RunTool({"import-browser", doc, PathOf("nowhere")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "ファイル \"" + PathOf("nowhere") + "\" が見つかりません。\n");
    EXPECT_FALSE(std::filesystem::exists(doc));

    // Root runs the tests, so the store nobody can read is a directory where the file should be.
    std::filesystem::create_directories(m_Dir / "home/.config/chromium/Profile 2/Bookmarks");
    r = RunTool({"import-browser", doc, "chromium:Profile 2"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "ファイル \"" + PathOf("home/.config/chromium/Profile 2/Bookmarks") +
                         "\" を読み込めません。\nIs a directory\n");
    EXPECT_FALSE(std::filesystem::exists(doc));

    THVFolder root("Hollyvine");
    root.AddChild("Sub");
    SaveDocumentFile(doc, root, "");
    const std::string before = ReadBytes(doc);
    r = RunTool({"import-browser", doc, "chromium"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "現在選択されているフォルダはサブフォルダを持っているため、実行できません。"
                     "空のフォルダを選択してからやり直してください。\n");
    EXPECT_EQ(ReadBytes(doc), before);
    EXPECT_EQ(RunTool({"import-browser", doc}).Code, 2);
}

} // namespace
} // namespace hv::cli::test

#include "../core/PlacesBuilder.h"
#include "CliTestSupport.h"
#include "document/DocumentFile.h"
#include "model/HVFolder.h"

#include <algorithm>

namespace hv::cli::test {
namespace {

using hv::test::TPlacesBuilder;

// HOME points into the test's directory; XDG_CONFIG_HOME is left unset.
class TBrowsersTest : public THvtoolTest {
protected:
    void SetUp() override {
        THvtoolTest::SetUp();
        std::filesystem::create_directories(m_Dir / "home");
        SaveEnv("HOME", PathOf("home"));
        SaveEnv("XDG_CONFIG_HOME", std::nullopt);
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
};

TEST_F(TBrowsersTest, BrowsersListsEveryStoreWithItsCount) {
    EXPECT_EQ(RunTool({"browsers"}), (TRunResult{1, "", "ブラウザのブックマークが見つかりません。\n"}));

    MakeFirefox();
    MakeChromium();
    const std::string home = PathOf("home");
    TRunResult r = RunTool({"browsers"});
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "firefox\tdefault-release\t2\t" + home + "/.mozilla/firefox/x.default-release/places.sqlite\n" +
                         "firefox\told\t1\t" + home + "/.mozilla/firefox/y.old/places.sqlite\n" +
                         "chromium\tDefault\t1\t" + home + "/.config/chromium/Default/Bookmarks\n" +
                         "chromium\t仕事\t2\t" + home + "/.config/chromium/Profile 1/Bookmarks\n");

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
    ASSERT_EQ(RunTool({"import-browser", doc, "firefox"}),
              (TRunResult{0, "ブックマークのインポートが完了しました。\n", ""}));
    EXPECT_EQ(Ls(doc), "Hollyvine\n"
                       "  ブックマークツールバー\n"
                       "    https://untitled.example/  <https://untitled.example/>\n"
                       "    Dev\n"
                       "      cppreference  <https://en.cppreference.com/>\n");

    THVFolder root("Hollyvine");
    root.AddChild("Chromium");
    root.AddChild("Old");
    SaveDocumentFile(doc, root, "");
    ASSERT_EQ(RunTool({"import-browser", doc, "chromium", "--folder", "Hollyvine\\Chromium"}).Code, 0);
    ASSERT_EQ(RunTool({"import-browser", doc, "firefox:old", "--folder", "Hollyvine\\Old"}).Code, 0);
    EXPECT_EQ(Ls(doc), "Hollyvine\n  Chromium\n    ブックマーク バー\n      A  <https://a/>\n      B  <https://b/>\n"
                       "  Old\n    他のブックマーク\n      Old  <https://old.example/>\n");
}

TEST_F(TBrowsersTest, ImportBrowserTakesAStoreFileOrAProfileDirectory) {
    MakeChromium();
    const std::string doc = PathOf("d.hv");
    ASSERT_EQ(RunTool({"import-browser", doc, PathOf("home/.config/chromium/Default")}).Code, 0);
    EXPECT_EQ(Ls(doc), "Hollyvine\n  その他のブックマーク\n    D  <https://d/>\n");
    std::filesystem::remove(doc);
    ASSERT_EQ(RunTool({"import-browser", doc, PathOf("home/.config/chromium/Profile 1/Bookmarks")}).Code, 0);
    EXPECT_EQ(Ls(doc), "Hollyvine\n  ブックマーク バー\n    A  <https://a/>\n    B  <https://b/>\n");
}

TEST_F(TBrowsersTest, ImportBrowserFailuresLeaveTheDocumentAlone) {
    MakeChromium();
    const std::string doc = PathOf("d.hv");
    EXPECT_EQ(RunTool({"import-browser", doc, "chrome"}),
              (TRunResult{1, "", "ブラウザ \"chrome\" のブックマークが見つかりません。\n"}));
    EXPECT_EQ(RunTool({"import-browser", doc, "chromium:Nobody"}),
              (TRunResult{1, "", "ブラウザ \"chromium:Nobody\" のブックマークが見つかりません。\n"}));
    EXPECT_EQ(RunTool({"import-browser", doc, PathOf("nowhere")}),
              (TRunResult{1, "", "ファイル \"" + PathOf("nowhere") + "\" が見つかりません。\n"}));
    // Root runs the tests, so the store nobody can read is a directory where the file should be.
    std::filesystem::create_directories(m_Dir / "home/.config/chromium/Profile 2/Bookmarks");
    EXPECT_EQ(RunTool({"import-browser", doc, "chromium:Profile 2"}),
              (TRunResult{1, "",
                          "ファイル \"" + PathOf("home/.config/chromium/Profile 2/Bookmarks") +
                              "\" を読み込めません。\nIs a directory\n"}));
    EXPECT_FALSE(std::filesystem::exists(doc));

    THVFolder root("Hollyvine");
    root.AddChild("Sub");
    SaveDocumentFile(doc, root, "");
    const std::string before = ReadBytes(doc);
    EXPECT_EQ(RunTool({"import-browser", doc, "chromium"}),
              (TRunResult{1, "",
                          "現在選択されているフォルダはサブフォルダを持っているため、実行できません。"
                          "空のフォルダを選択してからやり直してください。\n"}));
    EXPECT_EQ(ReadBytes(doc), before);
    EXPECT_EQ(RunTool({"import-browser", doc}).Code, 2);
}

} // namespace
} // namespace hv::cli::test

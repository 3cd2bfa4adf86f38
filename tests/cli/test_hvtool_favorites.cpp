#include "CliTestSupport.h"

#include <filesystem>

namespace hv::cli::test {
namespace {

// The settings store and the home directory live in the test's directory, and the debugging
// port points at nothing, so no real browser or setting takes part.
class TFavoritesToolTest : public THvtoolTest {
protected:
    void SetUp() override {
        THvtoolTest::SetUp();
        SaveEnv("HOME", m_Dir.string());
        SaveEnv("HOLLYVINE_BROWSER_DEBUG_PORT", "1");
    }
};

TEST_F(TFavoritesToolTest, ImportFromTheHomeFavoritesAndExportBack) {
    std::filesystem::create_directories(PathOf("Favorites/News"));
    WriteBytes(PathOf("Favorites/News/a.url"), "[InternetShortcut]\r\nURL=http://a/\r\n");
    const std::string doc = PathOf("d.hv");
    TRunResult declined = RunTool({"import-favorites", doc});
    EXPECT_EQ(declined.Code, 0) << declined.Err;
    EXPECT_EQ(RunTool({"ls", doc}).Out, "Hollyvine\n");
    TRunResult r = RunTool({"import-favorites", doc, "--yes"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "[お気に入り] のインポートが完了しました。\n"); // the result, on standard output
    EXPECT_EQ(r.Err.find("完了"), std::string::npos);
    EXPECT_EQ(RunTool({"ls", doc}).Out, "Hollyvine\n  News\n    a  <http://a/>\n");

    ASSERT_EQ(RunTool({"export-favorites", doc, PathOf("out"), "--folder", "Hollyvine\\News"}),
              (TRunResult{0, "エクスポートが完了しました。\n", ""}));
    EXPECT_EQ(ReadBytes(PathOf("out/a.url")), "[InternetShortcut]\r\nURL=http://a/\r\n");
    EXPECT_EQ(RunTool({"export-favorites", doc, PathOf("out"), "--clear"}).Code, 1);
    EXPECT_TRUE(std::filesystem::exists(PathOf("out/a.url")));
}

TEST_F(TFavoritesToolTest, ExportFavoritesListsErrorsAndFails) {
    const std::string doc = PathOf("d.hv");
    WriteBytes(PathOf("a.url"), "[InternetShortcut]\r\nURL=http://a/\r\n");
    ASSERT_EQ(RunTool({"import-shortcuts", doc, PathOf("a.url"), PathOf("a.url")}),
              (TRunResult{0, "2 個のショートカットをインポートしました。\n", ""}));
    EXPECT_EQ(RunTool({"ls", doc}).Out, "Hollyvine\n  a  <http://a/>\n  a~1  <http://a/>\n");
    WriteBytes(PathOf("blocked"), "x");
    TRunResult r = RunTool({"export-favorites", doc, PathOf("blocked")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("を作れませんでした。"), std::string::npos);
}

TEST_F(TFavoritesToolTest, ExportHtmlWithChoices) {
    const std::string doc = PathOf("d.hv");
    WriteBytes(PathOf("a.url"), "[InternetShortcut]\r\nURL=http://a/\r\n");
    ASSERT_EQ(RunTool({"import-shortcuts", doc, PathOf("a.url")}).Code, 0);
    TRunResult r = RunTool({"export-html", doc, PathOf("p.html"), "--kanji", "utf8", "--eol", "lf", "--title", "T"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const std::string page = ReadBytes(PathOf("p.html"));
    EXPECT_TRUE(page.starts_with("<html><head><title>T</title>\n"));
    EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
    EXPECT_NE(page.find("<dt><a href=\"http://a/\" title=\"http://a/\">a</a>\n"), std::string::npos);
    EXPECT_EQ(RunTool({"export-html", doc, PathOf("p.html"), "--kanji", "latin1"}).Code, 2);
}

TEST_F(TFavoritesToolTest, CaptureWithoutBrowsers) {
    EXPECT_EQ(RunTool({"browser-url"}).Out, "");
    TRunResult r = RunTool({"capture", PathOf("d.hv")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("ブラウザが見つかりません。URL を取得できません。"), std::string::npos);
}

} // namespace
} // namespace hv::cli::test

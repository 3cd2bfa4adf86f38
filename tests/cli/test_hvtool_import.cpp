#include "CliTestSupport.h"
#include "document/DocumentFile.h"
#include "model/HVFolder.h"

namespace hv::cli::test {
namespace {

class TImportTest : public THvtoolTest {
protected:
    std::string Page(const std::string& name, const std::string& html) {
        WriteBytes(PathOf(name), html);
        return PathOf(name);
    }
};

constexpr const char* kLinks = "<a href=\"http://a/?x=1&amp;y=2\">A &amp; B</a>\n<a href=mailto:m>Mail</a>";

TEST_F(TImportTest, LinksListsEveryLinkAndStopsAtAnError) {
    const std::string good = Page("good.html", kLinks);
    const std::string bad = Page("bad.html", "<a href=http://c>C</a><a href=\"x");
    EXPECT_EQ(RunTool({"links", good, bad, good}),
              (TRunResult{1,
                          "1\tA & B\thttp://a/?x=1&y=2\tgood.html (1行目)\n0\tMail\tmailto:m\tgood.html (2行目)\n"
                          "1\tC\thttp://c\tbad.html (1行目)\n",
                          "文字列が終了していません(行番号: 1)\n"}));
    EXPECT_EQ(RunTool({"links", PathOf("none.html")}).Code, 1);
    EXPECT_EQ(RunTool({"links"}).Code, 2);
}

TEST_F(TImportTest, ImportLinksCreatesTheDocumentAndAddsTickedLinks) {
    const std::string page = Page("p.html", kLinks);
    const std::string doc = PathOf("d.hv");
    ASSERT_EQ(RunTool({"import-links", doc, page}), (TRunResult{0, "1個のリンクをインポートしました。\n", ""}));
    EXPECT_EQ(Ls(doc), "Hollyvine\n  A & B  <http://a/?x=1&y=2>\n");

    THVFolder root("Hollyvine");
    root.AddChild("Sub")->AddChild("Deep");
    SaveDocumentFile(doc, root, "");
    ASSERT_EQ(RunTool({"import-links", doc, page, page, "--all", "--folder", "Hollyvine\\Sub\\Deep"}),
              (TRunResult{0, "4個のリンクをインポートしました。\n", ""}));
    EXPECT_EQ(Ls(doc), "Hollyvine\n  Sub\n    Deep\n      A & B  <http://a/?x=1&y=2>\n      Mail  <mailto:m>\n"
                       "      A & B~1  <http://a/?x=1&y=2>\n      Mail~1  <mailto:m>\n");

    EXPECT_EQ(RunTool({"import-links", doc, page, "--folder", "Hollyvine\\Deep"}),
              (TRunResult{1, "", "フォルダ 'Hollyvine\\Deep' が見つかりません。\n"}));
}

constexpr const char* kBookmarks =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
    "<DT><H3>Folder</H3>\n<DL><p>\n<DT><A HREF=\"http://f\" LAST_VISIT=\"0\">In folder</A>\n"
    "</DL><p>\n<DT><A HREF=\"http://t\">Top</A>\n<DD>Memo\n</DL><p>\n";

TEST_F(TImportTest, ImportBookmarksFillsAnEmptyFolderOnly) {
    const std::string bookmarks = Page("bookmarks.html", kBookmarks);
    const std::string doc = PathOf("b.hv");
    ASSERT_EQ(RunTool({"import-bookmarks", doc, bookmarks}),
              (TRunResult{0, "ブックマークのインポートが完了しました。\n", ""}));
    EXPECT_EQ(Ls(doc), "Hollyvine\n  Top  <http://t>\n  Folder\n    In folder  <http://f>\n");

    const std::string before = ReadBytes(doc);
    EXPECT_EQ(RunTool({"import-bookmarks", doc, bookmarks}),
              (TRunResult{1, "",
                          "現在選択されているフォルダはサブフォルダを持っているため、実行できません。"
                          "空のフォルダを選択してからやり直してください。\n"}));
    // A file that breaks off is reported and nothing is saved.
    const std::string broken = Page("broken.html", "<DL><DT><H3>New</H3><DL><DT><A HREF=\"x");
    EXPECT_EQ(RunTool({"import-bookmarks", doc, broken, "--folder", "Hollyvine\\Folder"}).Code, 1);
    EXPECT_EQ(RunTool({"import-bookmarks", doc, PathOf("none.html")}).Code, 1);
    EXPECT_EQ(ReadBytes(doc), before);
}

TEST_F(TImportTest, ExportBookmarksFollowsOptionsAndSettings) {
    const std::string doc = PathOf("e.hv");
    ASSERT_EQ(RunTool({"import-bookmarks", doc, Page("bookmarks.html", kBookmarks)}).Code, 0);
    const std::string out = PathOf("out.html");
    ASSERT_EQ(RunTool({"export-bookmarks", doc, out, "--title", "T&T"}),
              (TRunResult{0, "エクスポートが完了しました。\n", ""}));
    const std::string itemsFirst = ReadBytes(out);
    EXPECT_NE(itemsFirst.find("<title>T&amp;T</title>"), std::string::npos);
    EXPECT_LT(itemsFirst.find("Top"), itemsFirst.find("<h3>Folder"));

    ASSERT_EQ(RunTool({"export-bookmarks", doc, out, "--subfolders-first"}).Code, 0);
    EXPECT_GT(ReadBytes(out).find("Top"), ReadBytes(out).find("<h3>Folder"));

    WriteSettings("\"ItemsFirst\"=dword:00000000", "\\ExportBm");
    ASSERT_EQ(RunTool({"export-bookmarks", doc, out}).Code, 0);
    EXPECT_GT(ReadBytes(out).find("Top"), ReadBytes(out).find("<h3>Folder"));

    ASSERT_EQ(RunTool({"export-bookmarks", doc, out, "--folder", "Hollyvine\\Folder"}).Code, 0);
    EXPECT_EQ(ReadBytes(out).find("Top"), std::string::npos);

    // What was exported imports back to the same tree.
    ASSERT_EQ(RunTool({"import-bookmarks", PathOf("again.hv"), out}).Code, 0);
    EXPECT_EQ(Ls(PathOf("again.hv")), "Hollyvine\n  In folder  <http://f>\n");
    EXPECT_EQ(RunTool({"export-bookmarks", doc, PathOf("no/dir/out.html")}).Code, 1);
}

} // namespace
} // namespace hv::cli::test

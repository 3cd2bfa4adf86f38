#include "CliTestSupport.h"
#include "document/DocumentFile.h"
#include "model/HVFolder.h"

#include <unistd.h>

namespace hv::cli::test {
namespace {

using TLsTest = THvtoolTest;

TEST_F(TLsTest, PrintsFoldersAsAnOutlineWithTheirItemsFirst) {
    THVFolder root("Hollyvine");
    THVItem* top = root.List().Add();
    top->SetName("Yahoo!");
    top->SetURL("http://www.yahoo.co.jp/");
    THVFolder* news = root.AddChild("ニュース");
    news->List().Add()->SetName("NHK");
    news->List().Items(0)->SetURL("http://www.nhk.or.jp/");
    news->AddChild("空");
    root.AddChild("Alpha")->List().Add()->SetName("no url");
    SaveDocumentFile(PathOf("a.hv"), root, "");

    EXPECT_EQ(RunTool({"ls", PathOf("a.hv")}),
              (TRunResult{0,
                          "Hollyvine\n  Yahoo!  <http://www.yahoo.co.jp/>\n  Alpha\n    no url  <>\n  ニュース\n"
                          "    NHK  <http://www.nhk.or.jp/>\n    空\n",
                          ""}));
}

// Folders b, C, a in this order in the file, one item in C.
void SaveUnsortedDocument(const std::string& path) {
    THVFolder root("Hollyvine");
    root.AddChild("b");
    root.AddChild("C")->List().Add()->SetName("in C");
    root.AddChild("a");
    SaveDocumentFile(path, root, "");
}

TEST_F(TLsTest, FoldersComeInNameOrderWithSortFolderAndInFileOrderWithout) {
    const std::string doc = PathOf("u.hv");
    SaveUnsortedDocument(doc);
    EXPECT_EQ(RunTool({"ls", doc}).Out, "Hollyvine\n  a\n  b\n  C\n    in C  <>\n");
    ASSERT_EQ(RunTool({"export-bookmarks", doc, PathOf("bm.html")}).Code, 0);
    const std::string bookmarks = ReadBytes(PathOf("bm.html"));
    EXPECT_LT(bookmarks.find(">a</h3>"), bookmarks.find(">b</h3>"));
    EXPECT_LT(bookmarks.find(">b</h3>"), bookmarks.find(">C</h3>"));
    ASSERT_EQ(RunTool({"export-html", doc, PathOf("p.html"), "--kanji", "utf8"}).Code, 0);
    const std::string page = ReadBytes(PathOf("p.html"));
    EXPECT_LT(page.find(">a<"), page.find(">b<"));
    EXPECT_LT(page.find(">b<"), page.find(">C<"));
    // dump shows the file as stored.
    const std::string dumped = RunTool({"dump", doc, "--compact"}).Out;
    EXPECT_LT(dumped.find("\"b\""), dumped.find("\"C\""));
    EXPECT_LT(dumped.find("\"C\""), dumped.find("\"a\""));

    WriteSettings("\"SortFolder\"=dword:00000000");
    EXPECT_EQ(RunTool({"ls", doc}).Out, "Hollyvine\n  b\n  C\n    in C  <>\n  a\n");
}

TEST_F(TLsTest, TheOpenErrorNamesTheFullPathAndTheReasonInJapanese) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(
        RunTool({"ls", "no-such-document.hv"}),
        (TRunResult{1, "",
                    "ファイル \"" + std::string(cwd) +
                        "/no-such-document.hv\" を開けませんでした。\nファイルまたはディレクトリがありません。\n"}));
    EXPECT_EQ(RunTool({"ls", m_Dir.string()}),
              (TRunResult{1, "", "ファイル \"" + m_Dir.string() + "\" を開けませんでした。\nディレクトリです。\n"}));
}

TEST_F(TLsTest, ThePasswordMayComeFromAFileOrTheEnvironment) {
    THVFolder root("Hollyvine");
    root.List().Add()->SetName("secret");
    SaveDocumentFile(PathOf("p.hv"), root, "pw");
    WriteBytes(PathOf("pw.txt"), "pw\r\nsecond line\n");
    WriteBytes(PathOf("wrong.txt"), "nope");
    const std::string shown = "Hollyvine\n  secret  <>\n";
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv")}).Code, 1);
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv"), "--password", "pw"}).Out, shown);
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv"), "--password-file", PathOf("pw.txt")}).Out, shown);
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv"), "--password-file=" + PathOf("pw.txt")}).Out, shown);
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv"), "--password-file", PathOf("wrong.txt")}).Code, 1);

    EXPECT_EQ(RunTool({"ls", PathOf("p.hv"), "--password-file", PathOf("none.txt")}),
              (TRunResult{1, "", "パスワードのファイル \"" + PathOf("none.txt") + "\" を読めませんでした。\n"}));
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv"), "--password-file"}).Code, 2);

    SaveEnv("HOLLYVINE_PASSWORD", "pw");
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv")}).Out, shown);
    // The command line wins over the file, the file over the environment.
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv"), "--password-file", PathOf("wrong.txt")}).Code, 1);
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv"), "--password", "x", "--password-file", PathOf("pw.txt")}).Code, 1);
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv"), "--password", "pw", "--password-file", PathOf("wrong.txt")}).Out, shown);
}

TEST_F(TLsTest, EveryPasswordOptionHasAFileFormAndTheHelpSaysWhichIsSafest) {
    THVFolder root("Hollyvine");
    root.List().Add()->SetName("mine");
    SaveDocumentFile(PathOf("d.hv"), root, "");
    THVFolder other("Hollyvine");
    other.List().Add()->SetName("theirs");
    SaveDocumentFile(PathOf("o.hv"), other, "them");
    WriteBytes(PathOf("o.txt"), "them\n");
    WriteBytes(PathOf("new.txt"), "fresh\n");
    ASSERT_EQ(RunTool({"merge", PathOf("d.hv"), PathOf("o.hv"), "--other-password-file", PathOf("o.txt")}).Code, 0);
    ASSERT_EQ(RunTool({"passwd", PathOf("d.hv"), "--new-password-file", PathOf("new.txt")}).Code, 0);
    EXPECT_EQ(RunTool({"ls", PathOf("d.hv"), "--password", "fresh"}).Out, "Hollyvine\n  mine  <>\n  theirs  <>\n");
    EXPECT_EQ(RunTool({"ls", PathOf("d.hv"), "--passwordfile", "x"}).Code, 2);

    const std::string help = RunTool({"help", "ls"}).Out;
    EXPECT_NE(help.find("--password-file FILE (FILE の 1 行目) か環境変数\n  HOLLYVINE_PASSWORD でも渡せます。"),
              std::string::npos)
        << help;
    EXPECT_NE(help.find("ほかの人から読めないファイル (--password-file) か環境変数を使うのが安全です。"),
              std::string::npos);
    EXPECT_EQ(RunTool({"help", "links"}).Out.find("--password-file"), std::string::npos);
}

} // namespace
} // namespace hv::cli::test

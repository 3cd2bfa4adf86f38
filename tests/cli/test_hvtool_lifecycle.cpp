#include "CliTestSupport.h"
#include "document/DocumentFile.h"
#include "document/RecentFiles.h"
#include "model/HVFolder.h"

namespace hv::cli::test {
namespace {

using TLifecycleToolTest = THvtoolTest;

const std::string kHeader1 = "# Holly Vine Document 1\r\n\r\n";

std::string Item(const std::string& title, const std::string& url, const std::string& extra = {}) {
    return "[Item]\r\nTitle=" + title + "\r\nURL=" + url + "\r\n" + extra + "\r\n";
}

std::string Folder(int level, const std::string& name) {
    return "[Folder]\r\nLevel=" + std::to_string(level) + "\r\nName=" + name + "\r\n\r\n";
}

std::string Protected(const std::string& body, const std::string& password) {
    THVFolder root;
    root.List().Add()->SetName(body);
    return BuildDocumentBytes(root, password);
}

// --- merge --------------------------------------------------------------------------------

TEST_F(TLifecycleToolTest, MergeSavesTheDocumentAndSaysSo) {
    WriteBytes(PathOf("doc.hv"), kHeader1 + Item("a", "http://a/", "LastVisited=2024/1/1 0:00\r\n"));
    WriteBytes(PathOf("other.hv"), kHeader1 + Item("a", "http://a/", "LastVisited=2024/2/1 0:00\r\n") + Folder(1, "f") +
                                       Item("b", "http://b/"));
    ASSERT_EQ(RunTool({"merge", PathOf("doc.hv"), PathOf("other.hv")}),
              (TRunResult{0, "マージが完了しました。\n", ""}));
    EXPECT_EQ(ReadBytes(PathOf("doc.hv")), kHeader1 + Item("a", "http://a/", "LastVisited=2024/2/1 0:00\r\n") +
                                               Folder(1, "f") + Item("b", "http://b/"));
}

TEST_F(TLifecycleToolTest, AFailedMergeLeavesTheDocumentFile) {
    const std::string doc = kHeader1 + Item("a", "u");
    WriteBytes(PathOf("doc.hv"), doc);
    WriteBytes(PathOf("p.hv"), Protected("x", "pw"));
    WriteBytes(PathOf("broken.hv"), kHeader1 + Item("new", "u") + Folder(0, "x"));
    struct TCase {
        std::vector<std::string> Args;
        std::string ErrStart;
    } cases[] = {
        {{"p.hv"}, "正しいパスワードが入力されませんでした。\n"},
        {{"p.hv", "--other-password", "PW"}, "正しいパスワードが入力されませんでした。\n"},
        {{"broken.hv"}, "ファイル \"" + PathOf("broken.hv") + "\" のマージに失敗しました。\n"},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> args = {"merge", PathOf("doc.hv"), PathOf(c.Args[0])};
        args.insert(args.end(), c.Args.begin() + 1, c.Args.end());
        TRunResult r = RunTool(args);
        EXPECT_EQ(r.Code, 1);
        EXPECT_EQ(r.Out, "");
        EXPECT_TRUE(r.Err.starts_with(c.ErrStart)) << r.Err;
        EXPECT_EQ(ReadBytes(PathOf("doc.hv")), doc);
    }
    EXPECT_EQ(RunTool({"merge", PathOf("doc.hv")}).Code, 2);
}

// --- passwd and info ----------------------------------------------------------------------

TEST_F(TLifecycleToolTest, PasswdSetsAndRemovesThePasswordWithTheVersion) {
    WriteBytes(PathOf("doc.hv"), kHeader1 + Folder(1, "f") + Item("b", "u"));
    ASSERT_EQ(RunTool({"passwd", PathOf("doc.hv"), "--new-password", "ひみつ"}), (TRunResult{0, "", ""}));
    EXPECT_TRUE(ReadBytes(PathOf("doc.hv")).starts_with("# Hollyvine Document 2\r\n"));
    EXPECT_EQ(RunTool({"passwd", PathOf("doc.hv"), "--new-password", ""}).Code, 1) << "the old password is needed";

    ASSERT_EQ(RunTool({"passwd", PathOf("doc.hv"), "--password", "ひみつ", "--new-password="}).Code, 0);
    EXPECT_EQ(ReadBytes(PathOf("doc.hv")), kHeader1 + Folder(1, "f") + Item("b", "u"));
}

TEST_F(TLifecycleToolTest, PasswdKeepsAKeptByteApartFromTheCharacterAfterIt) {
    // A UTF-8 document whose title is the invalid byte 0x82 followed by "あいう".
    WriteBytes(PathOf("doc.hv"), "# Holly Vine Document 1\r\nEncoding=UTF-8\r\n\r\n" + Item("\x82あいう", "u"));
    ASSERT_EQ(RunTool({"passwd", PathOf("doc.hv"), "--new-password", "pw"}).Code, 0);
    const std::string saved = ReadBytes(PathOf("doc.hv"));
    const std::string listed = RunTool({"ls", PathOf("doc.hv"), "--password", "pw"}).Out;
    EXPECT_NE(listed.find("あいう"), std::string::npos) << listed;
    ASSERT_EQ(RunTool({"passwd", PathOf("doc.hv"), "--password", "pw", "--new-password", "pw"}).Code, 0);
    EXPECT_EQ(ReadBytes(PathOf("doc.hv")), saved);
}

TEST_F(TLifecycleToolTest, PasswdAsksTwiceOnTheTerminalAndFailsWithoutOne) {
    WriteBytes(PathOf("doc.hv"), kHeader1);
    TRunResult asked = RunTool({"passwd", PathOf("doc.hv")}, "abc\nabd\nxyz\nxyz\n", true);
    ASSERT_EQ(asked.Code, 0) << asked.Err;
    EXPECT_NE(asked.Err.find("同じパスワードを２回入力してください。\n"), std::string::npos) << asked.Err;
    EXPECT_EQ(RunTool({"info", PathOf("doc.hv"), "--password", "xyz"}).Code, 0);

    EXPECT_EQ(RunTool({"passwd", PathOf("doc.hv"), "--password", "xyz"}).Code, 1);
    EXPECT_EQ(RunTool({"passwd", PathOf("doc.hv"), "--password", "xyz"}, "only-once\n", true).Code, 1);
    EXPECT_EQ(RunTool({"passwd", PathOf("doc.hv"), "--password", "xyz", "--new-password", "12345678901234567"}).Err,
              "パスワードは 16 文字以内にしてください。\n");
    EXPECT_EQ(RunTool({"info", PathOf("doc.hv"), "--password", "xyz"}).Code, 0) << "nothing changed";
}

TEST_F(TLifecycleToolTest, InfoCountsAsTheFilePropertiesDialog) {
    WriteBytes(PathOf("doc.hv"), "# Holly Vine Document 1\r\nEncoding=UTF-8\r\n\r\n" + Item("😀", "u") + Folder(1, "f") +
                                     Item("b", "u") + Folder(2, "g") + Folder(1, "h") + Item("c", "u"));
    EXPECT_EQ(RunTool({"info", PathOf("doc.hv")}),
              (TRunResult{0,
                          "file\t" + FullFileName(PathOf("doc.hv")) +
                              "\nversion\t1\nencoding\tUTF-8\npassword\tfalse\nfolders\t4\nitems\t3\n",
                          ""}));
}

} // namespace
} // namespace hv::cli::test

#include "CliTestSupport.h"
#include "document/DocumentFile.h"

#include <nlohmann/json.hpp>

namespace hv::cli::test {
namespace {

using TDumpTest = THvtoolTest;

const std::string kHeader1 = "# Holly Vine Document 1\r\n\r\n";

// A version 1 document in CP932 with kanji everywhere, every item field, and folders that are
// not in name order.
std::string KanjiDocumentBytes() {
    return kHeader1 +
           Cp932("[Item]\r\nTitle=ルート項目\r\nURL=http://example.jp/\r\n"
                 "Memo=\"一行目\",\"二行目 \"\"引用\"\"\",,\"四行目\"\r\nLastVisited=2024/03/05 7:05\r\n"
                 "Icon=C:\\icons\\a.ico,3\r\nCmd0=開く\tfirefox %s\tV\r\nCmd1=編集\tvi\r\nSchedule=毎日\r\n\r\n"
                 "[Folder]\r\nLevel=1\r\nName=日本語\r\n\r\n") +
           // "表" is 0x95 0x5C: its second byte is the ASCII backslash.
           "[Item]\r\nTitle=\x95\x5C\r\nURL=\r\n\r\n" + "[Folder]\r\nLevel=2\r\nName=sub\r\n\r\n" +
           "[Folder]\r\nLevel=1\r\nName=Alpha\r\n\r\n";
}

// What dump prints for it, as compact JSON (the pretty layout is checked against nlohmann's).
const char* const kKanjiDocumentJson =
    R"({"version":1,"password":"","encoding":"CP932","root":{"name":"Hollyvine","expanded":true,"items":[)"
    R"({"name":"ルート項目","url":"http://example.jp/","memo":"一行目\r\n二行目 \"引用\"\r\n\r\n四行目",)"
    R"("lastVisited":"2024/3/5 7:05","schedule":"毎日","iconFile":"C:\\icons\\a.ico","iconIndex":3,"commands":[)"
    R"({"title":"開く","commandLine":"firefox %s","updateLastVisited":true},)"
    R"({"title":"編集","commandLine":"vi","updateLastVisited":false}]}],"folders":[)"
    R"({"name":"日本語","expanded":true,"items":[{"name":"表","url":"","memo":"","lastVisited":null,"schedule":"",)"
    R"("iconFile":"","iconIndex":-1,"commands":[]}],"folders":[{"name":"sub","expanded":true,"items":[],"folders":[]}]},)"
    R"({"name":"Alpha","expanded":true,"items":[],"folders":[]}]}})";

// A protected document whose password is "秘密", as the program writes it.
std::string ProtectedDocumentBytes() {
    std::string bytes = "# Hollyvine Document 2\r\n";
    const std::size_t from = bytes.size();
    bytes += Cp932("Password=秘密\r\n\r\n[Item]\r\nTitle=隠し\r\nURL=http://secret/\r\n\r\n");
    Scramble(bytes, from);
    return bytes;
}

// --- the JSON form -------------------------------------------------------------------------

TEST_F(TDumpTest, PrintsEveryFieldOfACp932DocumentInFileOrder) {
    WriteBytes(PathOf("kanji.hv"), KanjiDocumentBytes());
    EXPECT_EQ(RunTool({"dump", "--compact", PathOf("kanji.hv")}).Out, std::string(kKanjiDocumentJson) + "\n");
    // Same layout as nlohmann's own printing: two blanks per level, "key": value.
    EXPECT_EQ(RunTool({"dump", PathOf("kanji.hv")}),
              (TRunResult{0, nlohmann::ordered_json::parse(kKanjiDocumentJson).dump(2) + "\n", ""}));
    // An unprotected document ignores a given password.
    EXPECT_EQ(RunTool({"dump", PathOf("kanji.hv"), "--password", "x"}).Code, 0);
}

TEST_F(TDumpTest, EscapesEveryCharacterAsNlohmannDoes) {
    // Names cannot hold line breaks, but memos, commands and kept bytes bring every other kind.
    std::string memo;
    for (int c = 1; c < 0x20; ++c) {
        memo += static_cast<char>(c);
    }
    memo += "\"\\/\x7F é 漢字 \xEF\x9E\x80 😀"; // U+F780, a kept byte
    const std::string json = R"({"root":{"name":"Hollyvine","items":[{"name":"a","url":"u","memo":)" +
                             nlohmann::json(memo).dump() + "}],\"folders\":[]}}";
    ASSERT_EQ(RunTool({"write", "-", PathOf("esc.hv")}, json).Code, 0);
    TRunResult dump = RunTool({"dump", "--compact", PathOf("esc.hv")});
    ASSERT_EQ(dump.Code, 0);
    const auto parsed = nlohmann::ordered_json::parse(dump.Out);
    // The memo comes back with its line breaks as CR LF; its printed form is nlohmann's.
    const std::string back = parsed["root"]["items"][0]["memo"].get<std::string>();
    EXPECT_NE(dump.Out.find(nlohmann::json(back).dump()), std::string::npos) << dump.Out;
    EXPECT_EQ(dump.Out, parsed.dump() + "\n");
}

TEST_F(TDumpTest, ThePrintedJsonWritesBackToTheSameJson) {
    ASSERT_EQ(RunTool({"write", "-", PathOf("out.hv")}, kKanjiDocumentJson), (TRunResult{0, "", ""}));
    EXPECT_EQ(RunTool({"dump", "--compact", PathOf("out.hv")}).Out, std::string(kKanjiDocumentJson) + "\n");
}

// --- protected documents -------------------------------------------------------------------

TEST_F(TDumpTest, OpensAProtectedDocumentWithItsPassword) {
    WriteBytes(PathOf("p.hv"), ProtectedDocumentBytes());
    TRunResult r = RunTool({"dump", PathOf("p.hv"), "--password", "秘密"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    auto json = nlohmann::json::parse(r.Out);
    EXPECT_EQ(json["version"], 2);
    EXPECT_EQ(json["password"], "秘密");
    EXPECT_EQ(json["root"]["items"][0]["name"], "隠し");

    // Asked on the terminal.
    TRunResult right = RunTool({"dump", PathOf("p.hv")}, "秘密\r\n", true);
    EXPECT_EQ(right.Code, 0);
    EXPECT_EQ(right.Err, "パスワード: ");
    EXPECT_EQ(RunTool({"dump", PathOf("p.hv")}, "ひみつ\n", true),
              (TRunResult{1, "", "パスワード: 正しいパスワードが入力されませんでした。\n"}));
    EXPECT_EQ(RunTool({"dump", PathOf("p.hv")}, "", true).Code, 1);
}

TEST_F(TDumpTest, RefusesAProtectedDocumentWithoutTheRightPassword) {
    WriteBytes(PathOf("p.hv"), ProtectedDocumentBytes());
    const std::string wrong = "正しいパスワードが入力されませんでした。\n";
    struct TCase {
        std::vector<std::string> Extra;
        std::string Input;
        bool Terminal;
    } cases[] = {
        {{}, "秘密\n", false},                  // not a terminal: nobody is asked
        {{"--password", "himitsu"}, "", false}, // wrong
        {{"--password="}, "", true},            // an empty password given explicitly is not asked again
        {{"--password", "秘"}, "", false},      // a prefix is not enough
    };
    for (const TCase& c : cases) {
        std::vector<std::string> args = {"dump", PathOf("p.hv")};
        args.insert(args.end(), c.Extra.begin(), c.Extra.end());
        EXPECT_EQ(RunTool(args, c.Input, c.Terminal), (TRunResult{1, "", wrong})) << c.Input;
    }
}

// --- failures ------------------------------------------------------------------------------

TEST_F(TDumpTest, RejectsAFileThatIsNoDocument) {
    WriteBytes(PathOf("note.txt"), "hello\r\nworld\r\n");
    EXPECT_EQ(
        RunTool({"dump", PathOf("note.txt")}),
        (TRunResult{1, "", "ファイル \"" + PathOf("note.txt") + "\" はHollyvine のドキュメントではありません。\n"}));
}

TEST_F(TDumpTest, ReportsABrokenBodyAsAFailedOpenWithTheReason) {
    WriteBytes(PathOf("level.hv"), kHeader1 + "[Folder]\r\nLevel=one\r\nName=a\r\n\r\n");
    WriteBytes(PathOf("memo.hv"), kHeader1 + "[Item]\r\nTitle=a\r\nMemo=\"x\"y\r\n\r\n");
    for (const char* name : {"level.hv", "memo.hv"}) {
        TRunResult r = RunTool({"dump", PathOf(name)});
        EXPECT_EQ(r.Code, 1);
        EXPECT_EQ(r.Out, "");
        const std::string first = "ファイル \"" + PathOf(name) + "\" を開けませんでした。\n";
        ASSERT_TRUE(r.Err.starts_with(first)) << r.Err;
        EXPECT_GT(r.Err.size(), first.size() + 1) << "the reason follows on a second line";
    }
}

} // namespace
} // namespace hv::cli::test

#include "CliTestSupport.h"
#include "TerminalPrompts.h"
#include "document/DocumentFile.h"
#include "document/RecordReader.h"
#include "model/HVFolder.h"
#include "platform/SafeFile.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace hv::cli::test {
namespace {

// Each test runs with its own settings, a pinned clock, and a search path holding only a fake
// xdg-open that records what it was asked to open; no browser is ever started.
class TOpenTest : public THvtoolTest {
protected:
    void SetUp() override {
        THvtoolTest::SetUp();
        SaveEnv("HOLLYVINE_NOW", "2024/3/4 12:00");
        SaveEnv("PATH", m_Dir.string());
        Recorder("xdg-open", 0);
        THVFolder root("Hollyvine");
        THVFolder* news = root.AddChild("News");
        THVItem* web = news->List().Add();
        web->SetName("Web");
        web->SetURL("http://example.com/?q=a&b");
        THVItem* cmd = news->List().Add();
        cmd->SetName("Cmd");
        cmd->SetURL("\"" + PathOf("rec prog") + "\" 'one two' a;b $(id)");
        SaveDocumentFile(PathOf("a.hv"), root, "");
        m_Original = ReadBytes(PathOf("a.hv"));
    }

    void Recorder(const std::string& name, int exitCode) const {
        WriteBytes(
            PathOf(name),
            "#!/bin/sh\nPATH=/usr/bin:/bin\nprintf '%s\\n' \"$@\" > \"$0.args.tmp\" && mv \"$0.args.tmp\" \"$0.args\"\n"
            "exit " +
                std::to_string(exitCode) + "\n");
        chmod(PathOf(name).c_str(), 0755);
    }

    std::string ArgsOf(const std::string& name) const {
        const std::string path = PathOf(name + ".args");
        for (int i = 0; i < 2000 && !std::filesystem::exists(path); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return ReadBytes(path);
    }

    // LastVisited of News\NAME in the saved document.
    TDateTime VisitedOf(const std::string& name) const {
        THVFolder root("Hollyvine");
        ReadRecords(ParseDocumentBytes(ReadBytes(PathOf("a.hv"))).Body, root);
        return root.Child(0)->List().FindByName(name)->GetLastVisited();
    }

    std::string m_Original;
};

TEST_F(TOpenTest, OpensTheAddressAndRecordsTheAccess) {
    EXPECT_EQ(RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "web"}), (TRunResult{0, "", ""}));
    EXPECT_EQ(ArgsOf("xdg-open"), "http://example.com/?q=a&b\n");
    EXPECT_EQ(VisitedOf("Web"), EncodeDateTime(2024, 3, 4, 12, 0));
    EXPECT_EQ(VisitedOf("Cmd"), 0);
}

TEST_F(TOpenTest, CommandLineRunsTheProgramWithoutAShell) {
    Recorder("rec prog", 0);
    EXPECT_EQ(RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "Cmd"}).Code, 0);
    EXPECT_EQ(ArgsOf("rec prog"), "one two\na;b\n$(id)\n");
    EXPECT_EQ(VisitedOf("Cmd"), EncodeDateTime(2024, 3, 4, 12, 0));
}

TEST_F(TOpenTest, FailedLaunchReportsAndLeavesTheDocument) {
    Recorder("xdg-open", 3);
    EXPECT_EQ(RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "Web"}),
              (TRunResult{1, "", "実行できませんでした。エラーコード: 31\n\nhttp://example.com/?q=a&b\n"}));
    EXPECT_EQ(ReadBytes(PathOf("a.hv")), m_Original);
    TRunResult r = RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "Cmd"}); // no such program
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.starts_with("実行できませんでした。エラーコード: 2\n\n")) << r.Err;
    EXPECT_EQ(ReadBytes(PathOf("a.hv")), m_Original);
}

const std::string kQuestion =
    "只今の時間帯、インターネットへのアクセスが制限されていますが、続行してよろしいですか？\n"
    "（アクセスの制限については [設定] ダイアログボックスの [アクセス] タブをご覧ください）\n";

TEST_F(TOpenTest, RestrictionTakesNoUnlessYesOrTheTerminalSaysSo) {
    WriteSettings("\"AccessRestriction\"=dword:00000001");
    TRunResult r = RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "Web"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.starts_with(kQuestion)) << r.Err;
    EXPECT_EQ(ReadBytes(PathOf("a.hv")), m_Original);

    EXPECT_EQ(RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "Web"}, "n\n", true).Code, 1);
    EXPECT_EQ(ReadBytes(PathOf("a.hv")), m_Original);
    EXPECT_EQ(RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "Web"}, "y\n", true).Code, 0);
    EXPECT_EQ(RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "Web", "--yes"}).Code, 0);
    // Command lines are never restricted.
    Recorder("rec prog", 0);
    EXPECT_EQ(RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "Cmd"}).Code, 0);
}

TEST_F(TOpenTest, ImpossibleRestrictTimeIsReportedAsTheErrorHandlerShowsIt) {
    WriteSettings("\"AccessRestriction\"=dword:00000002\r\n\"RestrictTime\"=\"0800-2560\"");
    TRunResult r = RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "Web", "--yes"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.ends_with(".\n[EConvertError]\n")) << r.Err;
    EXPECT_EQ(ReadBytes(PathOf("a.hv")), m_Original);
}

TEST_F(TOpenTest, DialUpCheckWithoutAnEntryShowsItsMessage) {
    Recorder("nmcli", 0); // a NetworkManager that reports no active connection
    WriteSettings("\"CheckRasConnect\"=dword:00000001");
    EXPECT_EQ(
        RunTool({"open", PathOf("a.hv"), "Hollyvine\\News", "Web"}),
        (TRunResult{
            1, "",
            "ダイアルアップ接続先が選択されていません。\n[表示]-[設定] で設定ダイアログを開いてみてください。\n"}));
}

TEST_F(TOpenTest, MissingFolderOrItemFails) {
    EXPECT_EQ(RunTool({"open", PathOf("a.hv"), "Hollyvine\\Nope", "Web"}),
              (TRunResult{1, "", "フォルダ 'Hollyvine\\Nope' が見つかりません。\n"}));
    EXPECT_EQ(RunTool({"open", PathOf("a.hv"), "Hollyvine", "Web"}),
              (TRunResult{1, "", "アイテム 'Web' が見つかりません。\n"}));
    EXPECT_EQ(RunTool({"open", PathOf("a.hv"), "Hollyvine\\News"}).Code, 2);
    EXPECT_EQ(ReadBytes(PathOf("a.hv")), m_Original);
}

// The prompts other commands share: the save question and the password follow the same rules.
TEST(TerminalPrompts, SaveQuestionAndPassword) {
    const struct {
        const char* Input;
        bool Terminal;
        bool Yes;
        TSaveAnswer Answer;
    } cases[] = {{"s\n", true, false, TSaveAnswer::Save},    {"N\n", true, false, TSaveAnswer::DontSave},
                 {"\n", true, false, TSaveAnswer::Cancel},   {"", true, false, TSaveAnswer::Cancel},
                 {"s\n", false, false, TSaveAnswer::Cancel}, {"", false, true, TSaveAnswer::Save}};
    for (const auto& c : cases) {
        std::ostringstream out, err;
        std::istringstream in(c.Input);
        TCommandIO io{out, err, in, c.Terminal};
        EXPECT_EQ(TTerminalPrompts(io, c.Yes).AskSave("save?", "ファイルの保存"), c.Answer) << c.Input;
        EXPECT_TRUE(err.str().starts_with("[ファイルの保存]\nsave?\n")) << err.str();
    }
    std::ostringstream out, err;
    std::istringstream in("typed\r\n");
    TCommandIO terminal{out, err, in, true};
    EXPECT_EQ(TTerminalPrompts(terminal, false, "given").AskPassword("p", "Hollyvine"), "given");
    EXPECT_EQ(TTerminalPrompts(terminal, false).AskPassword("p", "Hollyvine"), "typed");
    TCommandIO piped{out, err, in, false};
    EXPECT_EQ(TTerminalPrompts(piped, true).AskPassword("p", "Hollyvine"), std::nullopt);
}

} // namespace
} // namespace hv::cli::test

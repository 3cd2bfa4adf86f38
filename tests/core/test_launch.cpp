#include "Errors.h"
#include "FakeLaunchers.h"
#include "FakePrompts.h"
#include "launch/AccessRestriction.h"
#include "launch/CommandLine.h"
#include "launch/OpenURL.h"
#include "model/HVItems.h"
#include "platform/Clock.h"
#include "platform/NetworkConnections.h"
#include "platform/ShellLauncher.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace hv;
using hv::test::TFakeNetwork;
using hv::test::TFakePrompts;
using hv::test::TFakeShell;
using TRecord = TFakePrompts::TRecord;
using TKind = TFakePrompts::TKind;
using TStrings = std::vector<std::string>;

namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return EncodeDateTime(y, mo, d, h, mi, s);
}

TEST(CommandLine, SchemeTest) {
    for (const char* web : {"http://a", "HTTP://A", "https://a", "Ftp://a", "Gopher://a"}) {
        EXPECT_TRUE(IsWebAddress(web)) << web;
    }
    for (const char* other : {"mailto:a@b", "file:///tmp", "C:\\a.exe", "www.example.com", "httpx://a", " http://a"}) {
        EXPECT_FALSE(IsWebAddress(other)) << other;
    }
}

TEST(CommandLine, SplitIntoProgramAndParameters) {
    using TParts = std::optional<std::pair<std::string, std::string>>;
    const std::pair<const char*, TParts> cases[] = {
        {"notepad a.txt b.txt", std::pair{"notepad", "a.txt b.txt"}},
        {"notepad", std::pair{"notepad", ""}},
        {"\"/opt/My App/run\" -x y", std::pair{"/opt/My App/run", "-x y"}},
        {"\"/opt/My App/run\"", std::pair{"/opt/My App/run", ""}},
        {"\"say \"\"hi\"\"\" now", std::pair{"say \"hi\"", "now"}},
        {"\"/opt/run\"  two", std::pair{"/opt/run", " two"}},
        // A quote closed right before another character, never closed, or empty; no program.
        {"\"/opt/run\"x", std::nullopt},
        {"\"/opt/run", std::nullopt},
        {"\"\" x", std::nullopt},
        {"", std::nullopt},
        {" leading", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        const std::optional<TCommandLineParts> parts = SplitCommandLine(text);
        EXPECT_EQ(parts ? TParts(std::pair{parts->Program, parts->Parameters}) : std::nullopt, expected) << text;
    }
}

TEST(CommandLine, ParametersSplitLikeAShellWithoutExpanding) {
    const std::pair<const char*, std::optional<TStrings>> cases[] = {
        {"  \t ", TStrings{}},
        {"a  b\tc\nd", TStrings{"a", "b", "c", "d"}},
        {"'a b' \"c d\" e\\ f x'y'\"z\" ''", TStrings{"a b", "c d", "e f", "xyz", ""}},
        {"'it\\'s", TStrings{"it\\s"}},
        {"\"a \\\"q\\\" \\$HOME \\n\"", TStrings{"a \"q\" $HOME \\n"}},
        {"$(rm -rf ~); `id` *.txt|x", TStrings{"$(rm", "-rf", "~);", "`id`", "*.txt|x"}},
        {"a\\\nb trailing\\", TStrings{"ab", "trailing\\"}},
        {"'open", std::nullopt},
        {"\"open\\\"", std::nullopt},
    };
    for (const auto& [text, words] : cases) {
        EXPECT_EQ(SplitShellWords(text), words) << text;
    }
}

TEST(AccessRestriction, RestrictTimeFields) {
    EXPECT_EQ(ParseRestrictTime("0800-2300").StartMSec, 8 * 3600000);
    EXPECT_EQ(ParseRestrictTime("0800-2300").EndMSec, 23 * 3600000);
    EXPECT_EQ(ParseRestrictTime("0x30~1").StartMSec, 30 * 60000); // "0x" is no number
    EXPECT_EQ(ParseRestrictTime("0x30~1").EndMSec, 3600000);      // the minute is missing
    EXPECT_EQ(ParseRestrictTime("０８００-2300").StartMSec, 0);
    for (const char* text : {"2400-2300", "0860-2300", "0800-2400", "0800-2360", "-100-2300"}) {
        EXPECT_THROW(ParseRestrictTime(text), EConvertError) << text;
    }
}

TEST(AccessRestriction, BoundsAreIncludedToTheMillisecond) {
    const struct {
        int Restriction;
        const char* Range;
        TDateTime Now;
        bool Allowed;
    } cases[] = {
        {0, "garbage!!", At(2024, 3, 4, 12, 0), true},
        {1, "0800-2300", At(2024, 3, 4, 12, 0), false},
        {1, "0800-2300", At(2024, 3, 4, 23, 30), true},
        {1, "0800-2300", At(2024, 3, 4, 8, 0, 0), false},
        {1, "0800-2300", At(2024, 3, 4, 23, 0, 0), false},
        {1, "0800-2300", At(2024, 3, 4, 23, 0, 30), true},
        {1, "0800-2300", EncodeDateTime(2024, 3, 4, 23, 0, 0, 1), true},
        {2, "0800-2300", At(2024, 3, 4, 12, 0), true},
        {2, "0800-2300", At(2024, 3, 4, 7, 59), false},
        {5, "0800-2300", At(2024, 3, 4, 7, 59), false}, // any other value acts as 2
        {-1, "0800-2300", At(2024, 3, 4, 12, 0), true},
        {1, "2200-0600", At(2024, 3, 4, 12, 0), false}, // never wraps: 06:00 .. 22:00
        {1, "2200-0600", At(2024, 3, 4, 23, 0), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAccessAllowed(c.Restriction, c.Range, c.Now), c.Allowed) << c.Restriction << ' ' << c.Range;
    }
}

class OpenURLTest : public ::testing::Test {
protected:
    bool Open(const std::string& text) { return OpenURL(text, m_Options, {m_Prompts, m_Shell, m_Network, m_Clock}); }

    TFakePrompts m_Prompts;
    TFakeShell m_Shell;
    TFakeNetwork m_Network;
    TTestClock m_Clock{At(2024, 3, 4, 12, 0)};
    TLaunchOptions m_Options;
};

TEST_F(OpenURLTest, WebAddressAndCommandLineReachTheShell) {
    EXPECT_TRUE(Open("http://example.com/a b"));
    EXPECT_TRUE(Open("\"/opt/My App/run\" --x 'y z'"));
    EXPECT_EQ(m_Shell.Calls, (std::vector<std::pair<std::string, std::string>>{{"http://example.com/a b", ""},
                                                                               {"/opt/My App/run", "--x 'y z'"}}));
    EXPECT_TRUE(m_Prompts.Records.empty());
}

TEST_F(OpenURLTest, UnreadableCommandLineShowsTheParseMessage) {
    for (std::string text : {"\"/opt/run\"x", "/opt/run 'unclosed", ""}) {
        m_Prompts.Records.clear();
        EXPECT_FALSE(Open(text));
        EXPECT_EQ(m_Prompts.Only(), (TRecord{TKind::Warning, "コマンドを解析できません。\n\n" + text, "Hollyvine"}));
    }
    EXPECT_TRUE(m_Shell.Calls.empty());
}

TEST_F(OpenURLTest, ShellFailureShowsCodeAndWholeText) {
    m_Shell.Result = kShellNoAssociation;
    EXPECT_FALSE(Open("mailto:someone@example.com?subject=hi"));
    EXPECT_EQ(
        m_Prompts.Only(),
        (TRecord{TKind::Warning, "実行できませんでした。エラーコード: 31\n\nmailto:someone@example.com?subject=hi",
                 "Hollyvine"}));
    m_Shell.Result = 32; // the lowest success
    EXPECT_TRUE(Open("mailto:x"));
}

TEST_F(OpenURLTest, RestrictionAsksForWebAddressesOnly) {
    m_Options.AccessRestriction = 1;
    m_Options.CheckRasConnect = true;
    m_Network.Connected = true;
    m_Prompts.YesNoAnswers = {false, true};
    EXPECT_FALSE(Open("https://example.com/"));
    EXPECT_TRUE(m_Shell.Calls.empty());
    EXPECT_TRUE(Open("https://example.com/"));
    EXPECT_EQ(m_Prompts.Records,
              std::vector<TRecord>(2, TRecord{TKind::YesNo,
                                              "只今の時間帯、インターネットへのアクセスが制限されていますが、続行して"
                                              "よろしいですか？\n（アクセスの制限については [設定] ダイアログボックス"
                                              "の [アクセス] タブをご覧ください）",
                                              "Hollyvine"}));
    // Command lines neither ask nor check the connection.
    const int checks = m_Network.Checks;
    EXPECT_TRUE(Open("/usr/bin/app http://example.com"));
    EXPECT_EQ(m_Prompts.Records.size(), 2u);
    EXPECT_EQ(m_Network.Checks, checks);
    // An impossible time ends the launch with an error.
    m_Options.RestrictTime = "0800-2500";
    EXPECT_THROW(Open("http://example.com"), EConvertError);
    EXPECT_EQ(m_Shell.Calls.size(), 2u);
}

TEST_F(OpenURLTest, DialUp) {
    m_Options.CheckRasConnect = true;
    EXPECT_FALSE(Open("http://example.com"));
    EXPECT_EQ(m_Prompts.Only(), (TRecord{TKind::Information,
                                         "ダイアルアップ接続先が選択されていません。\n[表示]-[設定] "
                                         "で設定ダイアログを開いてみてください。",
                                         "Hollyvine"}));
    m_Prompts.Records.clear();
    m_Options.PhoneEntry = "My ISP";
    EXPECT_TRUE(Open("http://example.com"));
    m_Network.DialResult = 1;
    EXPECT_FALSE(Open("http://example.com")); // silently
    EXPECT_EQ(m_Network.Dialled, (TStrings{"My ISP", "My ISP"}));
    EXPECT_EQ(m_Shell.Calls.size(), 1u);
    EXPECT_TRUE(m_Prompts.Records.empty());

    m_Network.Missing = true;
    try {
        Open("http://example.com");
        ADD_FAILURE() << "no error";
    } catch (const EDialUpError& e) {
        EXPECT_STREQ(e.what(), "ダイアルアップに必要な API が見つかりません。Wininet.dll "
                               "のバージョンを確認してください。\n(2: No such file or directory)");
    }
    m_Network.Connected = true;
    EXPECT_TRUE(Open("http://example.com"));
}

TEST(RecordAccess, SetsNowAndReportsTheItem) {
    THVList list;
    THVItem* item = list.Add();
    TTestClock clock(At(2024, 3, 4, 9, 30, 15));
    std::vector<THVItem*> modified;
    RecordAccess(*item, clock, [&modified](THVItem& changed) { modified.push_back(&changed); });
    EXPECT_EQ(item->GetLastVisited(), clock.Now());
    EXPECT_EQ(modified, std::vector<THVItem*>{item});
}

} // namespace

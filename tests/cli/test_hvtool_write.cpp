#include "CliTestSupport.h"
#include "document/DocumentFile.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"

#include <nlohmann/json.hpp>

namespace hv::cli::test {
namespace {

using TWriteTest = THvtoolTest;

// A tree with something of every kind our writer has to get right.
std::unique_ptr<THVFolder> SampleTree(const std::string& extraName = {}) {
    auto root = std::make_unique<THVFolder>("Hollyvine");
    THVItem* item = root->List().Add();
    item->SetName("東京" + extraName);
    item->SetURL("http://example.jp/?a=1&b=\"2\"");
    item->SetMemo("一行目\r\n\r\n\"引用\", 続き");
    item->SetSchedule("毎週 月");
    item->SetLastVisited(EncodeDateTime(2001, 12, 31, 23, 59));
    item->SetIconRaw("/usr/share/icons/a,b.png", 0);         // a comma in the name needs an explicit ",0"
    item->GetCommands().Add() = TCmdItem{"開く", "", false}; // an empty command line must survive
    item->GetCommands().Add() = TCmdItem{"見る", "xdg-open %s", true};
    THVFolder* folder = root->AddChild("ゼータ");
    folder->List().Add()->SetName("表");
    folder->AddChild("深い")->List().Add()->SetURL("file:///tmp/x");
    root->AddChild("alpha");
    return root;
}

std::string DumpOf(const std::string& path, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args = {"dump", path};
    args.insert(args.end(), extra.begin(), extra.end());
    TRunResult r = RunTool(args);
    EXPECT_EQ(r.Code, 0) << r.Err;
    return r.Out;
}

// --- round trips ---------------------------------------------------------------------------

struct TRoundTripCase {
    const char* Name;
    std::string ExtraName;
    std::string Password;
    bool ForceUtf8;
};

class TRoundTripTest : public THvtoolTest, public ::testing::WithParamInterface<TRoundTripCase> {};

TEST_P(TRoundTripTest, OurFilesSurviveDumpAndWriteByteForByte) {
    const TRoundTripCase& c = GetParam();
    SaveDocumentFile(PathOf("a.hv"), *SampleTree(c.ExtraName), c.Password, c.ForceUtf8);
    const std::vector<std::string> password =
        c.Password.empty() ? std::vector<std::string>{} : std::vector<std::string>{"--password", c.Password};

    const std::string json = DumpOf(PathOf("a.hv"), password);
    WriteBytes(PathOf("a.json"), json);
    ASSERT_EQ(RunTool({"write", PathOf("a.json"), PathOf("b.hv")}), (TRunResult{0, "", ""}));
    EXPECT_EQ(ReadBytes(PathOf("b.hv")), ReadBytes(PathOf("a.hv")));
    EXPECT_EQ(DumpOf(PathOf("b.hv"), password), json);
}

INSTANTIATE_TEST_SUITE_P(Documents, TRoundTripTest,
                         ::testing::Values(TRoundTripCase{"Cp932", "", "", false},
                                           TRoundTripCase{"Utf8Forced", "", "", true},
                                           TRoundTripCase{"Utf8Needed", "😀", "", false},
                                           TRoundTripCase{"Protected", "", "ﾊﾟｽ", false},
                                           TRoundTripCase{"ProtectedUtf8", "€", "鍵🔑", false}),
                         [](const auto& info) { return std::string(info.param.Name); });

// --- what write derives --------------------------------------------------------------------

TEST_F(TWriteTest, DerivesVersionEncodingAndDefaultsFromTheContent) {
    struct TCase {
        std::string Json;
        std::string ExpectedStart;
    } cases[] = {
        {R"({"root":{"items":[{"name":"名前"}]}})", "# Holly Vine Document 1\r\n\r\n"},
        {R"({"encoding":"UTF-8","root":{"items":[{"name":"名前"}]}})",
         "# Holly Vine Document 1\r\nEncoding=UTF-8\r\n\r\n"},
        {R"({"encoding":"CP932","root":{"items":[{"name":"😀"}]}})",
         "# Holly Vine Document 1\r\nEncoding=UTF-8\r\n\r\n"},
        {R"({"version":1,"password":"pw","root":{}})", "# Hollyvine Document 2\r\n"},
        {R"({"version":2,"password":"","root":{}})", "# Holly Vine Document 1\r\n\r\n"},
    };
    for (const TCase& c : cases) {
        TRunResult w = RunTool({"write", "-", PathOf("out.hv")}, c.Json);
        ASSERT_EQ(w.Code, 0) << c.Json << "\n" << w.Err;
        EXPECT_TRUE(ReadBytes(PathOf("out.hv")).starts_with(c.ExpectedStart)) << c.Json;
    }
}

TEST_F(TWriteTest, MissingItemFieldsReadLikeAnEmptyRecord) {
    ASSERT_EQ(RunTool({"write", "-", PathOf("out.hv")}, R"({"root":{"items":[{}]}})").Code, 0);
    EXPECT_EQ(ReadBytes(PathOf("out.hv")), "# Holly Vine Document 1\r\n\r\n[Item]\r\nTitle=\r\nURL=\r\n\r\n");
}

TEST_F(TWriteTest, ThePasswordOptionWinsOverTheJson) {
    const std::string json = R"({"version":2,"password":"json","root":{"items":[{"name":"x"}]}})";
    ASSERT_EQ(RunTool({"write", "-", PathOf("opt.hv"), "--password", "option"}, json).Code, 0);
    EXPECT_EQ(RunTool({"dump", PathOf("opt.hv"), "--password", "json"}).Code, 1);
    EXPECT_EQ(RunTool({"dump", PathOf("opt.hv"), "--password", "option"}).Code, 0);

    // An empty option removes the protection, and the version follows.
    ASSERT_EQ(RunTool({"write", "-", PathOf("none.hv"), "--password="}, json).Code, 0);
    auto dumped = nlohmann::json::parse(DumpOf(PathOf("none.hv")));
    EXPECT_EQ(dumped["version"], 1);
    EXPECT_EQ(dumped["password"], "");
}

TEST_F(TWriteTest, PasswordsAreLimitedToSixteenCharacters) {
    const std::string sixteen = "一二三四五六七八九十一二三四五六";
    EXPECT_EQ(RunTool({"write", "-", PathOf("ok.hv"), "--password", sixteen}, R"({"root":{}})").Code, 0);
    EXPECT_EQ(RunTool({"write", "-", PathOf("long.hv"), "--password", sixteen + "七"}, R"({"root":{}})"),
              (TRunResult{1, "", "パスワードは 16 文字以内にしてください。\n"}));
    EXPECT_FALSE(std::filesystem::exists(PathOf("long.hv")));
    EXPECT_EQ(RunTool({"write", "-", PathOf("nl.hv")}, R"({"password":"a\nb","root":{}})").Code, 1);
}

TEST_F(TWriteTest, AppliesTheDocumentRulesLikeAReadWhateverTheKeyOrder) {
    const std::string json = R"({"root":{"folders":[
        {"name":"a\\b","items":[{"name":"x"},{"name":"X"}],"folders":[{"name":"s","items":[{"name":"in s"}]}]},
        {"folders":[],"name":"z"},
        {"items":[{"name":"x"}],"folders":[{"items":[{"name":"in S"}],"name":"S"}],"name":"A\\B"}]}})";
    ASSERT_EQ(RunTool({"write", "-", PathOf("out.hv")}, json).Code, 0);
    auto dumped = nlohmann::json::parse(DumpOf(PathOf("out.hv")));
    const auto& folders = dumped["root"]["folders"];
    ASSERT_EQ(folders.size(), 2U);
    EXPECT_EQ(folders[0]["name"], "a\xEF\xBF\xA5"
                                  "b");
    EXPECT_EQ(folders[1]["name"], "z");
    std::vector<std::string> names;
    for (const auto& item : folders[0]["items"]) {
        names.push_back(item["name"]);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"x", "X~1", "x~2"}));
    ASSERT_EQ(folders[0]["folders"].size(), 1U);
    EXPECT_EQ(folders[0]["folders"][0]["items"].size(), 2U);

    // The same rules hold when no folders merge.
    ASSERT_EQ(RunTool({"write", "-", PathOf("out.hv")},
                      R"({"root":{"folders":[{"name":"a\\b","items":[{"name":"x"},{"name":"X"}]},{"name":"c"}]}})")
                  .Code,
              0);
    const auto again = nlohmann::json::parse(DumpOf(PathOf("out.hv")));
    EXPECT_EQ(again["root"]["folders"][0]["name"], folders[0]["name"]);
    EXPECT_EQ(again["root"]["folders"][0]["items"][1]["name"], "X~1");
}

// --- bad input -----------------------------------------------------------------------------

struct TBadJsonCase {
    const char* Name;
    std::string Json;
    std::string Mentions; // part of the message that names the problem
};

class TBadJsonTest : public THvtoolTest, public ::testing::WithParamInterface<TBadJsonCase> {};

TEST_P(TBadJsonTest, FailsNamingTheProblemAndLeavesTheTargetAlone) {
    const TBadJsonCase& c = GetParam();
    WriteBytes(PathOf("in.json"), c.Json);
    WriteBytes(PathOf("out.hv"), "old");
    TRunResult r = RunTool({"write", PathOf("in.json"), PathOf("out.hv")});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.starts_with("JSON ファイル \"" + PathOf("in.json") + "\" を読めませんでした。\n")) << r.Err;
    EXPECT_NE(r.Err.find(c.Mentions), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(PathOf("out.hv")), "old");
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, TBadJsonTest,
    ::testing::Values(
        TBadJsonCase{"Syntax", R"({"root":{"items":[}})", "構文"},
        TBadJsonCase{"InvalidUtf8", "{\"root\":{\"name\":\"\xFF\"}}", "構文"},
        TBadJsonCase{"TopIsArray", R"([])", "JSON の最上位はオブジェクト"},
        TBadJsonCase{"NoRoot", R"({"version":1})", "\"root\""},
        TBadJsonCase{"UnknownKey", R"({"root":{"folders":[{"nmae":"a"}]}})", "root.folders[0] に不明なキー \"nmae\""},
        TBadJsonCase{"RepeatedKey", R"({"root":{"items":[],"items":[]}})", "\"items\" が重複"},
        TBadJsonCase{"NameNotString", R"({"root":{"items":[{},{"name":5}]}})", "root.items[1].name は文字列"},
        TBadJsonCase{"IconIndexTooBig", R"({"root":{"items":[{"iconIndex":2147483648}]}})", "iconIndex は整数"},
        TBadJsonCase{"LastVisitedNumber", R"({"root":{"items":[{"lastVisited":0}]}})", "lastVisited は文字列か null"},
        TBadJsonCase{"ExpandedString", R"({"root":{"expanded":"yes"}})", "root.expanded は真偽値"},
        TBadJsonCase{"FolderNotObject", R"({"root":{"folders":["a"]}})", "root.folders[0] はオブジェクト"},
        TBadJsonCase{"CommandFlag", R"({"root":{"items":[{"commands":[{"updateLastVisited":1}]}]}})",
                     "root.items[0].commands[0].updateLastVisited"},
        TBadJsonCase{"Version", R"({"version":3,"root":{}})", "version は整数 1 か 2 で"},
        TBadJsonCase{"Encoding", R"({"encoding":"EUC-JP","root":{}})", "encoding"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TWriteTest, ErrorPathsThroughDeepTreesKeepTheirEnds) {
    std::string down, up;
    for (int i = 0; i < 50; ++i) {
        down += R"({"folders":[)";
        up += "]}";
    }
    const std::string json = R"({"root":)" + down + R"({"name":true})" + up + "}";
    TRunResult r = RunTool({"write", "-", PathOf("out.hv")}, json);
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("root.folders[0].folders[0]\u2026.folders[0].folders[0].folders[0].name は文字列"),
              std::string::npos)
        << r.Err;
    EXPECT_LT(r.Err.size(), 300U);
}

TEST_F(TWriteTest, ReportsAnUnreadableInputAndAnUnwritableTarget) {
    TRunResult missing = RunTool({"write", PathOf("missing.json"), PathOf("out.hv")});
    EXPECT_EQ(missing.Code, 1);
    EXPECT_NE(missing.Err.find(PathOf("missing.json")), std::string::npos) << missing.Err;

    const std::string target = PathOf("no-such-dir/out.hv");
    TRunResult unwritable = RunTool({"write", "-", target}, R"({"root":{}})");
    EXPECT_EQ(unwritable.Code, 1);
    EXPECT_TRUE(unwritable.Err.starts_with("ファイル \"" + target + "\" を保存できませんでした。\n")) << unwritable.Err;
}

} // namespace
} // namespace hv::cli::test

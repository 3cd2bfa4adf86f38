#include "CliTestSupport.h"
#include "document/DocumentFile.h"
#include "model/HVFolder.h"

namespace hv::cli::test {
namespace {

// Hollyvine (Top) / ニュース (NHK, Asahi + command) / ニュース\Tech (Slashdot) ; Empty
class THvtoolSearchTest : public THvtoolTest {
protected:
    void SetUp() override {
        THvtoolTest::SetUp();
        THVFolder root("Hollyvine");
        Add(root, "Top", "http://www.example.com/", "");
        THVFolder* news = root.AddChild("ニュース");
        Add(*news, "NHK ニュース", "http://www.nhk.or.jp/", "公共放送");
        THVItem* asahi = Add(*news, "Asahi", "http://www.asahi.com/", "");
        TCmdItem& command = asahi->GetCommands().Add();
        command.Title = "トップ";
        command.CommandLine = "HTTP://WWW.EXAMPLE.COM/";
        Add(*news->AddChild("Tech"), "Slashdot news", "http://slashdot.org/", "");
        root.AddChild("Empty");
        SaveDocumentFile(PathOf("a.hv"), root, "");
    }

    static THVItem* Add(THVFolder& folder, const std::string& name, const std::string& url, const std::string& memo) {
        THVItem* item = folder.List().Add();
        item->SetName(name);
        item->SetURL(url);
        item->SetMemo(memo);
        return item;
    }
};

struct TFindCase {
    std::vector<std::string> Options;
    std::string Out;
};

class THvtoolFindTest : public THvtoolSearchTest, public ::testing::WithParamInterface<TFindCase> {};

TEST_P(THvtoolFindTest, PrintsPathNameAndUrlOfEachMatch) {
    std::vector<std::string> args = {"find", PathOf("a.hv")};
    args.insert(args.end(), GetParam().Options.begin(), GetParam().Options.end());
    EXPECT_EQ(RunTool(args), (TRunResult{0, GetParam().Out, ""}));
}

INSTANTIATE_TEST_SUITE_P(
    Options, THvtoolFindTest,
    ::testing::Values(TFindCase{{"NEWS"}, "Hollyvine\\ニュース\\Tech\tSlashdot news\thttp://slashdot.org/\n"},
                      TFindCase{{"NEWS", "--case"}, ""},
                      TFindCase{{"--field", "url", "--type", "begins", "HTTP://WWW."},
                                "Hollyvine\tTop\thttp://www.example.com/\n"
                                "Hollyvine\\ニュース\tNHK ニュース\thttp://www.nhk.or.jp/\n"
                                "Hollyvine\\ニュース\tAsahi\thttp://www.asahi.com/\n"},
                      TFindCase{{"--field=memo", "--type", "not-contains", "x"},
                                "Hollyvine\\ニュース\tNHK ニュース\thttp://www.nhk.or.jp/\n"},
                      TFindCase{{"--type", "equals", "asahi", "--folder", "Hollyvine\\ニュース", "--no-subfolders"},
                                "Hollyvine\\ニュース\tAsahi\thttp://www.asahi.com/\n"}));

struct TBadCase {
    std::vector<std::string> Args;
    int Code;
    std::string ErrStart;
};

class THvtoolSearchErrorTest : public THvtoolSearchTest, public ::testing::WithParamInterface<TBadCase> {};

TEST_P(THvtoolSearchErrorTest, RejectsBadInput) {
    std::vector<std::string> args = GetParam().Args;
    for (std::string& arg : args) {
        if (arg == "DOC") {
            arg = PathOf("a.hv");
        }
    }
    TRunResult r = RunTool(args);
    EXPECT_EQ(r.Code, GetParam().Code);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err.substr(0, GetParam().ErrStart.size()), GetParam().ErrStart);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, THvtoolSearchErrorTest,
    ::testing::Values(TBadCase{{"find", "DOC", "\t"}, 2, "検索文字列が指定されていません。\n"},
                      TBadCase{{"find", "DOC", "x", "--field", "title"}, 2, "--field の値が正しくありません: title\n"},
                      TBadCase{{"find", "DOC", "x", "--type", "like"}, 2, "--type の値が正しくありません: like\n"},
                      TBadCase{{"find", "DOC", "x", "--no-subfolders"}, 2, "--no-subfolders は --folder"},
                      TBadCase{{"find", "DOC"}, 2, "引数が足りません。"},
                      // --folder compares the whole path exactly.
                      TBadCase{{"find", "DOC", "x", "--folder", "Hollyvine\\ニュース\\tech"},
                               1,
                               "フォルダ 'Hollyvine\\ニュース\\tech' が見つかりません。\n"},
                      TBadCase{{"dups", "DOC", "--folder", "ニュース"}, 1, "フォルダ 'ニュース' が見つかりません。\n"},
                      TBadCase{{"dups", "DOC", "--no-subfolders"}, 2, "--no-subfolders は --folder"}));

TEST_F(THvtoolSearchTest, DupsPrintsOneBlockPerGroup) {
    EXPECT_EQ(RunTool({"dups", PathOf("a.hv")}).Out, "Top\tHollyvine\t\thttp://www.example.com/\n"
                                                     "Asahi\tHollyvine\\ニュース\tトップ\thttp://www.example.com/\n");
    EXPECT_EQ(RunTool({"dups", PathOf("a.hv"), "--no-commands"}).Out, "");
    EXPECT_EQ(RunTool({"dups", PathOf("a.hv"), "--folder", "Hollyvine\\ニュース"}).Out, "");

    THVFolder root("Hollyvine");
    Add(root, "a", "http://one/", "");
    Add(root, "b", "", "");
    Add(*root.AddChild("Sub"), "c", "HTTP://ONE/", "");
    Add(root, "d", "", "");
    SaveDocumentFile(PathOf("d.hv"), root, "");
    EXPECT_EQ(RunTool({"dups", PathOf("d.hv")}),
              (TRunResult{0,
                          "a\tHollyvine\t\thttp://one/\nc\tHollyvine\\Sub\t\thttp://one/\n\n"
                          "b\tHollyvine\t\t\nd\tHollyvine\t\t\n",
                          ""}));
}

} // namespace
} // namespace hv::cli::test

#include "CliTestSupport.h"
#include "settings/OptionKeys.h"

#include <sstream>

namespace hv::cli::test {
namespace {

// Points the settings at the test's own directory for the test's lifetime.
class TSettingsCommandTest : public THvtoolTest {
protected:
    void SetUp() override {
        THvtoolTest::SetUp();
        SaveEnv("HOLLYVINE_CONFIG_DIR", m_Dir.string());
        // A stored memo font keeps the listing from depending on the installed fonts.
        WriteBytes(Store(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\K.Amsel\\Hollyvine\\Window]\n"
                            "\"MemoFont\"=\"00,09,Test Font\"\n");
    }
    std::string Store() const { return PathOf("registry.reg"); }
    // The listing's line for one key, without its line end; empty when there is none.
    std::string Line(const std::string& table, const std::string& key) {
        const TRunResult r = RunTool({"settings"});
        EXPECT_EQ(r.Code, 0) << r.Err;
        std::istringstream lines(r.Out);
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with(table + "\t" + key + "\t")) {
                return line;
            }
        }
        return {};
    }
};

TEST_F(TSettingsCommandTest, ListsEveryOptionAndLeavesEveryDefaultInTheStore) {
    const TRunResult first = RunTool({"settings"});
    EXPECT_EQ(first.Code, 0);
    EXPECT_EQ(first.Err, "");
    EXPECT_EQ(static_cast<std::size_t>(std::count(first.Out.begin(), first.Out.end(), '\n')),
              std::size(OptionDefaults));
    EXPECT_NE(first.Out.find("main\tAutoSave\tboolean\tfalse\n"), std::string::npos);
    EXPECT_NE(first.Out.find("main\tGrayItemTime\tinteger\t1440\n"), std::string::npos);
    EXPECT_NE(first.Out.find("Window\tMemoFont\tstring\t00,09,Test Font\n"), std::string::npos);
    EXPECT_TRUE(first.Out.starts_with("main\tAccessRestriction\t"));
    EXPECT_NE(ReadBytes(Store()).find("\"TrayIcon\"=dword:00000001\n"), std::string::npos);
    // From the store a boolean comes back as the integer the registry holds.
    EXPECT_EQ(Line("main", "AutoSave"), "main\tAutoSave\tinteger\t0");
}

TEST_F(TSettingsCommandTest, SetWritesWithTheKeysKind) {
    EXPECT_EQ(RunTool({"settings", "set", "main", "AutoSave", "true"}).Code, 0);
    EXPECT_EQ(Line("main", "AutoSave"), "main\tAutoSave\tinteger\t1");
    EXPECT_EQ(RunTool({"settings", "set", "main", "autosave", "0"}).Code, 0); // now an integer key
    EXPECT_EQ(Line("main", "AutoSave"), "main\tAutoSave\tinteger\t0");
    EXPECT_EQ(RunTool({"settings", "set", "exporthtml", "BGColor", "-1"}).Code, 0); // no option
    EXPECT_EQ(Line("ExportHtml", "BGColor"), "ExportHtml\tBGColor\tinteger\t-1");
    EXPECT_EQ(RunTool({"settings", "set", "Find", "FindText", "C:\\temp"}).Code, 0);
    EXPECT_EQ(Line("Find", "FindText"), "Find\tFindText\tstring\tC:\\\\temp");
    EXPECT_EQ(RunTool({"settings", "set", "Find", "FindText", "a\\tb\\\\c\\r\\n", "--escaped"}).Code, 0);
    EXPECT_EQ(Line("Find", "FindText"), "Find\tFindText\tstring\ta\\tb\\\\c\\r\\n");
    EXPECT_NE(ReadBytes(Store()).find("\"FindText\"=\"a\tb\\\\c\\r\\n\"\n"), std::string::npos);
}

TEST_F(TSettingsCommandTest, BooleanKeysTakeBooleansAlsoWhenTheStoreHoldsThemAsIntegers) {
    WriteBytes(Store(),
               "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\K.Amsel\\Hollyvine]\n"
               "\"SortDescending\"=dword:00000001\n\n"
               "[HKEY_CURRENT_USER\\Software\\K.Amsel\\Hollyvine\\Window]\n\"MemoFont\"=\"00,09,Test Font\"\n");
    ASSERT_EQ(Line("main", "SortDescending"), "main\tSortDescending\tinteger\t1");
    const std::pair<const char*, const char*> cases[] = {{"false", "0"}, {"true", "1"}, {"0", "0"}, {"1", "1"}};
    for (const auto& [text, stored] : cases) {
        const TRunResult r = RunTool({"settings", "set", "main", "SortDescending", text});
        EXPECT_EQ(r.Code, 0) << text << ": " << r.Err;
        EXPECT_EQ(Line("main", "SortDescending"), std::string("main\tSortDescending\tinteger\t") + stored) << text;
    }
    const TRunResult bad = RunTool({"settings", "set", "main", "SortDescending", "2"});
    EXPECT_EQ(bad.Code, 2);
    EXPECT_NE(bad.Err.find("真偽値は true、false、1、0 のいずれかで指定してください: 2"), std::string::npos) << bad.Err;
}

TEST_F(TSettingsCommandTest, BinaryValuesPrintAsHexAndAreSetSo) {
    WriteBytes(Store(), "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\K.Amsel\\Hollyvine\\Window]\n"
                        "\"MemoFont\"=\"x\"\n\"Extra\"=hex:00,7f,FF\n");
    EXPECT_EQ(Line("Window", "Extra"), "Window\tExtra\tbinary\t00 7f ff");
    EXPECT_EQ(RunTool({"settings", "set", "Window", "Extra", "0a0B,0c"}).Code, 0);
    EXPECT_EQ(Line("Window", "Extra"), "Window\tExtra\tbinary\t0a 0b 0c");
}

struct TBadSet {
    const char* Label;
    std::vector<std::string> Args;
    int Code;
    const char* Message;
};

class TSettingsBadSetTest : public TSettingsCommandTest, public ::testing::WithParamInterface<TBadSet> {};

TEST_P(TSettingsBadSetTest, ChangesNothing) {
    const std::string before = ReadBytes(Store());
    std::vector<std::string> args = {"settings"};
    args.insert(args.end(), GetParam().Args.begin(), GetParam().Args.end());
    const TRunResult r = RunTool(args);
    EXPECT_EQ(r.Code, GetParam().Code);
    EXPECT_NE(r.Err.find(GetParam().Message), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(Store()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TSettingsBadSetTest,
    ::testing::Values(TBadSet{"UnknownKey", {"set", "main", "NoSuchKey", "1"}, 1, "キー 'NoSuchKey' が見つかりません"},
                      TBadSet{"UnknownTable", {"set", "File", "x", "1"}, 2, "不明な表です: File"},
                      TBadSet{"BadBoolean", {"set", "main", "AutoSave", "yes"}, 2, "true、false、1、0"},
                      TBadSet{"BadInteger", {"set", "main", "TrayIcon", "1.5"}, 2, "整数"},
                      TBadSet{"IntegerTooLarge", {"set", "main", "TrayIcon", "2147483648"}, 2, "整数"},
                      TBadSet{"BadEscape", {"set", "Find", "FindText", "C:\\temp\\x", "--escaped"}, 2, "\\ の後には"},
                      TBadSet{"TooFewArguments", {"set", "main", "AutoSave"}, 2, "TABLE KEY VALUE"},
                      TBadSet{"ExtraArgument", {"set", "main", "AutoSave", "1", "2"}, 2, "引数が多すぎます"},
                      TBadSet{"NotSet", {"get"}, 2, "settings [set TABLE KEY VALUE"},
                      TBadSet{"EscapedWithoutSet", {"--escaped"}, 2, "--escaped"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(TSettingsCommandTest, ADamagedStoreIsMovedAsideAndTheDefaultsListed) {
    WriteBytes(Store(), "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"A\"=dword:zz\n");
    const TRunResult r = RunTool({"settings"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_NE(r.Err.find("registry.reg.bad"), std::string::npos) << r.Err;
    EXPECT_NE(r.Out.find("main\tTrayIcon\tinteger\t1\n"), std::string::npos);
    EXPECT_EQ(ReadBytes(Store() + ".bad"), "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"A\"=dword:zz\n");
}

} // namespace
} // namespace hv::cli::test

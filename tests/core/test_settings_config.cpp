#include "settings/ConfigFields.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace hv;

TEST(ConfigFieldsTest, GrayItemTimeShowsDaysHoursMinutes) {
    EXPECT_EQ(FormatGrayItemTime(1440), "001日 00時間 00分");
    EXPECT_EQ(FormatGrayItemTime(1500), "001日 01時間 00分");
    EXPECT_EQ(FormatGrayItemTime(0), "000日 00時間 00分");
    EXPECT_EQ(FormatGrayItemTime(59), "000日 00時間 59分");
    // Values the field cannot hold show as the nearest it can instead of losing digits.
    EXPECT_EQ(FormatGrayItemTime(-5), "000日 00時間 00分");
    EXPECT_EQ(FormatGrayItemTime(2000 * 1440), "999日 23時間 59分");
}

TEST(ConfigFieldsTest, GrayItemTimeFieldAddsUnitsUp) {
    EXPECT_EQ(ParseGrayItemTime("001日 00時間 00分"), 1440);
    EXPECT_EQ(ParseGrayItemTime("000日 30時間 90分"), 1890);
    EXPECT_EQ(ParseGrayItemTime("999日 99時間 99分"), ((999 * 24) + 99) * 60 + 99);
    // Unfilled positions count as 0.
    EXPECT_EQ(ParseGrayItemTime("1  日  1時間 5 分"), ((100 * 24) + 1) * 60 + 50);
    EXPECT_EQ(ParseGrayItemTime(""), 0);
    EXPECT_EQ(ParseGrayItemTime(FormatGrayItemTime(12345)), 12345);
}

TEST(ConfigFieldsTest, RestrictTimeFieldsSplitAndJoin) {
    const std::array<std::string, 4> fields = SplitRestrictTime("0800-2300");
    EXPECT_EQ(fields, (std::array<std::string, 4>{"08", "00", "23", "00"}));
    EXPECT_EQ(SplitRestrictTime("08"), (std::array<std::string, 4>{"08", "", "", ""}));
    EXPECT_EQ(JoinRestrictTime({"08", "00", "23", "00"}), "0800-2300");
    // Nothing is validated: 24 hours and 60 minutes go in; blanks become zeros.
    EXPECT_EQ(JoinRestrictTime({"24", "60", "9 ", ""}), "2460-9000");
}

TEST(ConfigFieldsTest, HintPauseTrackBar) {
    EXPECT_EQ(HintPausePosition(5000), 50);
    EXPECT_EQ(HintPauseLabel(50), "5.0 秒");
    EXPECT_EQ(HintPauseMilliseconds(35), 3500);
    EXPECT_EQ(HintPauseLabel(35), "3.5 秒");
    EXPECT_EQ(HintPausePosition(5099), 50);
    EXPECT_EQ(HintPausePosition(100), 20);
    EXPECT_EQ(HintPausePosition(60000), 200);
}

TEST(ConfigFieldsTest, MemoFontText) {
    const auto parts = ParseMemoFont("03,12,IPAGothic");
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->Style, 3);
    EXPECT_EQ(parts->Size, 12);
    EXPECT_EQ(parts->Face, "IPAGothic");
    EXPECT_EQ(ParseMemoFont("00,09,ＭＳ Ｐゴシック")->Face, "ＭＳ Ｐゴシック");
    EXPECT_FALSE(ParseMemoFont("00,09,").has_value());
    EXPECT_FALSE(ParseMemoFont("0,9,Sans").has_value());
    EXPECT_EQ(ParseMemoFont("xx,yy,Sans")->Size, 0);
    EXPECT_EQ(FormatMemoFont(1, 9, "Noto Sans CJK JP"), "01,09,Noto Sans CJK JP");
    EXPECT_EQ(FormatMemoFont(0, 144, "Sans"), "00,99,Sans");
}

// Records "name=value;" in the order the options are written.
class TRecordingSink final : public TConfigSink {
public:
    void Set(const TBoolOption& option, bool value) override { Add(option.Name, value ? "1" : "0"); }
    void Set(const TIntegerOption& option, std::int32_t value) override { Add(option.Name, std::to_string(value)); }
    void Set(const TStringOption& option, const std::string& value) override { Add(option.Name, value); }
    std::string Text;

private:
    void Add(std::string_view name, const std::string& value) { Text += std::string(name) + "=" + value + ";"; }
};

TEST(ConfigFieldsTest, OkWritesEveryOptionInTheDialogsOrder) {
    TConfigValues values;
    values.PhoneEntry = "Office VPN";
    values.RestrictTime = "0900-1800";
    values.DateSeparator = "";
    values.MemoFont = "00,09,Sans";
    TRecordingSink sink;
    WriteConfigValues(values, sink);
    EXPECT_EQ(sink.Text, "CheckRasConnect=0;PhoneEntry=Office VPN;AccessRestriction=0;RestrictTime=0900-1800;"
                         "SortFolder=1;ShowTreeBtn=1;ShowTreeHint=1;TreeHotTrack=1;TreeRClickSelect=1;"
                         "TreeNodeIndent=16;TreeDragScrollDelay=0;TreeDragExpandDelay=0;ListHotTrack=1;"
                         "SingleClickOpen=0;AutoResizeColumns=1;NewItemAtBottom=1;NeedToVisitColor=255;"
                         "GrayItemTime=1440;DateStrType=0;YearTwoDigit=1;DateSeparator=;DayOfWeek=1;Hour24=1;"
                         "TrayIcon=1;HideTaskBar=0;ImpBrowserNNFirst=0;ImpBrowserConfirm=1;HintHidePause=5000;"
                         "AutoSave=0;StartWithFile=0;FolderFullPath=0;MemoFont=00,09,Sans;");
}

TEST(ConfigFieldsTest, ValuesGoBackIntoTheSettingsTables) {
    TMemoryRegistryStore store;
    TSettings settings(store);
    TConfigValues values = ReadConfigValues(settings);
    EXPECT_EQ(values.DateSeparator, "/");
    values.DateSeparator.clear();
    values.GrayItemTime = 1890;
    values.ImpBrowserNNFirst = true;
    TSettingsConfigSink sink(settings);
    WriteConfigValues(values, sink);
    EXPECT_EQ(settings.Get(opt::Main::DateSeparator), "");
    EXPECT_EQ(settings.Get(opt::Main::GrayItemTime), 1890);
    EXPECT_TRUE(settings.Get(opt::Main::ImpBrowserNNFirst));
}

} // namespace

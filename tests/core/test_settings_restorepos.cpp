#include "settings/RestorePos.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace hv;

namespace {

struct TRestoreCase {
    const char* Label;
    const char* Text;
    const char* ValueName;
    TWindowPlacement Expected;
};

class RestorePosTest : public ::testing::TestWithParam<TRestoreCase> {};

TEST_P(RestorePosTest, TakesWhatTheOptionsAllow) {
    const TWindowPlacement designed{100, 100, 640, 480, false};
    const TWindowPlacement placement =
        ApplyRestorePos(GetParam().Text, RestorePosOptionsOf(GetParam().ValueName), designed);
    const auto fields = [](const TWindowPlacement& p) {
        return std::tuple(p.Left, p.Top, p.Width, p.Height, p.Maximized);
    };
    EXPECT_EQ(fields(placement), fields(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, RestorePosTest,
    ::testing::Values(TRestoreCase{"MainWindow", "10,20,800,600,1", "Rect", {10, 20, 800, 600, true}},
                      TRestoreCase{"MainWindowNormal", "10,20,800,600,0", "Rect", {10, 20, 800, 600, false}},
                      // Only a position: the size is 0 as the missing numbers are.
                      TRestoreCase{"MainWindowPositionOnly", "10,20", "Rect", {10, 20, 0, 0, false}},
                      TRestoreCase{"DialogKeepsItsSize", "10,20,800,600", "FindDlgPos", {10, 20, 640, 480, false}},
                      TRestoreCase{"RectDialogNeverMaximised", "1,2,3,4,1", "FindDupDlgRect", {1, 2, 3, 4, false}},
                      TRestoreCase{"NonNumbers", "x,-5,,7y,2", "Rect", {0, -5, 0, 0, true}},
                      TRestoreCase{"MoreThanFive", "1,2,3,4,5,6", "Rect", {1, 2, 3, 4, true}},
                      TRestoreCase{"Empty", "", "PropDlgPos", {0, 0, 640, 480, false}}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(RestorePosFormatTest, WritesAsManyNumbersAsTheOptionsKeep) {
    const TWindowPlacement placement{-8, 12, 1024, 768, true};
    EXPECT_EQ(FormatRestorePos(placement, RestorePosOptionsOf("Rect")), "-8,12,1024,768,1");
    EXPECT_EQ(FormatRestorePos(placement, RestorePosOptionsOf("ExpHtmlDlgRect")), "-8,12,1024,768");
    EXPECT_EQ(FormatRestorePos(placement, RestorePosOptionsOf("ConfigDlgPos")), "-8,12");
}

TEST(RestorePosFormatTest, RestoresOnlyAStoredString) {
    TMemoryRegistryStore store;
    WriteRestorePos(store, RestorePosKeyName, "Rect", {1, 2, 3, 4, false}, rpRestoreSize | rpRestoreState);
    store.WriteValue("Software\\K.Amsel\\Hollyvine\\Window", "PropDlgPos", TRegValue::DWord(5));
    EXPECT_EQ(ReadRestorePos(store, RestorePosKeyName, "Rect"), "1,2,3,4,0");
    EXPECT_EQ(ReadRestorePos(store, RestorePosKeyName, "PropDlgPos"), std::nullopt);
    EXPECT_EQ(ReadRestorePos(store, RestorePosKeyName, "FindDlgPos"), std::nullopt);
    EXPECT_EQ(ReadRestorePos(store, "", "Rect"), std::nullopt);
}

} // namespace

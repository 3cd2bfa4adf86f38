#include "launch/LaunchSettings.h"
#include "properties/DisplaySettings.h"
#include "settings/FontQuery.h"
#include "settings/OptionKeys.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <string>

using namespace hv;

namespace {

class TNoFonts final : public TFontQuery {
public:
    bool IsInstalled(std::string_view) const override { return false; }
    std::string DefaultUiFamily() const override { return "Sans"; }
};

const std::string kWindowKey = std::string(HollyvineKeyPath) + "\\Window";

TEST(OptionsFromSettings, FreshSettingsGiveTheDefaults) {
    TMemoryRegistryStore store;
    TNoFonts fonts;
    TSettings settings(store, &fonts);
    const TLaunchOptions launch = LaunchOptionsFromSettings(settings);
    EXPECT_EQ(launch.AccessRestriction, 0);
    EXPECT_EQ(launch.RestrictTime, "0800-2300");
    EXPECT_FALSE(launch.CheckRasConnect);
    EXPECT_EQ(launch.PhoneEntry, "");
    const TItemColorOptions colors = ItemColorOptionsFromSettings(settings);
    EXPECT_EQ(colors.NeedToVisitColor, 255u);
    EXPECT_EQ(colors.GrayItemTime, 1440);
    const TAccessTimeOptions dates = AccessTimeOptionsFromSettings(settings);
    EXPECT_EQ(dates.DateStrType, 0);
    EXPECT_TRUE(dates.YearTwoDigit);
    EXPECT_EQ(dates.DateSeparator, "/");
    EXPECT_EQ(dates.DayOfWeek, 1);
    EXPECT_TRUE(dates.Hour24);
}

TEST(OptionsFromSettings, StoredValuesWinInTheKindsTheDialogWrites) {
    TMemoryRegistryStore store;
    const std::string main(HollyvineKeyPath);
    store.WriteValue(main, "AccessRestriction", TRegValue::DWord(2));
    store.WriteValue(main, "RestrictTime", TRegValue::String("2200-0600"));
    store.WriteValue(main, "CheckRasConnect", TRegValue::DWord(1)); // the dialog writes 0/1
    store.WriteValue(main, "PhoneEntry", TRegValue::String("My ISP"));
    store.WriteValue(main, "Hour24", TRegValue::DWord(0));
    store.WriteValue(main, "DateSeparator", TRegValue::String(""));
    store.WriteValue(main, "GrayItemTime", TRegValue::DWord(0));
    store.WriteValue(kWindowKey, "NeedToVisitColor", TRegValue::DWord(0x00FF0000));
    TNoFonts fonts;
    TSettings settings(store, &fonts);
    const TLaunchOptions launch = LaunchOptionsFromSettings(settings);
    EXPECT_EQ(launch.AccessRestriction, 2);
    EXPECT_EQ(launch.RestrictTime, "2200-0600");
    EXPECT_TRUE(launch.CheckRasConnect);
    EXPECT_EQ(launch.PhoneEntry, "My ISP");
    EXPECT_FALSE(AccessTimeOptionsFromSettings(settings).Hour24);
    EXPECT_EQ(AccessTimeOptionsFromSettings(settings).DateSeparator, "");
    EXPECT_EQ(ItemColorOptionsFromSettings(settings).GrayItemTime, 0);
    EXPECT_EQ(ItemColorOptionsFromSettings(settings).NeedToVisitColor, 0x00FF0000u);
}

} // namespace

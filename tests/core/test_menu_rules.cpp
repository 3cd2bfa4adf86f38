#include "model/MenuRules.h"

#include <gtest/gtest.h>

#include <string>

using namespace hv;

TEST(AccelCaption, FortyEntriesRunThroughDigitsAndLettersWithoutO) {
    std::string keys;
    for (int k = 0; k < 40; ++k) {
        const std::string caption = AccelCaption("x", k);
        if (k < 35) {
            ASSERT_EQ(caption.size(), 5U) << k;
            ASSERT_EQ(caption.substr(0, 3), "x(&") << k;
            ASSERT_EQ(caption.back(), ')') << k;
            keys += caption[3];
        } else {
            EXPECT_EQ(caption, "x") << k;
        }
    }
    EXPECT_EQ(keys, "1234567890ABCDEFGHIJKLMNPQRSTUVWXYZ");
}

TEST(AccelCaption, AmpersandsShowLiterally) {
    EXPECT_EQ(AccelCaption("Q&A", 0), "Q&&A(&1)");
    EXPECT_EQ(AccelCaption("&&", 9), "&&&&(&0)");
    EXPECT_EQ(AccelCaption("R&D 部", 35), "R&&D 部");
    EXPECT_EQ(AccelCaption("", 10), "(&A)");
    EXPECT_EQ(AccelCaption("最後", 34), "最後(&Z)");
}

TEST(TrayHint, CutToSixtyThreeCharactersNotBytes) {
    EXPECT_EQ(TrayHint("Hollyvine - a.hv"), "Hollyvine - a.hv");
    EXPECT_EQ(TrayHint(std::string(64, 'a')), std::string(63, 'a'));
    EXPECT_EQ(TrayHint(std::string(63, 'a')), std::string(63, 'a'));
    std::string japanese;
    for (int i = 0; i < 70; ++i) {
        japanese += "あ";
    }
    const std::string hint = TrayHint(japanese);
    EXPECT_EQ(hint.size(), 63U * 3U);
    EXPECT_EQ(hint, japanese.substr(0, 63U * 3U));
    // A broken byte neither stops the cut nor is split.
    EXPECT_EQ(TrayHint("\xFF" + std::string(70, 'b')), "\xFF" + std::string(62, 'b'));
}

TEST(TrayRules, IconAtStartOnlyForAlways) {
    EXPECT_FALSE(TrayIconShownNormally(0));
    EXPECT_TRUE(TrayIconShownNormally(1));
    EXPECT_FALSE(TrayIconShownNormally(2));
}

TEST(TrayRules, MinimizeShowsIconAndHidesTaskBarEntryOnlyWithATray) {
    // TrayIcon 0: nothing happens, HideTaskBar or not.
    EXPECT_FALSE(TrayOnMinimize(0, true, false, true).IconVisible);
    EXPECT_FALSE(TrayOnMinimize(0, true, false, true).HideWindow);
    EXPECT_TRUE(TrayOnMinimize(2, false, false, true).IconVisible);
    EXPECT_FALSE(TrayOnMinimize(2, false, false, true).HideWindow);
    EXPECT_TRUE(TrayOnMinimize(2, true, false, true).HideWindow);
    EXPECT_TRUE(TrayOnMinimize(1, true, true, true).HideWindow);
    // Without a notification area nothing could bring a hidden window back.
    EXPECT_FALSE(TrayOnMinimize(1, true, true, false).HideWindow);
    EXPECT_FALSE(TrayOnMinimize(2, true, false, false).HideWindow);
}

TEST(TrayRules, RestoreRemovesTheIconOnlyForWhileMinimized) {
    EXPECT_FALSE(TrayIconAfterRestore(2, true));
    EXPECT_TRUE(TrayIconAfterRestore(1, true));
    EXPECT_FALSE(TrayIconAfterRestore(0, false));
}

TEST(TrayRules, MenuEntries) {
    const TTrayMenuState normal = TrayMenuState(true, false);
    EXPECT_TRUE(normal.List && normal.OpenFile && normal.RecentFiles && normal.Minimize && normal.Exit);
    EXPECT_FALSE(normal.Restore);
    const TTrayMenuState minimized = TrayMenuState(true, true);
    EXPECT_TRUE(minimized.Restore);
    EXPECT_FALSE(minimized.Minimize);
    // A message box is open: only minimising stays, and only while the window is not minimised.
    const TTrayMenuState blocked = TrayMenuState(false, false);
    EXPECT_FALSE(blocked.List || blocked.OpenFile || blocked.RecentFiles || blocked.Restore || blocked.Exit);
    EXPECT_TRUE(blocked.Minimize);
    const TTrayMenuState blockedMin = TrayMenuState(false, true);
    EXPECT_FALSE(blockedMin.Restore || blockedMin.Minimize);
}

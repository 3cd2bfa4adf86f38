#include "model/MenuRules.h"

#include <gtest/gtest.h>

#include <string>

using namespace hv;

TEST(AccelCaption, FortyEntriesRunThroughDigitsAndLettersWithoutO) {
    std::string keys;
    for (int k = 0; k < 35; ++k) {
        const std::string caption = AccelCaption("x", k);
        ASSERT_EQ(caption.substr(0, 3) + caption.substr(4), "x(&)") << k;
        keys += caption[3];
    }
    EXPECT_EQ(keys, "1234567890ABCDEFGHIJKLMNPQRSTUVWXYZ");
    for (int k = 35; k < 40; ++k) {
        EXPECT_EQ(AccelCaption("x", k), "x") << k;
    }
}

TEST(AccelCaption, AmpersandsShowLiterally) {
    EXPECT_EQ(AccelCaption("Q&A", 0), "Q&&A(&1)");
    EXPECT_EQ(AccelCaption("&&", 9), "&&&&(&0)");
    EXPECT_EQ(AccelCaption("R&D 部", 35), "R&&D 部");
}

TEST(TrayHint, CutToSixtyThreeCharactersNotBytes) {
    EXPECT_EQ(TrayHint(std::string(64, 'a')), std::string(63, 'a'));
    EXPECT_EQ(TrayHint(std::string(63, 'a')), std::string(63, 'a'));
    std::string japanese;
    for (int i = 0; i < 70; ++i) {
        japanese += "あ";
    }
    EXPECT_EQ(TrayHint(japanese), japanese.substr(0, 63U * 3U));
    // A broken byte counts as one character and stops nothing.
    EXPECT_EQ(TrayHint("\xFF" + std::string(70, 'b')), "\xFF" + std::string(62, 'b'));
}

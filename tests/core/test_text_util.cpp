#include "text/TextUtil.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace hv {
namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(AsciiCase, OnlyAsciiLettersAreLowered) {
    EXPECT_EQ(AsciiLower('Q'), 'q');
    EXPECT_EQ(AsciiLower('@'), '@');
    EXPECT_EQ(AsciiLower('['), '[');
    EXPECT_EQ(AsciiLowerCase("AbZ@[`{ ÄÖ ＡＢ"), "abz@[`{ ÄÖ ＡＢ");
}

TEST(AsciiCompareText, OrdersAsTheWindowsCompareText) {
    struct TCase {
        std::string a, b;
        int sign;
    };
    // "_" sorts after the letters (they fold up, not down), bytes above 0x7F compare unsigned and
    // are never folded (not even "ß" or full-width letters), and a proper prefix is smaller.
    const TCase cases[] = {
        {"abc", "ABC", 0},      {"", "", 0},
        {"a", "b", -1},         {"B", "a", 1},
        {"ab", "abc", -1},      {"abc", "AB", 1},
        {"", "a", -1},          {"a", "_", -1},
        {"Z", "[", -1},         {"\xE3", "a", 1},
        {"Ä", "ä", -1},         {"a\0b"s, "A\0c"s, -1},
        {"日本", "日本語", -1}, {"name~2", "NAME~10", 1},
        {"ß", "SS", 1},         {"ａ", "Ａ", 1},
        {"abc", "abc\0"s, -1},  {"(Untitled)~2", "(UNTITLED)~2", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sign(AsciiCompareText(c.a, c.b)), c.sign) << c.a << " / " << c.b;
        EXPECT_EQ(Sign(AsciiCompareText(c.b, c.a)), -c.sign) << c.b << " / " << c.a;
        EXPECT_EQ(AsciiSameText(c.a, c.b), c.sign == 0) << c.a << " / " << c.b;
    }
}

TEST(SanitizeLine, LineBreaksAndTabsBecomeBlanksOtherControlsGo) {
    EXPECT_EQ(SanitizeLine("a\r\nb\tc"), "a  b c");
    EXPECT_EQ(SanitizeLine("\x01x\0y\x1B[0m\x1F\x7F"s), "xy[0m\x7F");
    EXPECT_EQ(SanitizeLine("日本語 http://x/?a=1"), "日本語 http://x/?a=1");
    EXPECT_EQ(SanitizeLine(""), "");
}

TEST(StripControlChars, RemovesEverythingBelowBlank) {
    EXPECT_EQ(StripControlChars("a\r\nb\tc\0d\x1F \x7F"s), "abcd \x7F");
    EXPECT_EQ(StripControlChars("名前"), "名前");
}

TEST(Utf8Length, CountsCodePointsAndTruncateNeverCutsACharacter) {
    EXPECT_EQ(Utf8Length(""), 0u);
    EXPECT_EQ(Utf8Length("aé😀ｱ"), 4u);
    EXPECT_EQ(Utf8Length("\0\0"s), 2u);
    EXPECT_EQ(Utf8Truncate("日本語", 2), "日本");
    EXPECT_EQ(Utf8Truncate("a😀b", 2), "a😀");
    EXPECT_EQ(Utf8Truncate("a😀b", 1), "a");
    EXPECT_EQ(Utf8Truncate("日本語", 0), "");
    EXPECT_EQ(Utf8Truncate("日本語", 3), "日本語");
    EXPECT_EQ(Utf8Truncate("日本語", 100), "日本語");
    EXPECT_EQ(Utf8Truncate("", 5), "");
}

} // namespace
} // namespace hv

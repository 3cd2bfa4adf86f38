#include "text/Encoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace std::string_literals;

namespace hv {
namespace {

// The character that stands for the invalid byte b (U+F700 + b) in UTF-8.
std::string Esc(unsigned b) {
    const unsigned cp = 0xF700 + b;
    return {'\xEF', static_cast<char>(0x80 | ((cp >> 6) & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
}

std::string RandomBytes(std::mt19937& rng, std::size_t size) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string s(size, '\0');
    for (char& c : s) {
        c = static_cast<char>(byte(rng));
    }
    return s;
}

// ---- CP932 ----------------------------------------------------------------------------------------

TEST(Cp932Decode, CharactersAndEscapes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\dir~1\\a.hv\r\n", "C:\\dir~1\\a.hv\r\n"}, // backslash and tilde stay ASCII
        {"a\0b"s, "a\0b"s},
        {"", ""},
        {"\x93\xFA\x96\x7B\x8C\xEA", "日本語"},
        {"\xB1\xDF", "ｱﾟ"},     // half-width katakana, one byte each
        {"\x81\x8F", "￥"},     // full-width yen
        {"\x81\x40", "\u3000"}, // ideographic space
        {"\x87\x40", "①"},      // NEC row 13
        {"\x87\x54", "Ⅰ"},
        {"\xFA\x40", "ⅰ"},  // IBM extension
        {"\xFA\x5C", "纊"}, // IBM extension whose trail byte is "\"
        {"\x81\xE0", "≒"},
        {"\xF0\x40", "\uE000"}, // user-defined area, first and last code
        {"\xF9\xFC", "\uE757"},
        {"a\x82\xA0z", "aあz"},
        // Undefined single bytes are escaped.
        {"\x80\xA0\xFD\xFE\xFF", Esc(0x80) + Esc(0xA0) + Esc(0xFD) + Esc(0xFE) + Esc(0xFF)},
        // A lead without a trail is escaped and decoding goes on with the next byte.
        {"ab\x93", "ab" + Esc(0x93)},     // lead at the end
        {"\x93 x", Esc(0x93) + " x"},     // trail out of range
        {"\x93\x7F", Esc(0x93) + "\x7F"}, // 0x7F is no trail
        {"\xEB\x93", Esc(0xEB) + Esc(0x93)},
        {"\x93\xFD\x93\xFA", Esc(0x93) + Esc(0xFD) + "日"},
        // An unmapped pair keeps both bytes, so the next character is read right.
        {"\x85\x40", Esc(0x85) + "@"},
        {"\x85\x93\xFA\x96\x7B", Esc(0x85) + Esc(0x93) + "\xE5\x9D\x99{"}, // not "日本"
        {"\x81\xB1\xB1", Esc(0x81) + Esc(0xB1) + "ｱ"},
        {"\xEB\x93\x93\xFA", Esc(0xEB) + Esc(0x93) + "日"},
        // Twin codes are read as their characters.
        {"\xED\x40\xEE\xE0", "纊髙"}, // NEC-selected IBM extensions
        {"\x87\x90"
         "A",
         "≒A"}, // NEC row 13; the "A" stays itself
        {"\x87\x9A\xEE\xF9\xFA\x4A\xFA\x54", "∵￢Ⅰ￢"},
        {"\xEE\xEF\xFA\x5B", "ⅰ∵"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(DecodeCp932(bytes), text) << testing::PrintToString(bytes);
    }
}

TEST(Cp932Encode, WritesTheCodeWindowsWrites) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"日本語", "\x93\xFA\x96\x7B\x8C\xEA"},
        {"ｱ\\~￥", "\xB1\\~\x81\x8F"},
        {"①ⅰ纊≒\uE000", "\x87\x40\xFA\x40\xFA\x5C\x81\xE0\xF0\x40"},
        {"", ""},
        // Twin characters get their preferred code.
        {"∵", "\x81\xE6"},
        {"￢", "\x81\xCA"},
        {"髙", "\xFB\xFC"},
        {"Ⅰ", "\x87\x54"},
        {"㈱", "\x87\x8A"},
        {"№", "\x87\x82"},
        // A document holding twin codes is written back with the preferred ones.
        {DecodeCp932("\xED\x40\xEE\xE0\x87\x90"
                     "A"),
         "\xFA\x5C\xFB\xFC\x81\xE0"
         "A"},
        // Escapes become raw bytes again.
        {Esc(0x80) + "a" + Esc(0xFF) + Esc(0xA0), "\x80"s + "a\xFF\xA0"},
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(EncodeCp932(text), bytes) << text;
        EXPECT_TRUE(HasCp932Form(text)) << text;
    }
}

TEST(Cp932Encode, RefusesCharactersWithoutAnExactFormAndMalformedUtf8) {
    for (const char* text : {"¥", "€", "😀", "〜", "‖", "¬", "\uE758", "\uF741", "a\u00E9", "\x80", "a\xE6\x97",
                             "\xC0\xAF", "\xED\xA0\x80", "\xFF"}) {
        EXPECT_EQ(EncodeCp932(text), std::nullopt) << testing::PrintToString(text);
        EXPECT_FALSE(HasCp932Form(text)) << testing::PrintToString(text);
    }
}

// ---- CP932 round trips ---------------------------------------------------------------------------

TEST(Cp932RoundTrip, EveryByteAndPairAndTripleComeBackAsTheSameText) {
    // Twin codes come back as the other code of their character, so the text is compared; every
    // other sequence comes back byte for byte.
    std::size_t twins = 0;
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned b = 0; b < 256; ++b) {
            const std::string bytes = {static_cast<char>(a), static_cast<char>(b), '\x81'};
            const std::string text = DecodeCp932(bytes);
            const auto written = EncodeCp932(text);
            ASSERT_TRUE(written.has_value()) << a << " " << b;
            ASSERT_EQ(DecodeCp932(*written), text) << a << " " << b;
            if (*written != bytes) {
                const auto isTwinLead = [](unsigned x) { return x == 0x87 || x == 0xED || x == 0xEE || x >= 0xFA; };
                ASSERT_TRUE(isTwinLead(a) || isTwinLead(b)) << a << " " << b;
                ++twins;
            }
        }
    }
    EXPECT_GT(twins, 300u); // the NEC-selected IBM extensions alone are 374 codes
}

TEST(Cp932RoundTrip, AsciiRunsOfEveryLengthEndWhereTheyShould) {
    // ASCII is copied in blocks of eight; a run may end at any byte of a block.
    for (std::size_t k = 0; k < 40; ++k) {
        const std::string ascii(k, 'x');
        const std::string text = ascii + "日" + ascii + "ｱ" + ascii + Esc(0x80) + ascii;
        const std::string bytes = ascii + "\x93\xFA" + ascii + "\xB1" + ascii + "\x80" + ascii;
        EXPECT_EQ(DecodeCp932(bytes), text) << k;
        EXPECT_EQ(EncodeCp932(text), bytes) << k;
        EXPECT_EQ(DecodeUtf8(EncodeUtf8(text)), text) << k;
    }
}

// ---- UTF-8 ---------------------------------------------------------------------------------------

TEST(Utf8Decode, WellFormedTextIsUnchanged) {
    for (const std::string& text :
         {""s, "plain"s, "日本語 ½ é"s, "😀\U0010FFFF"s, "\uFEFFbom"s, "\uF77F\uF800\uFF01"s, "a\0b"s}) {
        EXPECT_EQ(DecodeUtf8(text), text);
    }
}

TEST(Utf8Decode, MalformedBytesAreEscapedOneByOne) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\x80", Esc(0x80)}, // stray continuation
        {"a\xBF\x80z", "a" + Esc(0xBF) + Esc(0x80) + "z"},
        {"\xC0\xAF", Esc(0xC0) + Esc(0xAF)}, // overlong "/"
        {"\xC1\xBF", Esc(0xC1) + Esc(0xBF)},
        {"\xE0\x80\xAF", Esc(0xE0) + Esc(0x80) + Esc(0xAF)},
        {"\xF0\x80\x80\xAF", Esc(0xF0) + Esc(0x80) + Esc(0x80) + Esc(0xAF)},
        {"\xED\xA0\x80", Esc(0xED) + Esc(0xA0) + Esc(0x80)},                 // surrogate D800
        {"\xF4\x90\x80\x80", Esc(0xF4) + Esc(0x90) + Esc(0x80) + Esc(0x80)}, // above U+10FFFF
        {"\xF5\x80\x80\x80", Esc(0xF5) + Esc(0x80) + Esc(0x80) + Esc(0x80)},
        {"\xE6\x97", Esc(0xE6) + Esc(0x97)},                         // truncated at the end
        {"\xE6\x97\x41\xE6\x97\xA5", Esc(0xE6) + Esc(0x97) + "A日"}, // truncated in the middle
        {"\xF0\x9F\x98", Esc(0xF0) + Esc(0x9F) + Esc(0x98)},
        {"\xFE\xFF", Esc(0xFE) + Esc(0xFF)},
        {"\xEF\x9E\x80", Esc(0xEF) + Esc(0x9E) + Esc(0x80)}, // a real U+F780
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(DecodeUtf8(bytes), text) << testing::PrintToString(bytes);
    }
}

TEST(Utf8Encode, EscapesBecomeBytesAndTheRestIsCopied) {
    EXPECT_EQ(EncodeUtf8("a" + Esc(0x80) + "日" + Esc(0xBF) + Esc(0xC0) + Esc(0xFF)), "a\x80日\xBF\xC0\xFF");
    EXPECT_EQ(EncodeUtf8("！\uF77F\uF800"), "！\uF77F\uF800");
    EXPECT_EQ(EncodeUtf8("x\xEF\x9E"), "x\xEF\x9E");
}

TEST(Utf8RoundTrip, RandomBytesComeBackExactly) {
    std::mt19937 rng(8);
    for (int round = 0; round < 200; ++round) {
        std::string bytes = RandomBytes(rng, 1 + rng() % 4000);
        if (round % 2 == 0) {
            bytes += "\xEF\x9E\x80日本\xEF\x9F\xBF"; // real escape look-alikes must survive too
        }
        ASSERT_EQ(EncodeUtf8(DecodeUtf8(bytes)), bytes) << "round " << round;
    }
}

} // namespace
} // namespace hv

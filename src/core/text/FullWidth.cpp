#include "text/FullWidth.h"

#include "text/Utf8.h"

#include <array>
#include <cstdint>

namespace hv {

namespace {

// U+FF61..U+FF9F in order.
constexpr std::array<char16_t, 63> kKatakana = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

constexpr char32_t kVoicedMark = 0xFF9E;
constexpr char32_t kSemiVoicedMark = 0xFF9F;

bool IsHaRow(char32_t c) {
    return c == 0x30CF || c == 0x30D2 || c == 0x30D5 || c == 0x30D8 || c == 0x30DB;
}

// The voiced form of a full-width katakana, or 0.
char32_t Voiced(char32_t c) {
    if (c == 0x30A6) {
        return 0x30F4; // ヴ
    }
    if ((c >= 0x30AB && c <= 0x30C1 && (c - 0x30AB) % 2 == 0) || c == 0x30C4 || c == 0x30C6 || c == 0x30C8 ||
        IsHaRow(c)) {
        return c + 1;
    }
    return 0;
}

// The half-width katakana at s[pos] (three bytes EF BD A1..EF BE 9F), or 0.
char32_t HalfWidthAt(std::string_view s, std::size_t pos) {
    if (pos + 2 >= s.size() || static_cast<unsigned char>(s[pos]) != 0xEF) {
        return 0;
    }
    char32_t cp = 0;
    return Utf8SequenceAt(s, pos, cp) == 3 && cp >= 0xFF61 && cp <= 0xFF9F ? cp : 0;
}

} // namespace

char32_t FullWidthAscii(char32_t c) {
    return c >= 0x21 && c <= 0x7E ? c - 0x21 + 0xFF01 : c;
}

std::string FullWidthAsciiUtf8(char c) {
    std::string out;
    AppendUtf8(out, FullWidthAscii(static_cast<unsigned char>(c)));
    return out;
}

std::string WidenHalfWidthKatakana(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t half = HalfWidthAt(utf8, pos);
        if (half == 0) {
            out += utf8[pos++];
            continue;
        }
        char32_t full = kKatakana[half - 0xFF61];
        pos += 3;
        const char32_t mark = HalfWidthAt(utf8, pos);
        if (mark == kVoicedMark && Voiced(full) != 0) {
            full = Voiced(full);
            pos += 3;
        } else if (mark == kSemiVoicedMark && IsHaRow(full)) {
            full += 2;
            pos += 3;
        }
        AppendUtf8(out, full);
    }
    return out;
}

} // namespace hv

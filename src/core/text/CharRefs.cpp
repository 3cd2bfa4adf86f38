#include "text/CharRefs.h"

#include "text/CharRefTable.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace hv {

namespace {

// Longest name in the table, ";" included.
constexpr std::size_t kMaxNameLength = 32;
// Longest legacy name (without ";").
constexpr std::size_t kMaxLegacyLength = 6;

// What windows-1252 puts at 0x80..0x9F; 0 where it has nothing (the number is kept then).
constexpr std::array<char32_t, 32> kWindows1252High = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
    if (c <= '9') {
        return c - '0';
    }
    return (c | 0x20) - 'a' + 10;
}

const TCharRefEntry* FindName(std::string_view name) {
    const auto table = CharRefTable();
    auto it = std::lower_bound(table.begin(), table.end(), name,
                               [](const TCharRefEntry& e, std::string_view n) { return e.Name < n; });
    return it != table.end() && it->Name == name ? &*it : nullptr;
}

// A numeric reference at s[i] == '&', s[i + 1] == '#'. Appends its character and returns the index
// after it, or returns i when no digits follow (the text stays as written).
std::size_t DecodeNumeric(std::string_view s, std::size_t i, std::string& out) {
    std::size_t p = i + 2;
    const bool hex = p < s.size() && (s[p] == 'x' || s[p] == 'X');
    if (hex) {
        ++p;
    }
    const std::size_t digitsStart = p;
    std::uint32_t value = 0;
    bool tooLarge = false;
    while (p < s.size() && (hex ? IsHexDigit(s[p]) : (s[p] >= '0' && s[p] <= '9'))) {
        const std::uint32_t digit = static_cast<std::uint32_t>(hex ? HexValue(s[p]) : s[p] - '0');
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF) {
            tooLarge = true;
            value = 0x110000; // stays above the range however many digits follow
        }
        ++p;
    }
    if (p == digitsStart) {
        return i;
    }
    if (p < s.size() && s[p] == ';') {
        ++p;
    }
    char32_t cp = value;
    if (tooLarge || cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = kReplacementChar;
    } else if (cp >= 0x80 && cp <= 0x9F && kWindows1252High[cp - 0x80] != 0) {
        cp = kWindows1252High[cp - 0x80];
    }
    AppendUtf8(out, cp);
    return p;
}

// A named reference at s[i] == '&'. Appends its characters and returns the index after it, or
// returns i when none applies.
std::size_t DecodeNamed(std::string_view s, std::size_t i, TCharRefContext context, std::string& out) {
    const std::size_t start = i + 1;
    std::size_t end = start;
    while (end < s.size() && end - start < kMaxNameLength && IsAsciiAlnum(s[end])) {
        ++end;
    }
    if (end == start) {
        return i;
    }
    if (end < s.size() && s[end] == ';') {
        char buffer[kMaxNameLength + 1];
        const std::size_t length = end - start;
        std::copy(s.begin() + static_cast<std::ptrdiff_t>(start), s.begin() + static_cast<std::ptrdiff_t>(end), buffer);
        buffer[length] = ';';
        if (const TCharRefEntry* entry = FindName(std::string_view(buffer, length + 1))) {
            out.append(entry->Value);
            return end + 1;
        }
    }
    // The legacy names that browsers take without ";", longest first ("&notin" -> "¬in").
    for (std::size_t length = std::min(end - start, kMaxLegacyLength); length >= 2; --length) {
        const TCharRefEntry* entry = FindName(s.substr(start, length));
        if (entry == nullptr) {
            continue;
        }
        const std::size_t after = start + length;
        if (context == TCharRefContext::Attribute && after < s.size() && (IsAsciiAlnum(s[after]) || s[after] == '=')) {
            return i;
        }
        out.append(entry->Value);
        return after;
    }
    return i;
}

} // namespace

std::string NumericCharRef(char32_t cp) {
    return "&#" + std::to_string(static_cast<std::uint32_t>(cp)) + ";";
}

std::string DecodeCharRefs(std::string_view s, TCharRefContext context) {
    std::size_t amp = s.find('&');
    if (amp == std::string_view::npos) {
        return std::string(s);
    }
    std::string out;
    out.reserve(s.size());
    std::size_t runStart = 0;
    while (amp != std::string_view::npos) {
        out.append(s.substr(runStart, amp - runStart));
        std::size_t next =
            amp + 1 < s.size() && s[amp + 1] == '#' ? DecodeNumeric(s, amp, out) : DecodeNamed(s, amp, context, out);
        if (next == amp) {
            out.push_back('&');
            next = amp + 1;
        }
        runStart = next;
        amp = s.find('&', next);
    }
    out.append(s.substr(runStart));
    return out;
}

} // namespace hv

#include "settings/NameCase.h"

#include "text/TextUtil.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace hv {

namespace {

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string LowerName(std::string_view name) {
    if (IsAscii(name)) {
        return AsciiLowerCase(name);
    }
    icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
    text.toLower(icu::Locale::getRoot());
    std::string lower;
    text.toUTF8String(lower);
    return lower;
}

bool SameName(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
    }
    return LowerName(a) == LowerName(b);
}

} // namespace hv

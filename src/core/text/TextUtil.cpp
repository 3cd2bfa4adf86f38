#include "text/TextUtil.h"

#include "text/Utf8.h"

#include <algorithm>
#include <iterator>

namespace hv {

namespace {

unsigned char AsciiUpperByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 'a' && b <= 'z' ? static_cast<unsigned char>(b - ('a' - 'A')) : b;
}

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 32;
}

} // namespace

std::string AsciiLowerCase(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), AsciiLower);
    return out;
}

int AsciiCompareText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int diff = int(AsciiUpperByte(a[i])) - int(AsciiUpperByte(b[i]));
        if (diff != 0) {
            return diff;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool AsciiSameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && AsciiCompareText(a, b) == 0;
}

std::string SanitizeLine(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (const char c : s) {
        if (c == '\r' || c == '\n' || c == '\t') {
            out.push_back(' ');
        } else if (!IsControl(c)) {
            out.push_back(c);
        }
    }
    return out;
}

std::string StripControlChars(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::copy_if(s.begin(), s.end(), std::back_inserter(out), [](char c) { return !IsControl(c); });
    return out;
}

std::size_t Utf8Length(std::string_view s) {
    return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return !IsUtf8Continuation(c); }));
}

std::string Utf8Truncate(std::string_view s, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!IsUtf8Continuation(s[i]) && chars++ == maxChars) {
            return std::string(s.substr(0, i));
        }
    }
    return std::string(s);
}

std::string_view TrimBlanksAndTabs(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace hv

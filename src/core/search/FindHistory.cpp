#include "search/FindHistory.h"

#include <algorithm>

namespace hv {

namespace {

// The bytes that end an unquoted item, and that make an item need quotes.
bool IsBlankOrControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= ' ';
}

bool NeedsQuotes(std::string_view item) {
    return item.empty() || std::any_of(item.begin(), item.end(), [](char c) {
               return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == ',';
           });
}

} // namespace

std::string StringsToCommaText(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        const std::string& item = items[i];
        // An empty item is quoted wherever it stands: written bare at the end of the list, the
        // reader would see a trailing comma and lose it.
        if (!NeedsQuotes(item)) {
            text += item;
            continue;
        }
        text += '"';
        for (const char c : item) {
            if (c == '"') {
                text += '"';
            }
            text += c;
        }
        text += '"';
    }
    return text;
}

std::vector<std::string> CommaTextToStrings(std::string_view text) {
    std::vector<std::string> items;
    std::size_t p = 0;
    const std::size_t n = text.size();
    auto skipBlanks = [&] {
        while (p < n && IsBlankOrControl(text[p])) {
            ++p;
        }
    };
    skipBlanks();
    while (p < n && text[p] != '\0') {
        std::string item;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            const std::size_t start = p;
            while (p<n&& static_cast<unsigned char>(text[p])> ' ' && text[p] != ',') {
                ++p;
            }
            item.assign(text.substr(start, p - start));
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (p < n && text[p] == ',') {
            ++p;
            skipBlanks();
        }
    }
    return items;
}

void TFindHistory::LoadCommaText(std::string_view text) {
    m_Items = CommaTextToStrings(text);
    if (m_Items.size() > kMaxCount) {
        m_Items.resize(kMaxCount);
    }
}

void TFindHistory::Add(const std::string& text) {
    std::erase(m_Items, text);
    m_Items.insert(m_Items.begin(), text);
    if (m_Items.size() > kMaxCount) {
        m_Items.resize(kMaxCount);
    }
}

} // namespace hv

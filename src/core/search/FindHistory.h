#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

// The comma text of a string list, as the settings keep lists in one string value: items joined
// by ",", an item quoted with '"' (a quote inside doubled) when it is empty or holds a blank, a
// character below code 32, a comma or a quote.
std::string StringsToCommaText(const std::vector<std::string>& items);
// Reads a comma text: blanks and control characters around items are skipped; an unquoted item
// runs to the next blank, control character or comma; a quoted item ends at its closing quote
// ("" inside is one quote; a missing closing quote takes the rest of the text). Two commas in a
// row enclose an empty item; a comma at the very end adds none.
std::vector<std::string> CommaTextToStrings(std::string_view text);

// The search texts used before, newest first, at most kMaxCount; kept in the settings as the
// comma text of `FindText`.
class TFindHistory {
public:
    static constexpr std::size_t kMaxCount = 32;

    // Replaces the history with the texts of a `FindText` value (only the first kMaxCount).
    void LoadCommaText(std::string_view text);
    // The `FindText` value of the history.
    std::string CommaText() const { return StringsToCommaText(m_Items); }

    // Puts text at the top: earlier entries equal to it (compared exactly) go, and the history
    // keeps its newest kMaxCount entries.
    void Add(const std::string& text);

    const std::vector<std::string>& Items() const { return m_Items; }
    std::size_t Count() const { return m_Items.size(); }

private:
    std::vector<std::string> m_Items;
};

} // namespace hv

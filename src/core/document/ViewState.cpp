#include "document/ViewState.h"

#include "model/HVFolder.h"
#include "settings/RegHash.h"
#include "text/TextUtil.h"

#include <charconv>
#include <optional>

namespace hv {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSelectedKey = "Selected";
constexpr std::string_view kCollapsedKey = "Collapsed";

// A decimal integer with optional leading blanks and sign, nothing after it.
std::optional<int> ParseNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The value of the first "key=value" line with that key (letter case ignored).
std::optional<std::string_view> ValueOf(std::string_view text, std::string_view key) {
    while (!text.empty()) {
        const std::size_t brk = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, brk);
        text = brk == std::string_view::npos ? std::string_view() : text.substr(brk + 1);
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos && AsciiSameText(line.substr(0, eq), key)) {
            return line.substr(eq + 1);
        }
    }
    return std::nullopt;
}

} // namespace

// The walks go through ForEachFolder: stepping with NextInTree looks each folder up among its
// siblings, which grows with the square of a wide folder's size.

int FolderPosition(const THVFolder& root, const THVFolder* folder) {
    int position = 0;
    int found = -1;
    ForEachFolder(root, [&](const THVFolder& f, int) {
        if (&f == folder) {
            found = position;
        }
        ++position;
    });
    return found;
}

THVFolder* FolderAtPosition(THVFolder& root, int position) {
    int counter = 0;
    THVFolder* found = nullptr;
    ForEachFolder(root, [&](THVFolder& f, int) {
        if (counter++ == position) {
            found = &f;
        }
    });
    return found;
}

TViewState CaptureViewState(const THVFolder& root, const THVFolder* selected) {
    TViewState state;
    int position = 0;
    ForEachFolder(root, [&](const THVFolder& f, int) {
        if (&f == selected) {
            state.Selected = position;
        }
        if (f.ChildCount() > 0 && !f.Expanded()) {
            state.Collapsed.push_back(position);
        }
        ++position;
    });
    return state;
}

std::string FormatViewState(const TViewState& state, TDateTime today) {
    const TDateTimeParts day = DecodeDateTime(today);
    std::string text = std::to_string(day.Year) + "/" + std::to_string(day.Month) + "/" + std::to_string(day.Day) +
                       std::string(kLineEnd);
    if (state.Selected != 0) {
        text += std::string(kSelectedKey) + "=" + std::to_string(state.Selected) + std::string(kLineEnd);
    }
    text += std::string(kCollapsedKey) + "=";
    for (std::size_t i = 0; i < state.Collapsed.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        text += std::to_string(state.Collapsed[i]);
    }
    text += kLineEnd;
    return text;
}

TViewState ParseViewState(std::string_view text) {
    TViewState state;
    if (const auto selected = ValueOf(text, kSelectedKey)) {
        state.Selected = ParseNumber(*selected).value_or(0);
    }
    if (const auto collapsed = ValueOf(text, kCollapsedKey); collapsed && !collapsed->empty()) {
        std::string_view rest = *collapsed;
        while (true) {
            const std::size_t comma = rest.find(',');
            state.Collapsed.push_back(ParseNumber(rest.substr(0, comma)).value_or(-1));
            if (comma == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(comma + 1);
        }
    }
    return state;
}

THVFolder& ApplyViewState(THVFolder& root, const TViewState& state) {
    THVFolder* selected = &root;
    std::size_t next = 0; // the Collapsed entry waited for
    int position = 0;
    ForEachFolder(root, [&](THVFolder& f, int) {
        if (position == state.Selected) {
            selected = &f;
        }
        if (next < state.Collapsed.size() && state.Collapsed[next] == position) {
            f.SetExpanded(false);
            ++next;
        }
        ++position;
    });
    return *selected;
}

TViewState ReadViewState(TRegHash& file, const std::string& path) {
    file.Open();
    std::string text;
    try {
        text = file.GetKey(path).AsString();
    } catch (...) {
        file.Close();
        throw;
    }
    file.Close();
    return ParseViewState(text);
}

void WriteViewState(TRegHash& file, const std::string& path, const TViewState& state, TDateTime now) {
    const std::string text = FormatViewState(state, now);
    file.Open();
    try {
        file.GetKey(path).SetAsString(text);
    } catch (...) {
        file.Close();
        throw;
    }
    file.Close();
}

} // namespace hv

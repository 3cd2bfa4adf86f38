#include "settings/ConfigFields.h"

#include "settings/Settings.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace hv {

namespace {

constexpr std::int32_t kMinutesPerDay = 24 * 60;
constexpr std::int32_t kMaxGrayItemField = 999 * kMinutesPerDay + 23 * 60 + 59;
constexpr int kMaxFontSize = 99;

// The text split into its UTF-8 characters (a stray byte is a character of its own).
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> characters;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (lead >= 0xF0) {
            length = 4;
        } else if (lead >= 0xE0) {
            length = 3;
        } else if (lead >= 0xC0) {
            length = 2;
        }
        length = std::min(length, text.size() - i);
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

// Characters first..first+count-1 (0-based) joined; those past the end are left out.
std::string CharacterRange(const std::vector<std::string_view>& characters, std::size_t first, std::size_t count) {
    std::string result;
    for (std::size_t i = first; i < first + count && i < characters.size(); ++i) {
        result += characters[i];
    }
    return result;
}

std::int32_t DigitsValue(std::string_view digits) {
    std::int32_t value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

// The leading decimal number of text, or 0.
int NumberOf(std::string_view text) {
    int value = 0;
    bool any = false;
    for (const char c : text) {
        if (c == ' ' && !any) {
            continue;
        }
        if (c < '0' || c > '9') {
            break;
        }
        any = true;
        value = std::min(value * 10 + (c - '0'), 1'000'000);
    }
    return value;
}

} // namespace

std::string MaskedDigits(std::string_view text, std::size_t width) {
    std::string digits;
    for (const std::string_view character : Characters(text)) {
        if (digits.size() == width) {
            break;
        }
        const char c = character.size() == 1 ? character[0] : ' ';
        digits += c >= '0' && c <= '9' ? c : '0';
    }
    digits.resize(width, '0');
    return digits;
}

std::string FormatGrayItemTime(std::int32_t minutes) {
    const std::int32_t m = std::clamp(minutes, 0, kMaxGrayItemField);
    char text[64];
    std::snprintf(text, sizeof text, "%.3d日 %.2d時間 %.2d分", (m / 60) / 24, (m / 60) % 24, m % 60);
    return text;
}

std::int32_t ParseGrayItemTime(std::string_view fieldText) {
    const std::vector<std::string_view> characters = Characters(fieldText);
    const std::int32_t days = DigitsValue(MaskedDigits(CharacterRange(characters, 0, 3), 3));
    const std::int32_t hours = DigitsValue(MaskedDigits(CharacterRange(characters, 5, 2), 2));
    const std::int32_t minutes = DigitsValue(MaskedDigits(CharacterRange(characters, 10, 2), 2));
    return ((days * 24) + hours) * 60 + minutes;
}

std::array<std::string, 4> SplitRestrictTime(std::string_view value) {
    const std::vector<std::string_view> characters = Characters(value);
    return {CharacterRange(characters, 0, 2), CharacterRange(characters, 2, 2), CharacterRange(characters, 5, 2),
            CharacterRange(characters, 7, 2)};
}

std::string JoinRestrictTime(const std::array<std::string, 4>& fields) {
    return MaskedDigits(fields[0], 2) + MaskedDigits(fields[1], 2) + "-" + MaskedDigits(fields[2], 2) +
           MaskedDigits(fields[3], 2);
}

int HintPausePosition(std::int32_t milliseconds) {
    return std::clamp(milliseconds / 100, HintPauseMinPosition, HintPauseMaxPosition);
}

std::int32_t HintPauseMilliseconds(int position) {
    return position * 100;
}

std::string HintPauseLabel(int position) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f 秒", position / 10.0);
    return text;
}

std::optional<TMemoFontParts> ParseMemoFont(std::string_view text) {
    if (text.size() < 7 || text[2] != ',' || text[5] != ',') {
        return std::nullopt;
    }
    return TMemoFontParts{NumberOf(text.substr(0, 2)), NumberOf(text.substr(3, 2)), std::string(text.substr(6))};
}

std::string FormatMemoFont(int style, int size, std::string_view face) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2d,%.2d,", std::clamp(style, 0, 15), std::clamp(size, 0, kMaxFontSize));
    return text + std::string(face);
}

TConfigSink::~TConfigSink() = default;

void TSettingsConfigSink::Set(const TBoolOption& option, bool value) {
    m_Settings.Set(option, value);
}

void TSettingsConfigSink::Set(const TIntegerOption& option, std::int32_t value) {
    m_Settings.Set(option, value);
}

void TSettingsConfigSink::Set(const TStringOption& option, const std::string& value) {
    m_Settings.Set(option, value);
}

TConfigValues ReadConfigValues(TSettings& settings) {
    TConfigValues v;
    v.CheckRasConnect = settings.Get(opt::Main::CheckRasConnect);
    v.PhoneEntry = settings.Get(opt::Main::PhoneEntry);
    v.AccessRestriction = settings.Get(opt::Main::AccessRestriction);
    v.RestrictTime = settings.Get(opt::Main::RestrictTime);
    v.SortFolder = settings.Get(opt::Main::SortFolder);
    v.ShowTreeBtn = settings.Get(opt::Window::ShowTreeBtn);
    v.ShowTreeHint = settings.Get(opt::Window::ShowTreeHint);
    v.TreeHotTrack = settings.Get(opt::Window::TreeHotTrack);
    v.TreeRClickSelect = settings.Get(opt::Window::TreeRClickSelect);
    v.TreeNodeIndent = settings.Get(opt::Window::TreeNodeIndent);
    v.TreeDragScrollDelay = settings.Get(opt::Window::TreeDragScrollDelay);
    v.TreeDragExpandDelay = settings.Get(opt::Window::TreeDragExpandDelay);
    v.ListHotTrack = settings.Get(opt::Window::ListHotTrack);
    v.SingleClickOpen = settings.Get(opt::Main::SingleClickOpen);
    v.AutoResizeColumns = settings.Get(opt::Window::AutoResizeColumns);
    v.NewItemAtBottom = settings.Get(opt::Main::NewItemAtBottom);
    v.NeedToVisitColor = settings.Get(opt::Window::NeedToVisitColor);
    v.GrayItemTime = settings.Get(opt::Main::GrayItemTime);
    v.DateStrType = settings.Get(opt::Main::DateStrType);
    v.YearTwoDigit = settings.Get(opt::Main::YearTwoDigit);
    v.DateSeparator = settings.Get(opt::Main::DateSeparator);
    v.DayOfWeek = settings.Get(opt::Main::DayOfWeek);
    v.Hour24 = settings.Get(opt::Main::Hour24);
    v.TrayIcon = settings.Get(opt::Main::TrayIcon);
    v.HideTaskBar = settings.Get(opt::Main::HideTaskBar);
    v.ImpBrowserNNFirst = settings.Get(opt::Main::ImpBrowserNNFirst);
    v.ImpBrowserConfirm = settings.Get(opt::Main::ImpBrowserConfirm);
    v.HintHidePause = settings.Get(opt::Main::HintHidePause);
    v.AutoSave = settings.Get(opt::Main::AutoSave);
    v.StartWithFile = settings.Get(opt::Main::StartWithFile);
    v.FolderFullPath = settings.Get(opt::Window::FolderFullPath);
    v.MemoFont = settings.Get(opt::Window::MemoFont);
    return v;
}

void WriteConfigValues(const TConfigValues& v, TConfigSink& sink) {
    sink.Set(opt::Main::CheckRasConnect, v.CheckRasConnect);
    sink.Set(opt::Main::PhoneEntry, v.PhoneEntry);
    sink.Set(opt::Main::AccessRestriction, v.AccessRestriction);
    sink.Set(opt::Main::RestrictTime, v.RestrictTime);
    sink.Set(opt::Main::SortFolder, v.SortFolder);
    sink.Set(opt::Window::ShowTreeBtn, v.ShowTreeBtn);
    sink.Set(opt::Window::ShowTreeHint, v.ShowTreeHint);
    sink.Set(opt::Window::TreeHotTrack, v.TreeHotTrack);
    sink.Set(opt::Window::TreeRClickSelect, v.TreeRClickSelect);
    sink.Set(opt::Window::TreeNodeIndent, v.TreeNodeIndent);
    sink.Set(opt::Window::TreeDragScrollDelay, v.TreeDragScrollDelay);
    sink.Set(opt::Window::TreeDragExpandDelay, v.TreeDragExpandDelay);
    sink.Set(opt::Window::ListHotTrack, v.ListHotTrack);
    sink.Set(opt::Main::SingleClickOpen, v.SingleClickOpen);
    sink.Set(opt::Window::AutoResizeColumns, v.AutoResizeColumns);
    sink.Set(opt::Main::NewItemAtBottom, v.NewItemAtBottom);
    sink.Set(opt::Window::NeedToVisitColor, v.NeedToVisitColor);
    sink.Set(opt::Main::GrayItemTime, v.GrayItemTime);
    sink.Set(opt::Main::DateStrType, v.DateStrType);
    sink.Set(opt::Main::YearTwoDigit, v.YearTwoDigit);
    sink.Set(opt::Main::DateSeparator, v.DateSeparator);
    sink.Set(opt::Main::DayOfWeek, v.DayOfWeek);
    sink.Set(opt::Main::Hour24, v.Hour24);
    sink.Set(opt::Main::TrayIcon, v.TrayIcon);
    sink.Set(opt::Main::HideTaskBar, v.HideTaskBar);
    sink.Set(opt::Main::ImpBrowserNNFirst, v.ImpBrowserNNFirst);
    sink.Set(opt::Main::ImpBrowserConfirm, v.ImpBrowserConfirm);
    sink.Set(opt::Main::HintHidePause, v.HintHidePause);
    sink.Set(opt::Main::AutoSave, v.AutoSave);
    sink.Set(opt::Main::StartWithFile, v.StartWithFile);
    sink.Set(opt::Window::FolderFullPath, v.FolderFullPath);
    sink.Set(opt::Window::MemoFont, v.MemoFont);
}

} // namespace hv

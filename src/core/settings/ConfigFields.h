#pragma once

#include "settings/OptionKeys.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the options dialog shows in its fields and what it makes of them again, without widgets:
// the masked fields of GrayItemTime and RestrictTime, the hint time's track bar, the memo font
// text, and all the options the dialog edits with the order in which OK writes them.

namespace hv {

class TSettings;

// The digits of a masked field: a position that holds no digit (left unfilled) counts as "0";
// the text is cut or filled with "0" to width characters.
std::string MaskedDigits(std::string_view text, std::size_t width);

// The GrayItemTime field "999日 99時間 99分": minutes shown as "%.3d日 %.2d時間 %.2d分" (days,
// hours of the day, minutes of the hour). A value the field cannot hold shows as the nearest
// it can (0, or 999 days 23 hours 59 minutes).
std::string FormatGrayItemTime(std::int32_t minutes);
// The minutes of a field text in that form: ((days × 24) + hours) × 60 + minutes from its
// characters 1-3, 6-7 and 11-12. Hours and minutes above their units are added as they are.
std::int32_t ParseGrayItemTime(std::string_view fieldText);

// RestrictTime "0800-2300": the start hour, start minute, end hour and end minute fields, from
// the characters 1-2, 3-4, 6-7 and 8-9 (a short value leaves the later fields short).
std::array<std::string, 4> SplitRestrictTime(std::string_view value);
// The four fields joined as "%s%s-%s%s", each as two digits (MaskedDigits).
std::string JoinRestrictTime(const std::array<std::string, 4>& fields);

// The HintHidePause track bar: 20..200 tenths of a second.
inline constexpr int HintPauseMinPosition = 20;
inline constexpr int HintPauseMaxPosition = 200;
// The track bar position of a pause in milliseconds (divided by 100; the track bar keeps it
// within its range).
int HintPausePosition(std::int32_t milliseconds);
std::int32_t HintPauseMilliseconds(int position);
// The label beside the track bar: "%.1f 秒" of the position in seconds.
std::string HintPauseLabel(int position);

// The MemoFont text "SS,PP,Face": style bits (1 bold, 2 italic, 4 underline, 8 strike-out), the
// size in points and the face name.
struct TMemoFontParts {
    int Style = 0;
    int Size = 0;
    std::string Face;
};
// Nothing when the text is not in that form (shorter than 7 characters or without the commas);
// a style or size that is no number reads as 0.
std::optional<TMemoFontParts> ParseMemoFont(std::string_view text);
// "%.2d,%.2d," of the style bits and the size (kept within 0..99), then the face name.
std::string FormatMemoFont(int style, int size, std::string_view face);

// Every option the options dialog edits.
struct TConfigValues {
    bool CheckRasConnect = false;
    std::string PhoneEntry;
    std::int32_t AccessRestriction = 0;
    std::string RestrictTime;
    bool SortFolder = true;
    bool ShowTreeBtn = true;
    bool ShowTreeHint = true;
    bool TreeHotTrack = true;
    bool TreeRClickSelect = true;
    std::int32_t TreeNodeIndent = 16;
    std::int32_t TreeDragScrollDelay = 0;
    std::int32_t TreeDragExpandDelay = 0;
    bool ListHotTrack = true;
    bool SingleClickOpen = false;
    bool AutoResizeColumns = true;
    bool NewItemAtBottom = true;
    std::int32_t NeedToVisitColor = 255;
    std::int32_t GrayItemTime = 1440;
    std::int32_t DateStrType = 0;
    bool YearTwoDigit = true;
    std::string DateSeparator;
    std::int32_t DayOfWeek = 1;
    bool Hour24 = true;
    std::int32_t TrayIcon = 1;
    bool HideTaskBar = false;
    bool ImpBrowserNNFirst = false;
    bool ImpBrowserConfirm = true;
    std::int32_t HintHidePause = 5000;
    bool AutoSave = false;
    bool StartWithFile = false;
    bool FolderFullPath = false;
    std::string MemoFont;
};

// Where the options go; the settings in the program, a recorder in tests.
class TConfigSink {
public:
    virtual ~TConfigSink();
    virtual void Set(const TBoolOption& option, bool value) = 0;
    virtual void Set(const TIntegerOption& option, std::int32_t value) = 0;
    virtual void Set(const TStringOption& option, const std::string& value) = 0;
};

class TSettingsConfigSink final : public TConfigSink {
public:
    explicit TSettingsConfigSink(TSettings& settings) : m_Settings(settings) {}
    void Set(const TBoolOption& option, bool value) override;
    void Set(const TIntegerOption& option, std::int32_t value) override;
    void Set(const TStringOption& option, const std::string& value) override;

private:
    TSettings& m_Settings;
};

TConfigValues ReadConfigValues(TSettings& settings);
// Writes every option in the dialog's order: access, tree, list, dates, tray, import, others.
void WriteConfigValues(const TConfigValues& values, TConfigSink& sink);

} // namespace hv

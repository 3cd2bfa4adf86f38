#pragma once

#include "settings/Hashes.h"

#include <array>
#include <cstdint>
#include <string_view>

// Every option of the six settings tables: its table, kind, name and default, listed once.
// Code names an option by its constant, opt::TABLE::NAME (opt::Main::AutoSave,
// opt::ExportHtml::AllFolder), and reads it with TSettings::Get.

namespace hv {

enum class TSettingsTable { Main, ExportBm, ExportHtml, Find, ToolBar, Window };

struct TSettingsTableInfo {
    TSettingsTable Table;
    std::string_view Name;    // as hvtool shows it
    std::string_view KeyPath; // below HKEY_CURRENT_USER
};

inline constexpr std::string_view HollyvineKeyPath = "Software\\K.Amsel\\Hollyvine";
// The key of versions that spelt the name in two words; its content is moved at start.
inline constexpr std::string_view OldHollyvineKeyPath = "Software\\K.Amsel\\Holly Vine";
// The per-document view state (TRegHash).
inline constexpr std::string_view FileKeyPath = "Software\\K.Amsel\\Hollyvine\\File";

inline constexpr std::array<TSettingsTableInfo, 6> SettingsTables = {{
    {TSettingsTable::Main, "main", "Software\\K.Amsel\\Hollyvine"},
    {TSettingsTable::ExportBm, "ExportBm", "Software\\K.Amsel\\Hollyvine\\ExportBm"},
    {TSettingsTable::ExportHtml, "ExportHtml", "Software\\K.Amsel\\Hollyvine\\ExportHtml"},
    {TSettingsTable::Find, "Find", "Software\\K.Amsel\\Hollyvine\\Find"},
    {TSettingsTable::ToolBar, "ToolBar", "Software\\K.Amsel\\Hollyvine\\ToolBar"},
    {TSettingsTable::Window, "Window", "Software\\K.Amsel\\Hollyvine\\Window"},
}};

constexpr const TSettingsTableInfo& TableInfo(TSettingsTable table) {
    return SettingsTables[static_cast<std::size_t>(table)];
}

template <THashKeyKind Kind> struct TOptionValue;
template <> struct TOptionValue<THashKeyKind::String> { using Type = std::string_view; };
template <> struct TOptionValue<THashKeyKind::Integer> { using Type = std::int32_t; };
template <> struct TOptionValue<THashKeyKind::Boolean> { using Type = bool; };

// An option: where it lives, its name and its default.
template <THashKeyKind Kind> struct TOptionKey {
    TSettingsTable Table;
    std::string_view Name;
    typename TOptionValue<Kind>::Type Default;
};
using TStringOption = TOptionKey<THashKeyKind::String>;
using TIntegerOption = TOptionKey<THashKeyKind::Integer>;
using TBoolOption = TOptionKey<THashKeyKind::Boolean>;

// One row of the catalogue, whatever its kind.
struct TOptionDefault {
    TSettingsTable Table;
    std::string_view Name;
    THashKeyKind Kind;
    std::int32_t Number;   // integer and boolean options
    std::string_view Text; // string options

    constexpr TOptionDefault(const TStringOption& key)
        : Table(key.Table), Name(key.Name), Kind(THashKeyKind::String), Number(0), Text(key.Default) {}
    constexpr TOptionDefault(const TIntegerOption& key)
        : Table(key.Table), Name(key.Name), Kind(THashKeyKind::Integer), Number(key.Default) {}
    constexpr TOptionDefault(const TBoolOption& key)
        : Table(key.Table), Name(key.Name), Kind(THashKeyKind::Boolean), Number(key.Default ? 1 : 0) {}
};

// clang-format off
#define HV_SETTINGS_OPTIONS(X) \
    X(Main, Integer, AccessRestriction, 0) \
    X(Main, Boolean, AutoSave, false) \
    X(Main, Boolean, CheckRasConnect, false) \
    X(Main, String, DateSeparator, "/") \
    X(Main, Integer, DateStrType, 0) \
    X(Main, Integer, DayOfWeek, 1) \
    X(Main, Integer, GrayItemTime, 1440) \
    X(Main, Boolean, HideTaskBar, false) \
    X(Main, Integer, HintHidePause, 5000) \
    X(Main, Boolean, Hour24, true) \
    X(Main, Boolean, ImpBrowserConfirm, true) \
    X(Main, Boolean, ImpBrowserNNFirst, false) \
    X(Main, Boolean, NewItemAtBottom, true) \
    X(Main, String, PhoneEntry, "") \
    X(Main, String, RecentFiles, "") \
    X(Main, String, RestrictTime, "0800-2300") \
    X(Main, Boolean, SingleClickOpen, false) \
    X(Main, Boolean, SortDescending, false) \
    X(Main, Boolean, SortFolder, true) \
    X(Main, Integer, SortType, 0) \
    X(Main, Boolean, StartWithFile, false) \
    X(Main, Integer, TrayIcon, 1) \
    X(Main, Boolean, YearTwoDigit, true) \
    X(ExportBm, Boolean, AllFolder, true) \
    X(ExportBm, Boolean, ItemsFirst, true) \
    X(ExportHtml, Boolean, AllFolder, true) \
    X(ExportHtml, Integer, BGColor, 16777215) \
    X(ExportHtml, Boolean, BoldItem, false) \
    X(ExportHtml, Integer, FolderName, 0) \
    X(ExportHtml, Integer, KanjiCode, 0) \
    X(ExportHtml, Integer, LinkColor, 16711680) \
    X(ExportHtml, Integer, VLinkColor, 8388608) \
    X(ExportHtml, Integer, ReturnCode, 0) \
    X(ExportHtml, Boolean, ShowCmd, false) \
    X(ExportHtml, Integer, TextColor, 0) \
    X(Find, Boolean, DiscriminateCase, false) \
    X(Find, String, FindText, "") \
    X(Find, Integer, FindType, 0) \
    X(Find, Boolean, IncludeSubFolder, true) \
    X(Find, Integer, Range, 0) \
    X(Find, Integer, Subject, 0) \
    X(ToolBar, String, FileBar, "1,11,2") \
    X(ToolBar, String, FolderBar, "1,173,2") \
    X(ToolBar, String, ItemBar, "1,11,31") \
    X(ToolBar, String, FindBar, "1,11,60") \
    X(ToolBar, String, ViewBar, "1,70,60") \
    X(ToolBar, Boolean, Flat, true) \
    X(Window, Integer, ActiveConfigPage, 0) \
    X(Window, Boolean, AutoResizeColumns, true) \
    X(Window, Integer, BottomPanelHeight, 70) \
    X(Window, String, ColumnWidths, "100,116,116") \
    X(Window, Boolean, Compact, false) \
    X(Window, String, DTimeDlgPos, "200,200") \
    X(Window, Boolean, FolderFullPath, false) \
    X(Window, Boolean, ListHotTrack, true) \
    X(Window, Integer, ListHotTrackStyle, 5) \
    /* The default names the first installed of two fonts; see MemoFontDefault. */ \
    X(Window, String, MemoFont, "00,09,MS UI Gothic") \
    X(Window, Integer, NeedToVisitColor, 255) \
    X(Window, Boolean, ShowBottomPanel, true) \
    X(Window, Boolean, ShowTreeBtn, true) \
    X(Window, Boolean, ShowTreeHint, true) \
    X(Window, Boolean, ShowTreeRoot, false) \
    X(Window, String, StatusPanelWidths, "160,88,120,100") \
    X(Window, Boolean, TreeAutoExpand, false) \
    X(Window, Integer, TreeChangeDelay, 100) \
    X(Window, Integer, TreeDragExpandDelay, 0) \
    X(Window, Integer, TreeDragScrollDelay, 0) \
    X(Window, Integer, TreeHeight, 100) \
    X(Window, Boolean, TreeHotTrack, true) \
    X(Window, Integer, TreeNodeIndent, 16) \
    X(Window, Boolean, TreeRClickSelect, true) \
    X(Window, Integer, TreeWidth, 120) \
    X(Window, Boolean, Vertical, false) \
    X(Window, Boolean, ViewReport, true)

#define HV_DECLARE_OPTION(table, kind, name, value) \
    namespace opt::table { \
    inline constexpr TOptionKey<THashKeyKind::kind> name{TSettingsTable::table, #name, value}; \
    }
HV_SETTINGS_OPTIONS(HV_DECLARE_OPTION)
#undef HV_DECLARE_OPTION

#define HV_OPTION_ROW(table, kind, name, value) TOptionDefault(opt::table::name),
// Every option in table order; the tables are seeded from it at start.
inline constexpr TOptionDefault OptionDefaults[] = {HV_SETTINGS_OPTIONS(HV_OPTION_ROW)};
#undef HV_OPTION_ROW
#undef HV_SETTINGS_OPTIONS
// clang-format on

} // namespace hv

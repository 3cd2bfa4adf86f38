#pragma once

#include "settings/RegistryStore.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The plain part of TRestorePos: the stored text of a window position and where it lives. The
// part that follows a window's life comes with the windows.

namespace hv {

enum TRestorePosOption : unsigned { rpRestoreSize = 1, rpRestoreState = 2 };
using TRestorePosOptions = unsigned;

// The key of every position value, below "\Software\".
inline constexpr std::string_view RestorePosKeyName = "K.Amsel\\Hollyvine\\Window";

struct TRestorePosValue {
    std::string_view ValueName;
    TRestorePosOptions Options;
};

// The main window and the dialogs that keep their position; the value names ending in "Rect"
// keep the size too.
inline constexpr std::array<TRestorePosValue, 13> RestorePosValues = {{
    {"Rect", rpRestoreSize | rpRestoreState},
    {"CmdPropDlgPos", 0},
    {"ConfigDlgPos", 0},
    {"ExpBmDlgRect", rpRestoreSize},
    {"ExpFavoritesDlgPos", 0},
    {"ExpHtmlDlgRect", rpRestoreSize},
    {"FilePropDlgPos", 0},
    {"FindDlgPos", 0},
    {"FindDupDlgRect", rpRestoreSize},
    {"ImpBrowserDlgPos", 0},
    {"ImpHtmlDlgRect", rpRestoreSize},
    {"PropDlgPos", 0},
    {"SelFolderDlgPos", 0},
}};

// The options of a position value of the list above; 0 for any other name.
TRestorePosOptions RestorePosOptionsOf(std::string_view valueName);

// A window's normal (not maximised) rectangle and whether it is maximised.
struct TWindowPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Maximized = false;
};

// "left,top", with rpRestoreSize ",width,height", with both options also ",1" or ",0".
std::string FormatRestorePos(const TWindowPlacement& placement, TRestorePosOptions options);

// The five numbers of a stored position: up to five comma-separated integers, each 0 when it is
// not a number, missing ones 0.
std::array<int, 5> ParseRestorePos(std::string_view text);

// What a window takes from a stored position: left and top; width and height only with
// rpRestoreSize (otherwise current's are kept); maximised only with both options and a fifth
// number above 0.
TWindowPlacement ApplyRestorePos(std::string_view text, TRestorePosOptions options, const TWindowPlacement& current);

// The stored text of a position in "\Software\" + keyName, when there is one to restore: only
// for a non-empty key name, an existing key and a string value.
std::optional<std::string> ReadRestorePos(const TRegistryStore& registry, std::string_view keyName,
                                          std::string_view valueName);
// Stores the position text as a string value (the store is flushed by the caller).
void WriteRestorePos(TRegistryStore& registry, std::string_view keyName, std::string_view valueName,
                     const TWindowPlacement& placement, TRestorePosOptions options);

} // namespace hv

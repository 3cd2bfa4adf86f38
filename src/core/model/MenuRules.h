#pragma once

#include <string>
#include <string_view>

// The rules of the menus that unfold the folder tree and of the notification-area icon, apart
// from any widget: captions with their accelerators, which entries are enabled, when the icon
// shows and when the window leaves the task bar.

namespace hv {

// The caption of the k-th entry (counted from 0) of a tree menu: every "&" of text doubled, then
// "(&c)" with c = 1-9, 0, A-N, P-Z for k = 0..34 (never O, which "開く(&O)" holds); no suffix
// from k = 35 on.
std::string AccelCaption(std::string_view text, int k);

// The tool tip of the notification-area icon: the window caption, cut to 63 characters.
inline constexpr std::size_t kTrayHintLength = 63;
std::string TrayHint(std::string_view caption);

// The TrayIcon setting.
enum : int { tiNever = 0, tiAlways = 1, tiWhileMinimized = 2 };

// Whether the icon shows when the program starts and after the options are confirmed.
bool TrayIconShownNormally(int trayIcon);

// What minimising does: the icon shows unless TrayIcon is 0; with HideTaskBar the window leaves
// the task bar as well, but only when there is a tray to bring it back from.
struct TTrayMinimize {
    bool IconVisible = false;
    bool HideWindow = false;
};
TTrayMinimize TrayOnMinimize(int trayIcon, bool hideTaskBar, bool iconVisible, bool trayAvailable);
// Whether the icon stays after the window is restored: TrayIcon 2 removes it.
bool TrayIconAfterRestore(int trayIcon, bool iconVisible);

// The enabled entries of the tray menu. usable: no modal window and no message box is open.
struct TTrayMenuState {
    bool List = false;
    bool OpenFile = false;
    bool RecentFiles = false;
    bool Restore = false;
    bool Minimize = false;
    bool Exit = false;
};
TTrayMenuState TrayMenuState(bool usable, bool minimized);

} // namespace hv

#include "model/MenuRules.h"

#include "text/Utf8.h"

#include <algorithm>

namespace hv {

namespace {

constexpr int kAccelKeys = 35;

char AccelKey(int k) {
    if (k < 9) {
        return static_cast<char>('1' + k);
    }
    if (k == 9) {
        return '0';
    }
    if (k < 24) {
        return static_cast<char>('A' + (k - 10));
    }
    return static_cast<char>('P' + (k - 24));
}

} // namespace

std::string AccelCaption(std::string_view text, int k) {
    std::string caption;
    caption.reserve(text.size() + 5);
    for (const char c : text) {
        caption += c;
        if (c == '&') {
            caption += '&';
        }
    }
    if (k >= 0 && k < kAccelKeys) {
        caption += "(&";
        caption += AccelKey(k);
        caption += ')';
    }
    return caption;
}

std::string TrayHint(std::string_view caption) {
    std::size_t pos = 0;
    for (std::size_t count = 0; pos < caption.size() && count < kTrayHintLength; ++count) {
        char32_t cp = 0;
        // A stray byte counts as one character.
        pos += std::max<std::size_t>(Utf8SequenceAt(caption, pos, cp), 1);
    }
    return std::string(caption.substr(0, pos));
}

bool TrayIconShownNormally(int trayIcon) {
    return trayIcon == tiAlways;
}

TTrayMinimize TrayOnMinimize(int trayIcon, bool hideTaskBar, bool iconVisible, bool trayAvailable) {
    TTrayMinimize result;
    result.IconVisible = iconVisible || trayIcon != tiNever;
    result.HideWindow = hideTaskBar && trayIcon != tiNever && trayAvailable;
    return result;
}

bool TrayIconAfterRestore(int trayIcon, bool iconVisible) {
    return trayIcon == tiWhileMinimized ? false : iconVisible;
}

TTrayMenuState TrayMenuState(bool usable, bool minimized) {
    TTrayMenuState state;
    state.List = usable;
    state.OpenFile = usable;
    state.RecentFiles = usable;
    state.Restore = usable && minimized;
    state.Minimize = !minimized;
    state.Exit = usable;
    return state;
}

} // namespace hv

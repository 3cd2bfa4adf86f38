#pragma once

#include "settings/RestorePos.h"
#include "settings/Settings.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <string>

namespace hv {

class TUserPrompts;

// What the property dialogs need from the program: the settings, the message boxes and the
// launch routine of the command test button. (Their file dialogs go through TFileDialogs.)
struct TPropDlgServices {
    TSettings& Settings;
    TUserPrompts& Prompts;
    // Runs a command line the way an item's command runs, without recording a visit.
    std::function<void(const std::string& commandLine)> OpenCommand;
};

// Moves a dialog to its stored position (only the place; the size stays).
inline void RestoreDlgPos(QWidget& dialog, TSettings& settings, std::string_view valueName) {
    const auto text = ReadRestorePos(settings.Registry(), RestorePosKeyName, valueName);
    if (!text) {
        return;
    }
    const TWindowPlacement p = ApplyRestorePos(*text, 0, {dialog.x(), dialog.y(), dialog.width(), dialog.height()});
    dialog.move(p.Left, p.Top);
}

inline void SaveDlgPos(const QWidget& dialog, TSettings& settings, std::string_view valueName) {
    WriteRestorePos(settings.Registry(), RestorePosKeyName, valueName,
                    {dialog.x(), dialog.y(), dialog.width(), dialog.height(), false}, 0);
}

} // namespace hv

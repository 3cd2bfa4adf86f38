#pragma once

#include "settings/RestorePos.h"
#include "settings/Settings.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLayout>
#include <QPoint>
#include <QRect>
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

// A dialog's place is the top-left corner of its client area: geometry() reads it and
// setGeometry() gives it back, both without the window manager's frame, so a dialog opens exactly
// where it was closed however often it is opened. (Under X11 window managers a frame position
// given back to move() puts the client area there: the dialog crept up by its title bar.)
inline QPoint DialogPlace(const QWidget& dialog) {
    return dialog.geometry().topLeft();
}

// Puts the dialog at place unless no screen shows that point (a screen since removed); its size
// is the one it would open with.
inline void PlaceDialog(QWidget& dialog, QPoint place) {
    if (QGuiApplication::screenAt(place) == nullptr) {
        return;
    }
    if (!dialog.testAttribute(Qt::WA_Resized)) {
        dialog.adjustSize();
    }
    dialog.setGeometry(QRect(place, dialog.size()));
}

// Moves a dialog to its stored place (only the place; the size stays).
inline void RestoreDlgPos(QWidget& dialog, TSettings& settings, std::string_view valueName) {
    const auto text = ReadRestorePos(settings.Registry(), RestorePosKeyName, valueName);
    if (!text) {
        return;
    }
    const TWindowPlacement p = ApplyRestorePos(*text, 0, {dialog.x(), dialog.y(), dialog.width(), dialog.height()});
    PlaceDialog(dialog, QPoint(p.Left, p.Top));
}

inline void SaveDlgPos(const QWidget& dialog, TSettings& settings, std::string_view valueName) {
    const QPoint place = DialogPlace(dialog);
    WriteRestorePos(settings.Registry(), RestorePosKeyName, valueName,
                    {place.x(), place.y(), dialog.width(), dialog.height(), false}, 0);
}

// A dialog of fixed size: a title bar with the close button only, no minimise or maximise.
inline void MakeFixedSizeDialog(QDialog& dialog) {
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    if (dialog.layout() != nullptr) {
        dialog.layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
}

} // namespace hv

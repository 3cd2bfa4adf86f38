#pragma once

#include <QIcon>
#include <QString>

class QApplication;
class QCoreApplication;

namespace hv {

// Introduces the program to Qt and to the desktop: the name "Hollyvine", the version, the
// installed desktop file hollyvine.desktop (the desktop matches the windows to its menu entry
// and icon; on Wayland it is the app id), the window icon and Qt's texts in Japanese.
void SetUpApplication(QApplication& app);

// The program's icon at every size it is drawn in (16 to 256 pixels), from the resources built
// into the program: the windows, the tree's root and the tray show it.
QIcon ProgramIcon();

// Where Qt's own translations are looked for (Qt's translations directory).
QString QtTranslationsDirectory();

// Installs Qt's Japanese translations (qtbase_ja: the standard buttons, file dialogs, the
// context menus of text fields), so they read in Japanese like the rest of the program.
// Returns false when they are not found in directory; Qt's English texts stay then.
bool InstallQtTranslations(QCoreApplication& app, const QString& directory = QtTranslationsDirectory());

} // namespace hv

#pragma once

#include "importexport/ExpFavoritesDlg.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QMenu;
class QToolBar;

namespace hv {

class THVWindow;
class TExpBmDlg;
class TExpHtmlDlg;
class TSettings;
class TUserPrompts;

// The export commands of the main window: the bookmark file, the favorites folder and the HTML
// page, under "エクスポート(&E)" in the File menu.
class TExportActions : public QObject {
    Q_OBJECT

public:
    TExportActions(THVWindow& window, TUserPrompts& prompts, TSettings* settings);

    QAction* actExportBookmark;
    QAction* actExportFavorites;
    QAction* actExportHtml;

    // The export sub-menu, for the File menu.
    QMenu* ExportMenu() const { return m_Menu; }

    // How a modal export dialog is run; tests drive it while it is open instead of exec().
    using TBmDlgRunner = std::function<void(TExpBmDlg& dialog)>;
    using THtmlDlgRunner = std::function<void(TExpHtmlDlg& dialog)>;
    void SetBmDialogRunner(TBmDlgRunner runner) { m_RunBmDialog = std::move(runner); }
    void SetHtmlDialogRunner(THtmlDlgRunner runner) { m_RunHtmlDialog = std::move(runner); }
    // The home directory the favorites folder is looked for in (tests point it elsewhere).
    void SetHomeDirectory(const QString& home) { m_Home = home; }

    void ExportBookmark();
    // Opens the favorites window, or brings the open one to the front.
    void ExportFavorites();
    void ExportHtml();
    TExpFavoritesDlg* FavoritesDialog() const { return m_Favorites; }

private:
    THVWindow& m_Window;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    QMenu* m_Menu;
    QPointer<TExpFavoritesDlg> m_Favorites;
    TBmDlgRunner m_RunBmDialog;
    THtmlDlgRunner m_RunHtmlDialog;
    QString m_Home;
};

} // namespace hv

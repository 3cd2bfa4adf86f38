#include "importexport/ExportActions.h"

#include "app/HintedAction.h"
#include "importexport/ExpBmDlg.h"
#include "importexport/ExpFavorites.h"
#include "importexport/ExpFavoritesDlg.h"
#include "importexport/ExpHtmlDlg.h"
#include "importexport/ExportDlgSupport.h"
#include "importexport/Favorites.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "model/HVFolder.h"
#include "platform/UserPrompts.h"
#include "settings/Settings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace hv {

TExportActions::TExportActions(THVWindow& window, TUserPrompts& prompts, TSettings* settings)
    : QObject(&window), m_Window(window), m_Prompts(prompts), m_Settings(settings), m_Home(QDir::homePath()) {
    actExportBookmark = NewHintedAction(
        this, "actExportBookmark", QStringLiteral("Netscapeブックマーク(&B)..."),
        QStringLiteral("ブックマークのエクスポート|フォルダとアイテムの内容をNetscapeブックマークファイルに書き"
                       "出します"));
    actExportBookmark->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    actExportFavorites = NewHintedAction(
        this, "actExportFavorites", QStringLiteral("[お気に入り](&I)..."),
        QStringLiteral("[お気に入り] のエクスポート|フォルダとアイテムの内容を [お気に入り] に変換します"));
    actExportFavorites->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    actExportHtml =
        NewHintedAction(this, "actExportHtml", QStringLiteral("&HTMLファイル..."),
                        QStringLiteral("HTMLのエクスポート|フォルダとアイテムの内容をHTMLファイルに書き出します"));
    actExportHtml->setIcon(QIcon::fromTheme(QStringLiteral("text-html")));
    for (QAction* action : {actExportBookmark, actExportFavorites, actExportHtml}) {
        window.addAction(action);
    }

    m_Menu = new QMenu(QStringLiteral("エクスポート(&E)"), &window);
    m_Menu->setObjectName(QStringLiteral("mniExport"));
    m_Menu->addAction(actExportBookmark);
    m_Menu->addAction(actExportFavorites);
    m_Menu->addAction(actExportHtml);

    connect(actExportBookmark, &QAction::triggered, this, &TExportActions::ExportBookmark);
    connect(actExportFavorites, &QAction::triggered, this, &TExportActions::ExportFavorites);
    connect(actExportHtml, &QAction::triggered, this, &TExportActions::ExportHtml);
}

void TExportActions::ExportBookmark() {
    TExpBmDlg dialog(m_Window.Document().Root(), m_Window.FolderTree().SelectedFolder(), m_Prompts, m_Settings,
                     &m_Window);
    if (m_RunBmDialog) {
        m_RunBmDialog(dialog);
    } else {
        dialog.exec();
    }
}

void TExportActions::ExportHtml() {
    TExpHtmlDlg dialog(m_Window.Document().Root(), m_Window.FolderTree().SelectedFolder(),
                       m_Window.Document().FileName(), m_Window.ItemList().Order(), m_Prompts, m_Settings, &m_Window);
    if (m_RunHtmlDialog) {
        m_RunHtmlDialog(dialog);
    } else {
        dialog.exec();
    }
}

void TExportActions::ExportFavorites() {
    if (m_Favorites != nullptr) {
        m_Favorites->show();
        m_Favorites->raise();
        m_Favorites->activateWindow();
        return;
    }
    const std::string home = ExportPath(m_Home);
    const std::string dir =
        m_Settings != nullptr ? FindFavoritesFolder(m_Settings->Registry(), home) : home + "/Favorites";
    if (dir.empty()) {
        return;
    }
    // A desktop without a favorites folder yet: offer to make it instead of refusing.
    if (!QFileInfo(ExportPathText(dir)).isDir()) {
        std::string question(kCreateFavoritesQuestion);
        question.replace(question.find("%s"), 2, dir);
        if (m_Prompts.YesNo(question) && !QDir().mkpath(ExportPathText(dir))) {
            std::string error(kFolderCreateError);
            error.replace(error.find("%s"), 2, dir);
            m_Prompts.Warning(error);
        }
    }
    THVWindow* window = &m_Window;
    m_Favorites = new TExpFavoritesDlg(
        ExportPathText(dir),
        [window](bool all) -> const THVFolder* {
            return all ? &window->Document().Root() : window->FolderTree().SelectedFolder();
        },
        m_Prompts, m_Settings, &m_Window);
    m_Favorites->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_Favorites, &QDialog::finished, m_Favorites, &QObject::deleteLater);
    m_Favorites->setModal(false);
    m_Favorites->show();
}

} // namespace hv

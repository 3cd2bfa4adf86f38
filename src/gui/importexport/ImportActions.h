#pragma once

#include "importexport/ImpBrowser.h"
#include "importexport/ImpHtml.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace hv {

class THVFolder;
class THVWindow;
class TImpBrowserDlg;
class TImpHtmlDlg;
class TSettings;
class TUserPrompts;

// The import commands of the main window, under "インポート(&I)" in the File menu: the links of
// HTML files (a checklist window), a bookmark file, the favorites folder, shortcut files and the
// page a running browser shows.
class TImportActions : public QObject {
    Q_OBJECT

public:
    TImportActions(THVWindow& window, TUserPrompts& prompts, TSettings* settings);
    ~TImportActions() override;

    QAction* actImportHtml;
    QAction* actImportBookmark;
    QAction* actImportFavorites;
    QAction* actImportShortcut;
    QAction* actImportBrowser;

    // The import sub-menu, for the File menu.
    QMenu* ImportMenu() const { return m_Menu; }

    // For tests: the home directory the user's bookmarks and favorites are looked for in, the
    // conversations with the browsers, and how the capture dialog is run (instead of exec();
    // returns whether OK was chosen).
    void SetHomeDirectory(const QString& home) { m_Home = home; }
    void SetConversation(TBrowserConversation* conversation) { m_Conversation = conversation; }
    using TBrowserDlgRunner = std::function<bool(TImpBrowserDlg& dialog)>;
    void SetBrowserDialogRunner(TBrowserDlgRunner runner) { m_RunBrowserDialog = std::move(runner); }

    // Opens the checklist window, or brings the open one to the front.
    void ImportHtml();
    TImpHtmlDlg* HtmlDialog() const;
    void ImportBookmark();
    void ImportFavorites();
    void ImportShortcut();
    void ImportBrowser();

private:
    // Adds the ticked links of the checklist to the selected folder; returns how many.
    int AddHtmlLinks(const std::vector<THtmlLink>& links);
    void BookmarkFileImport(THVFolder& target, const std::string& path);
    // The capture's result: nullopt when nothing is to be added.
    std::optional<TBrowserAnswer> ChooseAnswer(const TBrowserAnswer& ie, const TBrowserAnswer& nn);
    TBrowserConversation& Conversation();
    std::string Home() const;

    THVWindow& m_Window;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    QMenu* m_Menu;
    QPointer<TImpHtmlDlg> m_HtmlDlg;
    QString m_Home;
    TBrowserConversation* m_Conversation = nullptr;
    std::unique_ptr<TBrowserConversation> m_OwnConversation;
    TBrowserDlgRunner m_RunBrowserDialog;
};

} // namespace hv

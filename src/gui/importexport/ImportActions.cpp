#include "importexport/ImportActions.h"

#include "app/FileDialogs.h"
#include "app/HintedAction.h"
#include "importexport/BookmarkStore.h"
#include "importexport/Favorites.h"
#include "importexport/ImpBookmark.h"
#include "importexport/ImpBrowserDlg.h"
#include "importexport/ImpHtmlDlg.h"
#include "importexport/Shortcut.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "model/HVFolder.h"
#include "platform/BrowserConversation.h"
#include "platform/UserPrompts.h"
#include "settings/Settings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTreeView>

namespace hv {

namespace {

// Folders and items in folder and everything below it.
int NodesBelow(const THVFolder& folder) {
    int count = folder.List().Count();
    for (const auto& child : folder.Children()) {
        count += 1 + NodesBelow(*child);
    }
    return count;
}

std::vector<std::string> LocalPaths(const QStringList& files) {
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files) {
        paths.push_back(QFile::encodeName(file).toStdString());
    }
    return paths;
}

class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace

TImportActions::TImportActions(THVWindow& window, TUserPrompts& prompts, TSettings* settings)
    : QObject(&window), m_Window(window), m_Prompts(prompts), m_Settings(settings), m_Home(QDir::homePath()) {
    actImportHtml =
        NewHintedAction(this, "actImportHtml", QStringLiteral("&HTMLファイル..."),
                        QStringLiteral("HTMLのインポート|HTMLファイルに記述されているリンクを取り込みます"));
    actImportHtml->setIcon(QIcon::fromTheme(QStringLiteral("text-html")));
    actImportBookmark =
        NewHintedAction(this, "actImportBookmark", QStringLiteral("Netscapeブックマーク(&B)..."),
                        QStringLiteral("ブックマークのインポート|Netscapeブックマークの内容を取り込みます"));
    actImportFavorites = NewHintedAction(this, "actImportFavorites", QStringLiteral("[お気に入り](&I)..."),
                                         QStringLiteral("[お気に入り] のインポート|[お気に入り] を取り込みます"));
    actImportShortcut = NewHintedAction(
        this, "actImportShortcut", QStringLiteral("インターネット ショートカット(&S)..."),
        QStringLiteral("ショートカットのインポート|インターネット ショートカットファイルのリンク情報を取り込みます"));
    actImportBrowser =
        NewHintedAction(this, "actImportBrowser", QStringLiteral("ブラウザで表示している&URL..."),
                        QStringLiteral("表示中のURLのインポート|ブラウザで表示しているURLを取り込みます"));
    actImportBrowser->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    for (QAction* action :
         {actImportHtml, actImportBookmark, actImportFavorites, actImportShortcut, actImportBrowser}) {
        window.addAction(action);
    }

    m_Menu = new QMenu(QStringLiteral("インポート(&I)"), &window);
    m_Menu->setObjectName(QStringLiteral("mniImport"));
    m_Menu->addAction(actImportHtml);
    m_Menu->addAction(actImportBookmark);
    m_Menu->addAction(actImportFavorites);
    m_Menu->addAction(actImportShortcut);
    m_Menu->addSeparator();
    m_Menu->addAction(actImportBrowser);

    connect(actImportHtml, &QAction::triggered, this, &TImportActions::ImportHtml);
    connect(actImportBookmark, &QAction::triggered, this, &TImportActions::ImportBookmark);
    connect(actImportFavorites, &QAction::triggered, this, &TImportActions::ImportFavorites);
    connect(actImportShortcut, &QAction::triggered, this, &TImportActions::ImportShortcut);
    connect(actImportBrowser, &QAction::triggered, this, &TImportActions::ImportBrowser);
}

TImportActions::~TImportActions() = default;

std::string TImportActions::Home() const {
    return QFile::encodeName(m_Home).toStdString();
}

// --- HTML links -------------------------------------------------------------------------

void TImportActions::ImportHtml() {
    if (m_HtmlDlg != nullptr) {
        m_HtmlDlg->show();
        m_HtmlDlg->raise();
        m_HtmlDlg->activateWindow();
        return;
    }
    m_HtmlDlg = new TImpHtmlDlg([this](const std::vector<THtmlLink>& links) { return AddHtmlLinks(links); }, m_Prompts,
                                m_Settings, &m_Window);
    m_HtmlDlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_HtmlDlg, &QDialog::finished, m_HtmlDlg, &QObject::deleteLater);
    m_HtmlDlg->setModal(false);
    m_HtmlDlg->show();
}

TImpHtmlDlg* TImportActions::HtmlDialog() const {
    return m_HtmlDlg;
}

int TImportActions::AddHtmlLinks(const std::vector<THtmlLink>& links) {
    THVFolder* folder = m_Window.FolderTree().SelectedFolder();
    if (folder == nullptr) {
        return 0;
    }
    QTreeView* list = m_Window.ListView();
    list->setUpdatesEnabled(false);
    const int count = ImportHtmlLinks(links, *folder, false, &m_Window.TreeEdits());
    if (count > 0) {
        if (m_Window.ItemList().ShownFolder() == folder) {
            m_Window.TreeEdits().SortItems(folder->List(), m_Window.ItemList().Order());
        }
        m_Window.Document().MarkModified();
    }
    list->setUpdatesEnabled(true);
    return count;
}

// --- bookmark file ----------------------------------------------------------------------

void TImportActions::ImportBookmark() {
    THVFolder* target = m_Window.FolderTree().SelectedFolder();
    if (target == nullptr) {
        return;
    }
    if (!CanImportBookmarksInto(*target)) {
        m_Prompts.Information(std::string(kBookmarkFolderHasSubfolders), std::string(kImportBookmarkCaption));
        return;
    }
    const std::optional<std::string> path =
        ChooseBookmarkFile(Home(), m_Prompts, [this](const std::string& startDir) -> std::optional<std::string> {
            const auto file = TFileDialogs::OpenFile(
                &m_Window,
                QString::fromUtf8(kImportBookmarkCaption.data(), static_cast<qsizetype>(kImportBookmarkCaption.size())),
                QFile::decodeName(startDir.c_str()), QStringLiteral("HTMLファイル (*.htm *.html)"));
            if (!file) {
                return std::nullopt;
            }
            return QFile::encodeName(*file).toStdString();
        });
    if (path) {
        BookmarkFileImport(*target, *path);
    }
}

void TImportActions::BookmarkFileImport(THVFolder& target, const std::string& path) {
    const int before = NodesBelow(target);
    std::optional<TBookmarkImportResult> result;
    std::string error;
    {
        TWaitCursor wait;
        try {
            m_Window.ChangeTree([&] { result = ImportUserBookmarks(path, target); });
        } catch (const std::exception& e) {
            error = e.what();
        }
    }
    // What was read before an error stays, and is the document's now.
    if ((result && result->Modified) || NodesBelow(target) != before) {
        m_Window.Document().MarkModified();
    }
    if (!error.empty()) {
        m_Prompts.Error(error);
    } else if (result) {
        m_Prompts.Information(std::string(kBookmarkImportDone));
    }
}

// --- favorites and shortcuts ------------------------------------------------------------

void TImportActions::ImportFavorites() {
    THVFolder* target = m_Window.FolderTree().SelectedFolder();
    if (target == nullptr) {
        return;
    }
    const std::string caption(kImpFavoritesCaption);
    if (!CanImportFavoritesInto(*target)) {
        m_Prompts.Warning(std::string(kFavoritesHasSubfolders), caption);
        return;
    }
    std::string question(kFavoritesImportQuestion);
    question.replace(question.find("%s"), 2, target->Name());
    if (!m_Prompts.YesNo(question, caption)) {
        return;
    }
    const std::string home = Home();
    const std::string dir =
        m_Settings != nullptr ? FindFavoritesFolder(m_Settings->Registry(), home) : home + "/Favorites";
    bool modified = false;
    {
        TWaitCursor wait;
        m_Window.ChangeTree([&] {
            if (!dir.empty()) {
                modified = ImportFavoritesTree(*target, dir);
            }
            target->SetExpanded(true);
        });
    }
    if (modified) {
        m_Window.Document().MarkModified();
    }
    m_Prompts.Information(std::string(kFavoritesImportDone));
}

void TImportActions::ImportShortcut() {
    THVFolder* folder = m_Window.FolderTree().SelectedFolder();
    if (folder == nullptr) {
        return;
    }
    const QStringList files =
        TFileDialogs::OpenFiles(&m_Window, QStringLiteral("インターネット ショートカットのインポート"), QString(),
                                QStringLiteral("インターネットショートカット (*.url *.desktop)"));
    if (files.isEmpty()) {
        return;
    }
    QTreeView* list = m_Window.ListView();
    list->setUpdatesEnabled(false);
    const int count = ImportShortcuts(LocalPaths(files), *folder, m_Prompts, &m_Window.TreeEdits());
    list->setUpdatesEnabled(true);
    if (count > 0) {
        m_Window.Document().MarkModified();
    }
}

// --- the browser's page -----------------------------------------------------------------

TBrowserConversation& TImportActions::Conversation() {
    if (m_Conversation != nullptr) {
        return *m_Conversation;
    }
    if (!m_OwnConversation) {
        m_OwnConversation = std::make_unique<TLinuxBrowserConversation>(Home());
    }
    return *m_OwnConversation;
}

std::optional<TBrowserAnswer> TImportActions::ChooseAnswer(const TBrowserAnswer& ie, const TBrowserAnswer& nn) {
    const bool nnFirst =
        m_Settings != nullptr ? m_Settings->Get(opt::Main::ImpBrowserNNFirst) : opt::Main::ImpBrowserNNFirst.Default;
    const bool confirm =
        m_Settings != nullptr ? m_Settings->Get(opt::Main::ImpBrowserConfirm) : opt::Main::ImpBrowserConfirm.Default;
    if (!confirm) {
        TBrowserAnswer chosen = ChooseBrowserAnswer(ie, nn, nnFirst);
        return chosen.Found ? std::optional(chosen) : std::nullopt;
    }
    TImpBrowserDlg dialog(m_Settings, &m_Window);
    dialog.Load(ie, nn, nnFirst);
    const bool ok = m_RunBrowserDialog ? m_RunBrowserDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!ok) {
        return std::nullopt;
    }
    if (m_Settings != nullptr) {
        m_Settings->Set(opt::Main::ImpBrowserConfirm, !dialog.DontConfirm());
    }
    return dialog.Result();
}

void TImportActions::ImportBrowser() {
    THVFolder* folder = m_Window.FolderTree().SelectedFolder();
    if (folder == nullptr) {
        return;
    }
    TBrowserAnswer ie;
    TBrowserAnswer nn;
    {
        TWaitCursor wait;
        ie = QueryBrowser(Conversation(), kIEService);
        nn = QueryBrowser(Conversation(), kNNService);
    }
    if (!ie.Found && !nn.Found) {
        m_Prompts.Information(std::string(kNoBrowser));
        return;
    }
    const std::optional<TBrowserAnswer> chosen = ChooseAnswer(ie, nn);
    // The dialog may have run long enough for the folder to go.
    folder = m_Window.FolderTree().SelectedFolder();
    if (!chosen || folder == nullptr) {
        return;
    }
    THVItem* item = AddBrowserPage(*folder, *chosen, &m_Window.TreeEdits());
    m_Window.Document().MarkModified();
    if (m_Window.ItemList().SelectItem(item)) {
        m_Window.ListView()->setFocus();
    }
}

} // namespace hv

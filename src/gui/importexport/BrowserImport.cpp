#include "importexport/BrowserImport.h"

#include "importexport/BookmarkStore.h"
#include "importexport/ImpBookmark.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "model/HVFolder.h"
#include "platform/UserPrompts.h"

#include <QAction>

namespace hv {

TBrowserImport::TBrowserImport(THVWindow& window, TUserPrompts& prompts, QObject* parent)
    : QObject(parent), m_Window(window), m_Prompts(prompts), m_Home(TBrowserHome::FromEnvironment()) {
    actImportBrowserBookmarks = new QAction(QStringLiteral("ブラウザのブックマーク(&W)..."), this);
    actImportBrowserBookmarks->setObjectName(QStringLiteral("actImportBrowserBookmarks"));
    actImportBrowserBookmarks->setStatusTip(QStringLiteral("ブラウザのブックマークを取り込みます"));
    connect(actImportBrowserBookmarks, &QAction::triggered, this, [this] { Execute(); });
}

std::vector<TBrowserStoreRow> TBrowserImport::ListStores() const {
    std::vector<TBrowserStoreRow> rows;
    for (TBrowserStore& store : FindBrowserStores(m_Home)) {
        TBrowserStoreRow row{std::move(store), -1, {}};
        try {
            row.Count = ReadBookmarkStore(row.Store.Path).ItemCount();
        } catch (const EBookmarkStoreError& e) {
            row.Error = e.what();
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

bool TBrowserImport::Execute() {
    THVFolder* target = m_Window.FolderTree().SelectedFolder();
    if (target == nullptr) {
        return false;
    }
    if (!CanImportBookmarksInto(*target)) {
        m_Prompts.Information(std::string(kBookmarkFolderHasSubfolders), std::string(kImportBookmarkCaption));
        return false;
    }
    const std::vector<TBrowserStoreRow> rows = ListStores();
    if (rows.empty()) {
        m_Prompts.Information(std::string(kNoBrowserStores));
        return false;
    }
    std::optional<TBrowserStore> chosen;
    if (m_Chooser) {
        chosen = m_Chooser(rows);
    } else {
        TBrowserImportDlg dialog(&m_Window);
        chosen = dialog.Execute(rows);
    }
    return chosen && ImportStore(chosen->Path);
}

bool TBrowserImport::ImportStore(const std::string& path) {
    THVFolder* target = m_Window.FolderTree().SelectedFolder();
    if (target == nullptr) {
        return false;
    }
    TBookmarkTree tree;
    try {
        tree = ReadBookmarkStore(path);
    } catch (const EBookmarkStoreError& e) {
        m_Prompts.Error(e.what());
        return false;
    }
    TBookmarkImportResult result;
    m_Window.ChangeTree([&] { result = InsertBookmarkTree(tree, *target); });
    if (result.Modified) {
        m_Window.Document().MarkModified();
    }
    m_Prompts.Information(std::string(kBookmarkImportDone));
    return result.Modified;
}

} // namespace hv

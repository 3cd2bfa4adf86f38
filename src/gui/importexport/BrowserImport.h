#pragma once

#include "importexport/BrowserImportDlg.h"
#include "importexport/BrowserStores.h"

#include <QObject>

#include <functional>
#include <optional>
#include <vector>

class QAction;

namespace hv {

class THVWindow;
class TUserPrompts;

// The File menu's import of the browsers' own bookmark stores into the selected folder, with the
// bookmark import's rules: refused when the folder has subfolders; else the stores found are
// listed (or "ブラウザのブックマークが見つかりません。" is said), the chosen one is read, put
// below the folder, the document marked modified and the completion told.
class TBrowserImport : public QObject {
    Q_OBJECT

public:
    // Chooses one of the rows (the dialog by default); nullopt cancels.
    using TChooser = std::function<std::optional<TBrowserStore>(const std::vector<TBrowserStoreRow>& rows)>;

    TBrowserImport(THVWindow& window, TUserPrompts& prompts, QObject* parent = nullptr);

    QAction* actImportBrowserBookmarks = nullptr;

    // For tests: where the stores are looked for, and the choice instead of the dialog.
    void SetHome(TBrowserHome home) { m_Home = std::move(home); }
    void SetChooser(TChooser chooser) { m_Chooser = std::move(chooser); }

    // The action. Returns whether anything was imported.
    bool Execute();
    // The stores found, each read for its count.
    std::vector<TBrowserStoreRow> ListStores() const;
    // Imports the store at path into the selected folder (no subfolder check); errors are told.
    bool ImportStore(const std::string& path);

private:
    THVWindow& m_Window;
    TUserPrompts& m_Prompts;
    TBrowserHome m_Home;
    TChooser m_Chooser;
};

} // namespace hv

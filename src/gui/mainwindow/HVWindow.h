#pragma once

#include "app/QtUserPrompts.h"
#include "document/HVDocument.h"
#include "model/TreeEdits.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTreeView;

namespace hv {

class TBrowserImport;
class TClipboardActions;
class TConfigCommand;
class TDocumentCommands;
class TDragDrop;
class TExportActions;
class TFolderTreeController;
class TFolderTreeModel;
class TImportActions;
class TItemListController;
class THVItem;
class TSearchWindows;
class TSettings;
class TWindowLayout;
class TTrayIcon;
class TTreeMenu;

// The main window: the folder tree `TreeView` beside the item list, below them the info panel
// and the memo box, the status bar with four panels, the menus and the tool bars. It owns the
// open document and tells the controllers what the document reports. Every edit of the tree goes
// through its tree edits, which the folder tree model, the item list model and the window itself
// observe; the window turns the notices for other windows into its signals.
class THVWindow : public QMainWindow, private TDocumentView, private TTreeObserver {
    Q_OBJECT

public:
    // settings may be nullptr (no recent files, no view state, defaults everywhere); prompts
    // nullptr shows message boxes.
    explicit THVWindow(TSettings* settings = nullptr, TUserPrompts* prompts = nullptr, QWidget* parent = nullptr);
    ~THVWindow() override;

    // The start-up open, once the window is shown: the document named on the command line when
    // that file exists, else the most recent file when StartWithFile is on. preload, when given,
    // may hold that document read ahead.
    void StartUpOpen(const QString& commandLinePath, TDocumentPreload* preload = nullptr);
    void SetDebugMode(bool on);
    // Runs change, which adds folders and items anywhere in the tree, with the views let go of
    // the tree before and shown it again afterwards (the selected folder kept).
    void ChangeTree(const std::function<void()>& change);

    THVDocument& Document() { return *m_Document; }
    TTreeEdits& TreeEdits() { return m_TreeEdits; }
    TFolderTreeController& FolderTree() { return *m_FolderTree; }
    TItemListController& ItemList() { return *m_ItemController; }
    TDocumentCommands& DocumentCommands() { return *m_Commands; }
    TBrowserImport& BrowserImport() { return *m_BrowserImport; }
    TExportActions& Exports() { return *m_Exports; }
    TConfigCommand& ConfigCommand() { return *m_Config; }
    TTreeMenu& TreeMenu() { return *m_TreeMenu; }
    TTrayIcon& Tray() { return *m_Tray; }
    TClipboardActions& Clipboard() { return *m_Clipboard; }
    TDragDrop& DragDrop() { return *m_DragDrop; }
    TImportActions& Imports() { return *m_Imports; }
    QTreeView* TreeView() const { return m_TreeView; }
    QTreeView* ListView() const { return m_ItemList; }
    QPlainTextEdit* MemoBox() const { return m_Memo; }
    TFolderTreeModel* FolderModel() const { return m_Model; }
    QLabel* StatusPanel(int index) const { return m_Panels.at(static_cast<std::size_t>(index)); }
    TSearchWindows& SearchWindows() const { return *m_SearchWindows; }
    TWindowLayout& Layout() const { return *m_Layout; }
    // Shows folder in the tree and its items at once, and selects item there when given and
    // listed (a result opened from a search window).
    void ShowFolderItem(THVFolder* folder, const THVItem* item);
    // The display settings applied again (after the options dialog): the tree, the list, the
    // memo font, the open search windows and the tray icon follow the settings now.
    void ApplySettings();

signals:
    // Another window keeps references into the tree: these come before an item or a folder
    // (with everything below it) is freed, and when an item moved to another folder.
    void itemAboutToBeFreed(hv::THVItem* item);
    void folderAboutToBeFreed(hv::THVFolder* folder);
    void itemMoved(hv::THVItem* oldItem, hv::THVItem* newItem, hv::THVFolder* newFolder);
    // An item was renamed or edited; a folder was renamed or took in another one.
    void itemChanged(hv::THVItem* item);
    void folderChanged(hv::THVFolder* folder);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // TDocumentView
    void CaptionChanged(const std::string& caption) override;
    void BusyChanged(bool busy) override;
    void RootAboutToChange() override;
    void RootChanged() override;
    void TreeAboutToChange() override;
    void TreeChanged() override;
    const THVFolder* SelectedFolder() const override;
    std::optional<std::string> AskSaveFileName() override;

    // TTreeObserver
    void ItemAboutToBeFreed(THVItem& item) override;
    void FolderAboutToBeFreed(THVFolder& folder) override;
    void ItemMoved(THVItem& oldItem, THVItem& newItem, THVFolder& newFolder) override;
    void ItemChanged(THVItem& item) override;
    void FolderChanged(THVFolder& folder) override;

    void CreateWidgets();
    void CreateMenus();
    void RestoreLayout();
    void StoreLayout();

    TQtUserPrompts m_OwnPrompts;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    std::unique_ptr<THVDocument> m_Document;
    TTreeEdits m_TreeEdits;
    TFolderTreeModel* m_Model = nullptr;
    TFolderTreeController* m_FolderTree = nullptr;
    TDocumentCommands* m_Commands = nullptr;
    TBrowserImport* m_BrowserImport = nullptr;
    TExportActions* m_Exports = nullptr;
    TConfigCommand* m_Config = nullptr;
    TTreeMenu* m_TreeMenu = nullptr;
    TTrayIcon* m_Tray = nullptr;
    TClipboardActions* m_Clipboard = nullptr;
    TDragDrop* m_DragDrop = nullptr;
    TImportActions* m_Imports = nullptr;
    QTreeView* m_TreeView = nullptr;
    TItemListController* m_ItemController = nullptr;
    QTreeView* m_ItemList = nullptr;
    QWidget* m_InfoPanel = nullptr;
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblURL = nullptr;
    QPlainTextEdit* m_Memo = nullptr;
    QSplitter* m_MainSplitter = nullptr;
    QSplitter* m_TreeSplitter = nullptr;
    TSearchWindows* m_SearchWindows = nullptr;
    TWindowLayout* m_Layout = nullptr;
    QMenu* m_DebugMenu = nullptr;
    std::array<QLabel*, 4> m_Panels{};
    bool m_LayoutStored = false;
};

} // namespace hv

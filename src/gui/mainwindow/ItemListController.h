#pragma once

#include "model/ItemOrder.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QListView;
class QMenu;
class QModelIndex;
class QPlainTextEdit;
class QTreeView;
class QWidget;

namespace hv {

class TClock;
class THVDocument;
class THVFolder;
class THVItem;
class TCmdItem;
class TItemCommandMenu;
class TItemListModel;
class TItemListViews;
class TItemPropDlg;
class TSelectFolderDlg;
class THVList;
class TMemoryRegistryStore;
struct TPropDlgServices;
class TNetworkConnections;
class TSettings;
class TShellLauncher;
class TTreeEdits;
class TUserPrompts;

// The item messages.
QString DeleteItemQuestion(const QString& name);
QString DeleteItemsQuestion(int count);
inline constexpr const char* kDeleteItemTitle = "アイテムの削除";
// Status panel 1: "5個 (2個選択)".
QString ItemCountText(int rows, int selected);
// Status panel 2: "名前順（昇順）", "URL順（降順）", ...
QString SortOrderText(const TItemOrder& order);

// The item list of the main window: the list view `ListView` over the item-list model, the
// current item with the memo box and the info panel bound to it, status panels 1 and 2, the
// sort state and the item commands (open, run the item's commands, move, copy, delete, rename).
// The item edits are the core's tree edits; the model hears of them as an observer. The
// controller's parts: ItemListActions.cpp (actions, menu, keys), ItemListEditing.cpp (the item
// edits), ItemListLaunch.cpp (opening items, running commands, the properties dialog).
class TItemListController : public QObject {
    Q_OBJECT

public:
    struct TWidgets {
        QTreeView* List = nullptr;
        QPlainTextEdit* Memo = nullptr;
        QLabel* Title = nullptr;
        QLabel* URL = nullptr;
        QLabel* CountPanel = nullptr;
        QLabel* SortPanel = nullptr;
        // The list view of names; nullptr: the report only.
        QListView* Names = nullptr;
    };

    TItemListController(const TWidgets& widgets, THVDocument& document, TTreeEdits& edits, TUserPrompts& prompts,
                        TSettings* settings, QWidget* window);
    ~TItemListController() override;

    QAction* actOpenItem = nullptr;
    QAction* actItemProp = nullptr;
    QAction* actAddItem = nullptr;
    QAction* actMoveItem = nullptr;
    QAction* actCopyItem = nullptr;
    QAction* actDeleteItem = nullptr;
    QAction* actViewReport = nullptr;
    QAction* actNameOrder = nullptr;
    QAction* actURLOrder = nullptr;
    QAction* actDateOrder = nullptr;
    QAction* actAscending = nullptr;
    QAction* actDescending = nullptr;
    // Fills the "アイテム(&I)" menu; while it is open it lists the current item's commands
    // after "開く(&O)".
    void FillMenu(QMenu* menu);
    QMenu* Popup() const { return m_Popup; }

    TItemListModel* Model() const { return m_Model; }
    TItemListViews& Views() const { return *m_Views; }
    THVFolder* ShownFolder() const { return m_Folder; }
    THVItem* CurrentItem() const { return m_Current; }
    std::vector<THVItem*> SelectedItems() const;
    const TItemOrder& Order() const { return m_Order; }

    // The launcher and the connection check used to open items; nullptr restores the system's.
    void SetLaunchers(TShellLauncher* shell, TNetworkConnections* network);

    // How the item properties dialog is run (item nullptr: a new item); tests drive the dialog
    // through Load, CheckOK and Store instead of showing it. Returns whether OK was chosen.
    using TDialogRunner = std::function<bool(TItemPropDlg& dialog, THVItem* item, const THVList& list)>;
    void SetItemDialogRunner(TDialogRunner runner) { m_RunDialog = std::move(runner); }
    TItemPropDlg& ItemDialog();

    // Runs the folder picker, already loaded, in place of showing it (tests choose the folder
    // and the name and call CheckOK); returns whether OK was chosen. Empty: the dialog shows.
    using TFolderPickerRunner = std::function<bool(TSelectFolderDlg& dialog)>;
    void SetFolderPickerRunner(TFolderPickerRunner runner) { m_RunPicker = std::move(runner); }

    // Fills the rows with the folder's items in the current order (nullptr: empty list).
    void ShowFolder(THVFolder* folder);
    // Makes item's row the only selected and the focused one; false when it is not listed.
    bool SelectItem(const THVItem* item);
    // Writes a pending edit of the memo box back to the current item.
    void StoreMemo();
    void SetSortType(int type);
    void SetSortDescending(bool descending);
    // Opens the current item when its row is selected; returns whether the launch happened.
    bool OpenCurrentItem();
    // Sets the item's access time to now, refreshes its row and marks the document modified.
    void RecordAccess(THVItem& item);
    // The properties dialog for the current item; on OK its row is refreshed and re-sorted.
    bool EditCurrentItem();
    // The properties dialog for a new item; on OK the item is added to the shown folder and
    // becomes the only selected row.
    bool AddItem();
    // Asks, then frees the selected items.
    void DeleteSelectedItems();
    // Frees items without asking (a cut, a move to another program); the document is modified.
    void DeleteItemsWithoutAsking(const std::vector<THVItem*>& items);
    // Moves items into target (a drop on the tree), their names made unique there.
    void MoveItemsTo(const std::vector<THVItem*>& items, THVFolder* target);
    // The folder picker, then the selected items move (each announced by itemMoved) or are
    // copied to the chosen folder, their names made unique there.
    void MoveSelectedItems();
    void CopySelectedItems();
    // Opens a URL or runs a command line through the launch routine, without recording the
    // access; returns whether the launch happened.
    bool Launch(const std::string& text);
    // Runs one of the current item's commands; returns whether the launch happened.
    bool RunCommand(const TCmdItem& command);
    // Reads the display options again (hot tracking, date texts, colours, sorting of
    // never-visited items) and repaints the rows.
    void ApplySettings();
    // Report view (columns) or list view (names).
    void SetReportView(bool on);
    // Writes ViewReport and ColumnWidths, as the window does when it closes.
    void StoreLayout();
    // The in-place rename rules; returns whether the item took the name.
    bool RenameItem(THVItem* item, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions(QWidget* window);
    void OnCurrentChanged(const QModelIndex& current);
    void OnMemoChanged();
    void OnHeaderClicked(int section);
    void SortChanged();
    // Sorts the shown items in the current order; false when there is nothing to sort.
    bool SortShownItems();
    void UpdateActions();
    void UpdateCountPanel();
    void ReadOptions();
    void SelectRow(int row);
    void ApplyDisplaySettings();
    void FitColumns();
    bool AutoResizeColumns() const;
    bool RunPicker(int mode, const QString& name, THVFolder*& folder, std::string& chosenName);
    // The rows of items that were freed are gone: the focused row becomes the current item.
    void RowsRemoved();

    QTreeView* m_List;
    QPlainTextEdit* m_Memo;
    QLabel* m_Title;
    QLabel* m_URL;
    QLabel* m_CountPanel;
    QLabel* m_SortPanel;
    THVDocument& m_Document;
    TTreeEdits& m_Edits;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    TItemListModel* m_Model;
    TItemListViews* m_Views;
    std::unique_ptr<TShellLauncher> m_OwnShell;
    std::unique_ptr<TNetworkConnections> m_OwnNetwork;
    TShellLauncher* m_Shell;
    TNetworkConnections* m_Network;
    std::unique_ptr<TMemoryRegistryStore> m_OwnStore;
    std::unique_ptr<TSettings> m_OwnSettings;
    std::unique_ptr<TPropDlgServices> m_PropServices;
    TItemPropDlg* m_PropDlg = nullptr;
    QMenu* m_Popup = nullptr;
    TItemCommandMenu* m_CommandMenu = nullptr;
    TDialogRunner m_RunDialog;
    TFolderPickerRunner m_RunPicker;
    QWidget* m_Window;
    TItemOrder m_Order;
    THVFolder* m_Folder = nullptr;
    THVItem* m_Current = nullptr;
    bool m_LoadingMemo = false;
    bool m_MemoDirty = false;
};

} // namespace hv

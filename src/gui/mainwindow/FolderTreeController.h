#pragma once

#include "mainwindow/FolderHistory.h"
#include "settings/Settings.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QModelIndex;
class QTreeView;
class QWidget;

namespace hv {

class THVDocument;
class THVFolder;
class TFolderTreeModel;
class TSelectFolderDlg;
class TTreeEdits;
class TUserPrompts;

inline constexpr const char* kFolderNotFoundMessage = "フォルダが見つかりません。";

// The folder tree of the main window: the tree view over the model, the shown folder (status
// panel 0 and the folderShown signal after the change delay), the folder history and the folder
// commands of the "フォルダ(&O)" menu, the tree's keys and the Alt-key navigation. The folder
// edits are the core's tree edits; the model hears of them as an observer. The controller's
// parts: FolderTreeActions.cpp (actions and menus), FolderTreeEditing.cpp (the folder edits),
// FolderTreeDrag.cpp (moving into another folder, dragging over the tree), FolderTreeHover.cpp
// (hover selection, hints, mouse and keys).
class TFolderTreeController : public QObject {
    Q_OBJECT

public:
    TFolderTreeController(QTreeView* tree, TFolderTreeModel* model, THVDocument& document, TTreeEdits& edits,
                          TUserPrompts& prompts, TSettings* settings, QLabel* folderPanel, QWidget* window);

    // The actions, for menus and tool bars.
    QAction* actBackFolder = nullptr;
    QAction* actNextFolder = nullptr;
    QAction* actAddFolder = nullptr;
    QAction* actRenameFolder = nullptr;
    QAction* actMoveFolderForward = nullptr;
    QAction* actMoveFolderBack = nullptr;
    QAction* actDeleteFolder = nullptr;
    QAction* actExpandSubFolder = nullptr;
    QAction* actExpandAllFolder = nullptr;
    // Fills the "フォルダ(&O)" menu.
    void FillMenu(QMenu* menu) const;
    // The drop-down menus of the back and forward tool buttons, filled each time they open.
    QMenu* RecentFolderPopup1 = nullptr;
    QMenu* RecentFolderPopup2 = nullptr;
    // The tree's context menu.
    QMenu* TreeViewPopup = nullptr;

    // The tree options of the settings: buttons, hints, root lines, automatic expansion, the
    // change delay, the indentation, hover selection; SortFolder sorts the whole tree.
    void ApplySettings();
    // The memo box: while it has the focus, hovering over the tree selects nothing.
    void SetMemoBox(QWidget* memo) { m_Memo = memo; }

    // How the folder picker is run when a folder is added. The dialog comes loaded; the runner
    // returns whether it was confirmed. Tests choose folder and name and call CheckOK instead
    // of showing it.
    using TFolderPickerRunner = std::function<bool(TSelectFolderDlg& loadedDialog)>;
    void SetFolderPickerRunner(TFolderPickerRunner runner) { m_RunPicker = std::move(runner); }

    THVFolder* SelectedFolder() const;
    THVFolder* ShownFolder() const { return m_Shown; }
    // The folder the context menu was opened on, until the menus are reset.
    THVFolder* PopupTarget() const { return m_PopupTarget; }
    THVFolder* HoverFolder() const { return m_HoverNode; }
    const TFolderHistory& History() const { return m_History; }
    void SelectFolder(THVFolder* folder);
    // Selects folder and shows its items at once, without the change delay.
    void OpenFolderNow(THVFolder* folder);

    // The document's root is about to be replaced, and has been (new, open).
    void RootAboutToChange();
    void RootChanged(THVFolder* selected);
    // A merge adds to the tree.
    void TreeAboutToChange();
    void TreeChanged();

    // The selection-change work: status panel 0, the enabled actions, the history.
    void ShowFolder(THVFolder* folder);
    void GoToHistory(int index);

    void AddFolder();
    // Adds a folder named name under parent, as the folder picker's OK does. Returns the new
    // folder, or nullptr when the name is empty or taken there.
    THVFolder* AddFolderUnder(THVFolder* parent, const std::string& name);
    // The rename rules; returns whether the folder took the name.
    bool RenameFolder(THVFolder* folder, const QString& text);
    void DeleteFolder();
    // Frees folder (not the root) with everything below it without asking (a move to another
    // program); the document is modified.
    void DeleteFolderWithoutAsking(THVFolder* folder);
    void MoveFolder(int delta);
    // The context menu on the folder at pos (viewport coordinates), or with the keyboard on the
    // selected folder at the tree's top-left corner.
    void OpenPopup(const QPoint& pos, bool byKeyboard);
    // A menu closed: on the next idle moment the popup target is dropped and the folder commands
    // follow the selected folder again.
    void ScheduleMenuReset();
    // The merging move of a folder dropped on another (TTreeEdits::MoveFolderInto), then the
    // receiving folder shown. Returns it, or nullptr when the move makes no sense (the root,
    // a folder into itself, below itself or into its own parent).
    THVFolder* MoveFolderInto(THVFolder* source, THVFolder* target);
    // A drag over the tree: entering, then each move over it (viewport coordinates), leaving.
    // DragOver marks the folder under the mouse as the drop target, scrolls near the edges and
    // opens a folder the mouse rests on, and returns that folder.
    void DragEnter();
    THVFolder* DragOver(const QPoint& pos);
    void DragLeave();
    void ExpandSubFolders();
    void ExpandAllFolders();
    // Alt+Page Up, Alt+Page Down, Alt+Up, Alt+Down.
    void SelectRootFolder();
    void SelectLastFolder();
    void SelectPreviousFolder();
    void SelectNextFolder();

signals:
    // The folder whose items the list shows (nullptr: none).
    void folderShown(hv::THVFolder* folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions(QWidget* window);
    void OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void OnHoverMove(const QPoint& pos);
    void OnHoverTimer();
    bool ShowLabelHint(const QPoint& pos);
    THVFolder* LabelFolderAt(const QPoint& pos) const;
    void FillHistoryMenu(QMenu* menu, bool back);
    void ResetMenus();
    void OnExpandedChanged(const QModelIndex& index, bool expanded);
    void ApplyExpandedStates();
    void UpdateActions();
    void UpdateHistoryActions();
    template <THashKeyKind Kind> auto Opt(const TOptionKey<Kind>& option) const {
        return m_Settings != nullptr ? m_Settings->Get(option) : option.Default;
    }
    bool SortFolders() const;
    bool FullPath() const;
    THVFolder* CommandTarget() const;

    QTreeView* m_Tree;
    TFolderTreeModel* m_Model;
    THVDocument& m_Document;
    TTreeEdits& m_Edits;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    QLabel* m_FolderPanel;
    QWidget* m_Window;
    QPointer<QWidget> m_Memo;
    QTimer m_ChangeTimer;
    QTimer m_HoverTimer;
    TFolderHistory m_History;
    TFolderPickerRunner m_RunPicker;
    THVFolder* m_Shown = nullptr;
    THVFolder* m_PopupTarget = nullptr;
    THVFolder* m_HoverNode = nullptr;
    QPoint m_HoverPos;
    THVFolder* m_DragHoverNode = nullptr;
    int m_DragHoverCount = 0;
    int m_DragVisibleRows = 0;
    bool m_HotTrack = true;
    bool m_AutoExpand = false;
    bool m_ShowHints = true;
    bool m_Navigating = false;
    bool m_Resetting = false;
    bool m_ResetPending = false;
};

} // namespace hv

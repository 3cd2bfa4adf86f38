#pragma once

#include "mainwindow/FolderHistory.h"

#include <QObject>
#include <QString>
#include <QTimer>

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
class THVItem;
class TFolderTreeModel;
class TSettings;
class TUserPrompts;

// The folder messages.
QString DuplicateFolderMessage(const QString& name);
inline constexpr const char* kEmptyNameMessage = "名前が入力されていません。";
inline constexpr const char* kFolderNotFoundMessage = "フォルダが見つかりません。";
// A name as in-place renaming keeps it: characters below 32 removed, "\" turned into "￥".
std::string CleanFolderName(const QString& text);

// The folder tree of the main window: the tree view over the model, the shown folder (status
// panel 0 and the folderShown signal after the change delay), the folder history and the folder
// commands of the "フォルダ(&O)" menu, the tree's keys and the Alt-key navigation.
class TFolderTreeController : public QObject {
    Q_OBJECT

public:
    TFolderTreeController(QTreeView* tree, TFolderTreeModel* model, THVDocument& document, TUserPrompts& prompts,
                          TSettings* settings, QLabel* folderPanel, QWidget* window);

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

    THVFolder* SelectedFolder() const;
    THVFolder* ShownFolder() const { return m_Shown; }
    const TFolderHistory& History() const { return m_History; }
    void SelectFolder(THVFolder* folder);

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
    // Adds a folder named name under parent, as the folder picker's OK does; the name must have
    // been checked. Returns the new folder.
    THVFolder* AddFolderUnder(THVFolder* parent, const std::string& name);
    // The rename rules; returns whether the folder took the name.
    bool RenameFolder(THVFolder* folder, const QString& text);
    void DeleteFolder();
    void MoveFolder(int delta);
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
    // Sent before an item or a folder with everything below it is freed.
    void itemAboutToBeFreed(hv::THVItem* item);
    void folderAboutToBeFreed(hv::THVFolder* folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions(QWidget* window);
    void OnCurrentChanged(const QModelIndex& current);
    void OnExpandedChanged(const QModelIndex& index, bool expanded);
    void ApplyExpandedStates();
    void UpdateActions();
    void UpdateHistoryActions();
    void AnnounceFreed(THVFolder* folder);
    bool SortFolders() const;
    bool FullPath() const;
    THVFolder* CommandTarget() const;

    QTreeView* m_Tree;
    TFolderTreeModel* m_Model;
    THVDocument& m_Document;
    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    QLabel* m_FolderPanel;
    QTimer m_ChangeTimer;
    TFolderHistory m_History;
    THVFolder* m_Shown = nullptr;
    THVFolder* m_PopupTarget = nullptr;
    bool m_Navigating = false;
    bool m_Resetting = false;
};

} // namespace hv

#pragma once

#include "model/TreeEdits.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <vector>

class QStyle;

namespace hv {

class THVFolder;

// The tree's images: the program's icon for the root, a closed folder, and an open folder for the
// selected one. Theme icons where the desktop has them, the style's own otherwise.
struct TFolderIcons {
    QIcon Root;
    QIcon Closed;
    QIcon Open;

    static QIcon ProgramIcon();
    static TFolderIcons Standard(const QStyle* style);
};

// The document's folders as a tree with one top row, the root. The model reads the tree of the
// root it is given and hears of every change through the tree edits it observes, so the views
// follow. Only folders other than the root can be renamed in place; the new text goes to the
// rename handler, which has the tree edits rename the folder.
class TFolderTreeModel : public QAbstractItemModel, public TTreeObserver {
    Q_OBJECT

public:
    // Returns whether the folder took the text.
    using TRenameHandler = std::function<bool(THVFolder* folder, const QString& text)>;

    explicit TFolderTreeModel(QObject* parent = nullptr);

    THVFolder* Root() const { return m_Root; }
    // Around a replacement of the whole tree (new document, open, merge).
    void BeginReset();
    void EndReset(THVFolder* root);

    void SetRenameHandler(TRenameHandler handler) { m_RenameHandler = std::move(handler); }
    void SetIcons(const TFolderIcons& icons);
    const TFolderIcons& Icons() const { return m_Icons; }
    // The folder that shows the open-folder image (the selected one).
    void SetOpenFolder(const THVFolder* folder);
    const THVFolder* OpenFolder() const { return m_OpenFolder; }
    // The folder marked as the target of a context menu or a drop (nullptr: none).
    void SetDropHighlight(const THVFolder* folder);
    const THVFolder* DropHighlight() const { return m_DropHighlight; }

    THVFolder* nodeFromIndex(const QModelIndex& index) const;
    QModelIndex IndexOf(const THVFolder* folder) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // TTreeObserver
    void FolderAboutToBeInserted(THVFolder& parent, int index) override;
    void FolderInserted(THVFolder& folder) override;
    void FolderAboutToBeRemoved(THVFolder& folder) override;
    void FolderRemoved(THVFolder& parent, int index) override;
    void FolderAboutToBeMoved(THVFolder& folder, int to) override;
    void FolderMoved(THVFolder& folder) override;
    void FolderChanged(THVFolder& folder) override;
    void ChildrenAboutToBeSorted(THVFolder& parent) override;
    void ChildrenSorted(THVFolder& parent) override;

private:
    void Mark(const THVFolder*& marked, const THVFolder* folder, int role);

    THVFolder* m_Root = nullptr;
    TRenameHandler m_RenameHandler;
    TFolderIcons m_Icons;
    const THVFolder* m_OpenFolder = nullptr;
    const THVFolder* m_DropHighlight = nullptr;
    // Around a sort: the persistent indexes and their folders before it.
    QModelIndexList m_SortBefore;
    std::vector<THVFolder*> m_SortFolders;
};

} // namespace hv

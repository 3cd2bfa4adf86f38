#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <vector>

class QStyle;

namespace hv {

class THVFolder;
class THVItem;

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
// root it is given; every change the window makes to folders goes through the methods below, so
// the views hear of it. Only folders other than the root can be renamed in place; the new text
// goes to the rename handler, which decides (cleaning, messages) and calls RenameFolder.
class TFolderTreeModel : public QAbstractItemModel {
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

    // A new child at the end of parent's children, or in name order when sorted.
    THVFolder* AddFolder(THVFolder* parent, const std::string& name, bool sorted);
    void RenameFolder(THVFolder* folder, const std::string& name, bool sorted);
    // Swaps folder with its previous (delta -1) or next (delta 1) sibling; false without one.
    bool MoveFolder(THVFolder* folder, int delta);
    // Frees folder with everything below it (not the root).
    void DeleteFolder(THVFolder* folder);
    // Moves every item of source into receiver (last first, each made unique there and announced
    // to itemMoved before the old one is freed), then every sub-folder into receiver's child of
    // the same name, made when there is none; each receiving folder takes the expanded state of
    // its source. source itself stays, empty. Returns the receiving folders.
    using TItemMoved = std::function<void(THVItem* oldItem, THVItem* newItem, THVFolder* folder)>;
    std::vector<THVFolder*> MergeFolder(THVFolder* source, THVFolder* receiver, bool sorted,
                                        const TItemMoved& itemMoved);
    // Puts the children of parent in name order.
    void SortChildren(THVFolder* parent);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void Mark(const THVFolder*& marked, const THVFolder* folder, int role);

    THVFolder* m_Root = nullptr;
    TRenameHandler m_RenameHandler;
    TFolderIcons m_Icons;
    const THVFolder* m_OpenFolder = nullptr;
    const THVFolder* m_DropHighlight = nullptr;
};

} // namespace hv

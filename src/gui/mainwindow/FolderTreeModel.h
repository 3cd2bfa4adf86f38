#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>

namespace hv {

class THVFolder;

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
    void SetIcons(const QIcon& rootIcon, const QIcon& folderIcon);

    THVFolder* nodeFromIndex(const QModelIndex& index) const;
    QModelIndex IndexOf(const THVFolder* folder) const;

    // A new child at the end of parent's children, or in name order when sorted.
    THVFolder* AddFolder(THVFolder* parent, const std::string& name, bool sorted);
    void RenameFolder(THVFolder* folder, const std::string& name, bool sorted);
    // Swaps folder with its previous (delta -1) or next (delta 1) sibling; false without one.
    bool MoveFolder(THVFolder* folder, int delta);
    // Frees folder with everything below it (not the root).
    void DeleteFolder(THVFolder* folder);
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
    THVFolder* m_Root = nullptr;
    TRenameHandler m_RenameHandler;
    QIcon m_RootIcon;
    QIcon m_FolderIcon;
};

} // namespace hv

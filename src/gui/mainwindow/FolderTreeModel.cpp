#include "mainwindow/FolderTreeModel.h"

#include "model/HVFolder.h"

namespace hv {

TFolderTreeModel::TFolderTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void TFolderTreeModel::BeginReset() {
    beginResetModel();
    m_Root = nullptr;
}

void TFolderTreeModel::EndReset(THVFolder* root) {
    m_Root = root;
    endResetModel();
}

void TFolderTreeModel::SetIcons(const QIcon& rootIcon, const QIcon& folderIcon) {
    m_RootIcon = rootIcon;
    m_FolderIcon = folderIcon;
}

THVFolder* TFolderTreeModel::nodeFromIndex(const QModelIndex& index) const {
    return index.isValid() ? static_cast<THVFolder*>(index.internalPointer()) : nullptr;
}

QModelIndex TFolderTreeModel::IndexOf(const THVFolder* folder) const {
    if (folder == nullptr || m_Root == nullptr) {
        return {};
    }
    if (folder == m_Root) {
        return createIndex(0, 0, m_Root);
    }
    THVFolder* parent = folder->Parent();
    return parent == nullptr ? QModelIndex()
                             : createIndex(parent->IndexOfChild(folder), 0, const_cast<THVFolder*>(folder));
}

QModelIndex TFolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return createIndex(row, column, m_Root);
    }
    return createIndex(row, column, nodeFromIndex(parent)->Child(row));
}

QModelIndex TFolderTreeModel::parent(const QModelIndex& child) const {
    const THVFolder* folder = nodeFromIndex(child);
    return folder == nullptr ? QModelIndex() : IndexOf(folder->Parent());
}

int TFolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (m_Root == nullptr || parent.column() > 0) {
        return 0;
    }
    return parent.isValid() ? nodeFromIndex(parent)->ChildCount() : 1;
}

int TFolderTreeModel::columnCount(const QModelIndex& /*parent*/) const {
    return 1;
}

QVariant TFolderTreeModel::data(const QModelIndex& index, int role) const {
    const THVFolder* folder = nodeFromIndex(index);
    if (folder == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(folder->Name());
    case Qt::DecorationRole:
        return folder == m_Root ? m_RootIcon : m_FolderIcon;
    default:
        return {};
    }
}

bool TFolderTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    THVFolder* folder = nodeFromIndex(index);
    if (role != Qt::EditRole || folder == nullptr || folder == m_Root || !m_RenameHandler) {
        return false;
    }
    return m_RenameHandler(folder, value.toString());
}

Qt::ItemFlags TFolderTreeModel::flags(const QModelIndex& index) const {
    const THVFolder* folder = nodeFromIndex(index);
    if (folder == nullptr) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (folder != m_Root) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

THVFolder* TFolderTreeModel::AddFolder(THVFolder* parent, const std::string& name, bool sorted) {
    // Added at the end first, then put in its place, so that the views see a plain insert.
    const int row = parent->ChildCount();
    beginInsertRows(IndexOf(parent), row, row);
    THVFolder* child = parent->InsertChild(row, name);
    endInsertRows();
    if (sorted) {
        SortChildren(parent);
    }
    return child;
}

void TFolderTreeModel::RenameFolder(THVFolder* folder, const std::string& name, bool sorted) {
    folder->SetName(name);
    const QModelIndex index = IndexOf(folder);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    if (sorted && folder->Parent() != nullptr) {
        SortChildren(folder->Parent());
    }
}

bool TFolderTreeModel::MoveFolder(THVFolder* folder, int delta) {
    THVFolder* parent = folder->Parent();
    if (parent == nullptr) {
        return false;
    }
    const int from = parent->IndexOfChild(folder);
    const int to = from + delta;
    if (to < 0 || to >= parent->ChildCount()) {
        return false;
    }
    const QModelIndex parentIndex = IndexOf(parent);
    // Qt counts the destination before the move: moving down one row names the row after next.
    if (!beginMoveRows(parentIndex, from, from, parentIndex, delta > 0 ? to + 1 : to)) {
        return false;
    }
    parent->MoveChild(from, to);
    endMoveRows();
    return true;
}

void TFolderTreeModel::DeleteFolder(THVFolder* folder) {
    THVFolder* parent = folder->Parent();
    if (parent == nullptr) {
        return;
    }
    const int row = parent->IndexOfChild(folder);
    beginRemoveRows(IndexOf(parent), row, row);
    parent->DeleteChild(folder);
    endRemoveRows();
}

void TFolderTreeModel::SortChildren(THVFolder* parent) {
    const QModelIndex parentIndex = IndexOf(parent);
    emit layoutAboutToBeChanged({QPersistentModelIndex(parentIndex)}, VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<THVFolder*> folders;
    folders.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) {
        folders.push_back(nodeFromIndex(index));
    }
    parent->SortChildren();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.append(folders[static_cast<std::size_t>(i)] == nullptr ? QModelIndex()
                                                                     : IndexOf(folders[static_cast<std::size_t>(i)]));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({QPersistentModelIndex(parentIndex)}, VerticalSortHint);
}

} // namespace hv

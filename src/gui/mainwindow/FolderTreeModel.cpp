#include "mainwindow/FolderTreeModel.h"

#include "app/DesktopIntegration.h"
#include "model/HVFolder.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStyle>

namespace hv {

QIcon TFolderIcons::ProgramIcon() {
    return hv::ProgramIcon();
}

TFolderIcons TFolderIcons::Standard(const QStyle* style) {
    return {ProgramIcon(), QIcon::fromTheme(QStringLiteral("folder"), style->standardIcon(QStyle::SP_DirClosedIcon)),
            QIcon::fromTheme(QStringLiteral("folder-open"), style->standardIcon(QStyle::SP_DirOpenIcon))};
}

TFolderTreeModel::TFolderTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void TFolderTreeModel::BeginReset() {
    beginResetModel();
    m_Root = nullptr;
    m_OpenFolder = nullptr;
    m_DropHighlight = nullptr;
}

void TFolderTreeModel::EndReset(THVFolder* root) {
    m_Root = root;
    endResetModel();
}

void TFolderTreeModel::SetIcons(const TFolderIcons& icons) {
    m_Icons = icons;
}

void TFolderTreeModel::SetOpenFolder(const THVFolder* folder) {
    Mark(m_OpenFolder, folder, Qt::DecorationRole);
}

void TFolderTreeModel::SetDropHighlight(const THVFolder* folder) {
    Mark(m_DropHighlight, folder, Qt::BackgroundRole);
}

void TFolderTreeModel::Mark(const THVFolder*& marked, const THVFolder* folder, int role) {
    if (folder == marked) {
        return;
    }
    const THVFolder* old = marked;
    marked = folder;
    for (const THVFolder* changed : {old, folder}) {
        if (const QModelIndex index = IndexOf(changed); index.isValid()) {
            emit dataChanged(index, index, {role});
        }
    }
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
    if (parent == nullptr) {
        return {};
    }
    const int row = parent->IndexOfChild(folder);
    return row < 0 ? QModelIndex() : createIndex(row, 0, parent->Child(row));
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
        if (folder == m_Root) {
            return m_Icons.Root;
        }
        return folder == m_OpenFolder ? m_Icons.Open : m_Icons.Closed;
    case Qt::BackgroundRole:
        if (folder == m_DropHighlight) {
            return QGuiApplication::palette().brush(QPalette::Inactive, QPalette::Highlight);
        }
        return {};
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

void TFolderTreeModel::FolderAboutToBeInserted(THVFolder& parent, int index) {
    if (m_Root != nullptr) {
        beginInsertRows(IndexOf(&parent), index, index);
    }
}

void TFolderTreeModel::FolderInserted(THVFolder& /*folder*/) {
    if (m_Root != nullptr) {
        endInsertRows();
    }
}

void TFolderTreeModel::FolderAboutToBeRemoved(THVFolder& folder) {
    if (m_Root == nullptr) {
        return;
    }
    const int row = folder.Parent()->IndexOfChild(&folder);
    beginRemoveRows(IndexOf(folder.Parent()), row, row);
    if (m_OpenFolder != nullptr && m_OpenFolder->IsInside(&folder)) {
        m_OpenFolder = nullptr;
    }
    if (m_DropHighlight != nullptr && m_DropHighlight->IsInside(&folder)) {
        m_DropHighlight = nullptr;
    }
}

void TFolderTreeModel::FolderRemoved(THVFolder& /*parent*/, int /*index*/) {
    if (m_Root != nullptr) {
        endRemoveRows();
    }
}

void TFolderTreeModel::FolderAboutToBeMoved(THVFolder& folder, int to) {
    if (m_Root == nullptr) {
        return;
    }
    const QModelIndex parentIndex = IndexOf(folder.Parent());
    const int from = folder.Parent()->IndexOfChild(&folder);
    // Qt counts the destination before the move: moving down one row names the row after next.
    beginMoveRows(parentIndex, from, from, parentIndex, to > from ? to + 1 : to);
}

void TFolderTreeModel::FolderMoved(THVFolder& /*folder*/) {
    if (m_Root != nullptr) {
        endMoveRows();
    }
}

void TFolderTreeModel::FolderChanged(THVFolder& folder) {
    if (const QModelIndex index = IndexOf(&folder); index.isValid()) {
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    }
}

void TFolderTreeModel::ChildrenAboutToBeSorted(THVFolder& parent) {
    if (m_Root == nullptr) {
        return;
    }
    emit layoutAboutToBeChanged({QPersistentModelIndex(IndexOf(&parent))}, VerticalSortHint);
    m_SortBefore = persistentIndexList();
    m_SortFolders.clear();
    m_SortFolders.reserve(static_cast<std::size_t>(m_SortBefore.size()));
    for (const QModelIndex& index : m_SortBefore) {
        m_SortFolders.push_back(nodeFromIndex(index));
    }
}

void TFolderTreeModel::ChildrenSorted(THVFolder& parent) {
    if (m_Root == nullptr) {
        return;
    }
    QModelIndexList after;
    after.reserve(m_SortBefore.size());
    for (THVFolder* folder : m_SortFolders) {
        after.append(IndexOf(folder));
    }
    changePersistentIndexList(m_SortBefore, after);
    m_SortBefore.clear();
    m_SortFolders.clear();
    emit layoutChanged({QPersistentModelIndex(IndexOf(&parent))}, VerticalSortHint);
}

} // namespace hv

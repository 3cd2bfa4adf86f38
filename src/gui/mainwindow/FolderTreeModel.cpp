#include "mainwindow/FolderTreeModel.h"

#include "model/HVFolder.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPolygonF>
#include <QStyle>

namespace hv {

namespace {

// The program's own image, drawn: a green tile with a white bookmark ribbon and a leaf.
QPixmap ProgramPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    painter.setPen(QPen(QColor(0x1e, 0x5a, 0x2a), 1));
    painter.setBrush(QColor(0x3a, 0x9a, 0x4c));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(
        QPolygonF({QPointF(4, 2.5), QPointF(10, 2.5), QPointF(10, 13.5), QPointF(7, 10.5), QPointF(4, 13.5)}));
    painter.setBrush(QColor(0xb8, 0xe6, 0x8a));
    painter.drawEllipse(QRectF(9.5, 8, 4.5, 3));
    return pixmap;
}

} // namespace

QIcon TFolderIcons::ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addPixmap(ProgramPixmap(size));
    }
    return icon;
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
    if (m_OpenFolder != nullptr && m_OpenFolder->IsInside(folder)) {
        m_OpenFolder = nullptr;
    }
    if (m_DropHighlight != nullptr && m_DropHighlight->IsInside(folder)) {
        m_DropHighlight = nullptr;
    }
    parent->DeleteChild(folder);
    endRemoveRows();
}

std::vector<THVFolder*> TFolderTreeModel::MergeFolder(THVFolder* source, THVFolder* receiver, bool sorted,
                                                      const TItemMoved& itemMoved) {
    std::vector<THVFolder*> receivers;
    // Depth-first over pairs of source and receiving folder, without recursion.
    std::vector<std::pair<THVFolder*, THVFolder*>> pending{{source, receiver}};
    while (!pending.empty()) {
        auto [from, to] = pending.back();
        pending.pop_back();
        THVList& list = from->List();
        for (int i = list.Count() - 1; i >= 0; --i) {
            THVItem* old = list.Items(i);
            THVItem* moved = to->List().Add();
            moved->Assign(*old);
            MakeUniqueName(*moved);
            if (itemMoved) {
                itemMoved(old, moved, to);
            }
            list.Delete(i);
        }
        for (int i = from->ChildCount() - 1; i >= 0; --i) {
            THVFolder* child = from->Child(i);
            THVFolder* into = to->FindChild(child->Name());
            pending.emplace_back(child, into != nullptr ? into : AddFolder(to, child->Name(), sorted));
        }
        to->SetExpanded(from->Expanded());
        receivers.push_back(to);
    }
    return receivers;
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

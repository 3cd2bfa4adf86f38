#include "mainwindow/ItemListModel.h"

#include "model/HVItems.h"
#include "platform/Clock.h"
#include "properties/PeIcons.h"
#include "properties/SelIconDlg.h"

#include <QFile>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QColor ItemTextColor(const TItemTextColor& color) {
    switch (color.Kind) {
    case TItemColorKind::Gray:
        return QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
    case TItemColorKind::Due:
        return QColor(ColorRed(color.Color), ColorGreen(color.Color), ColorBlue(color.Color));
    case TItemColorKind::Normal:
        break;
    }
    return {};
}

TItemListModel::TItemListModel(QObject* parent) : QAbstractItemModel(parent) {}

void TItemListModel::SetList(THVList* list, const TItemOrder& order) {
    beginResetModel();
    m_List = list;
    // Icon files may have changed since the last fill.
    m_FileIcons.clear();
    if (m_List != nullptr) {
        m_List->Sort(order);
    }
    endResetModel();
}

void TItemListModel::SetOptions(const TAccessTimeOptions& timeOptions, const TItemColorOptions& colorOptions) {
    m_TimeOptions = timeOptions;
    m_ColorOptions = colorOptions;
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    }
}

THVItem* TItemListModel::nodeFromIndex(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) {
        return nullptr;
    }
    return static_cast<THVItem*>(index.internalPointer());
}

QString TItemListModel::NameAt(int row) const {
    return m_List == nullptr || row < 0 || row >= m_List->Count() ? QString() : Q(m_List->Items(row)->GetName());
}

QModelIndex TItemListModel::IndexOf(const THVItem* item, int column) const {
    if (m_List == nullptr || item == nullptr) {
        return {};
    }
    const int row = m_List->IndexOf(item);
    return row < 0 ? QModelIndex() : index(row, column);
}

void TItemListModel::RefreshItem(const THVItem* item) {
    const QModelIndex first = IndexOf(item, 0);
    if (first.isValid()) {
        emit dataChanged(first, first.siblingAtColumn(ColumnCount - 1));
    }
}

void TItemListModel::ItemAboutToBeInserted(THVList& list, int index) {
    if (&list == m_List) {
        beginInsertRows({}, index, index);
    }
}

void TItemListModel::ItemInserted(THVItem& item) {
    if (item.Owner() == m_List && m_List != nullptr) {
        endInsertRows();
    }
}

void TItemListModel::ItemAboutToBeRemoved(THVItem& item) {
    if (item.Owner() == m_List && m_List != nullptr) {
        const int row = m_List->IndexOf(&item);
        beginRemoveRows({}, row, row);
    }
}

void TItemListModel::ItemRemoved(THVList& list, int /*index*/) {
    if (&list == m_List) {
        endRemoveRows();
    }
}

void TItemListModel::ItemChanged(THVItem& item) {
    if (item.Owner() == m_List) {
        RefreshItem(&item);
    }
}

void TItemListModel::ItemsAboutToBeSorted(THVList& list) {
    if (&list != m_List) {
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_SortBefore = persistentIndexList();
    m_SortItems.clear();
    m_SortItems.reserve(static_cast<std::size_t>(m_SortBefore.size()));
    for (const QModelIndex& old : m_SortBefore) {
        m_SortItems.push_back(nodeFromIndex(old));
    }
}

void TItemListModel::ItemsSorted(THVList& list) {
    if (&list != m_List) {
        return;
    }
    QModelIndexList after;
    after.reserve(m_SortBefore.size());
    for (qsizetype i = 0; i < m_SortBefore.size(); ++i) {
        after << IndexOf(m_SortItems[static_cast<std::size_t>(i)], m_SortBefore.at(i).column());
    }
    changePersistentIndexList(m_SortBefore, after);
    m_SortBefore.clear();
    m_SortItems.clear();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QModelIndex TItemListModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    return createIndex(row, column, m_List->Items(row));
}

QModelIndex TItemListModel::parent(const QModelIndex& /*child*/) const {
    return {};
}

int TItemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || m_List == nullptr ? 0 : m_List->Count();
}

int TItemListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TItemListModel::data(const QModelIndex& index, int role) const {
    const THVItem* item = nodeFromIndex(index);
    if (item == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case ColName:
            return Q(item->GetName());
        case ColURL:
            return Q(item->GetURL());
        case ColLastVisited:
            return Q(AccessTimeText(item->GetLastVisited(), Clock().Now(), m_TimeOptions));
        default:
            return {};
        }
    case Qt::DecorationRole:
        return index.column() == ColName ? QVariant(IconOf(*item)) : QVariant();
    case Qt::ForegroundRole: {
        const TItemTextColor color = GetItemTextColor(*item, Clock(), m_ColorOptions);
        return color.Special() ? QVariant(ItemTextColor(color)) : QVariant();
    }
    default:
        return {};
    }
}

QVariant TItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case ColName:
        return QStringLiteral("名前");
    case ColURL:
        return QStringLiteral("URL");
    case ColLastVisited:
        return QStringLiteral("アクセス日時");
    default:
        return {};
    }
}

Qt::ItemFlags TItemListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == ColName && m_RenameHandler) {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

bool TItemListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    THVItem* item = nodeFromIndex(index);
    if (item == nullptr || role != Qt::EditRole || index.column() != ColName || !m_RenameHandler) {
        return false;
    }
    return m_RenameHandler(item, value.toString());
}

QIcon TItemListModel::IconOf(const THVItem& item) const {
    const std::string& file = item.GetIconFile();
    const int index = item.GetIconIndex();
    if (file.empty() || index < 0) {
        return m_DefaultIcon;
    }
    // Every icon of a file is read at once: items of one folder often share a program's icons.
    const QString path = QFile::decodeName(file.c_str());
    auto found = m_FileIcons.constFind(path);
    if (found == m_FileIcons.constEnd()) {
        found = m_FileIcons.insert(path, LoadFileIcons(path));
    }
    // An icon file holds one icon, whatever the index says.
    const qsizetype at = IsIcoFileName(file) ? 0 : index;
    const QIcon icon = at < found->size() ? found->at(at) : QIcon();
    return icon.isNull() ? m_DefaultIcon : icon;
}

} // namespace hv

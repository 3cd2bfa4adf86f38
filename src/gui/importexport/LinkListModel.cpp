#include "importexport/LinkListModel.h"

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void TLinkListModel::SetLinks(std::vector<THtmlLink> links) {
    beginResetModel();
    m_Links = std::move(links);
    endResetModel();
}

void TLinkListModel::SetAllChecked(bool checked) {
    for (THtmlLink& link : m_Links) {
        link.Checked = checked;
    }
    ChecksChanged();
}

void TLinkListModel::InvertChecks() {
    for (THtmlLink& link : m_Links) {
        link.Checked = !link.Checked;
    }
    ChecksChanged();
}

void TLinkListModel::ChecksChanged() {
    if (!m_Links.empty()) {
        emit dataChanged(index(0, ColName), index(rowCount() - 1, ColName), {Qt::CheckStateRole});
    }
}

void TLinkListModel::Sort(TLinkSort order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The persistent indexes (the current row, the selection) follow their links.
    const QModelIndexList before = persistentIndexList();
    std::vector<int> sequences;
    sequences.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) {
        sequences.push_back(m_Links[static_cast<std::size_t>(index.row())].Sequence);
    }
    SortHtmlLinks(m_Links, order);
    // Sequence numbers are unique within the list: they find each link's new row.
    std::vector<int> rowOf(m_Links.size() + 1, -1);
    for (std::size_t row = 0; row < m_Links.size(); ++row) {
        const int sequence = m_Links[row].Sequence;
        if (sequence > 0 && static_cast<std::size_t>(sequence) < rowOf.size()) {
            rowOf[static_cast<std::size_t>(sequence)] = static_cast<int>(row);
        }
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int sequence = sequences[static_cast<std::size_t>(i)];
        const bool known = sequence > 0 && static_cast<std::size_t>(sequence) < rowOf.size();
        after.append(known ? index(rowOf[static_cast<std::size_t>(sequence)], before.at(i).column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TLinkListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_Links.size());
}

int TLinkListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TLinkListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const THtmlLink& link = m_Links[static_cast<std::size_t>(index.row())];
    if (role == Qt::CheckStateRole && index.column() == ColName) {
        return link.Checked ? Qt::Checked : Qt::Unchecked;
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) {
        return {};
    }
    switch (index.column()) {
    case ColName:
        return Q(link.Title);
    case ColURL:
        return Q(link.URL);
    default:
        return Q(link.Source);
    }
}

QVariant TLinkListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case ColName:
        return QStringLiteral("名前");
    case ColURL:
        return QStringLiteral("URL");
    case ColSource:
        return QStringLiteral("インポート元");
    default:
        return {};
    }
}

Qt::ItemFlags TLinkListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == ColName) {
        flags |= Qt::ItemIsUserCheckable | Qt::ItemIsEditable;
    }
    return flags;
}

bool TLinkListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        index.column() != ColName) {
        return false;
    }
    THtmlLink& link = m_Links[static_cast<std::size_t>(index.row())];
    if (role == Qt::CheckStateRole) {
        link.Checked = value.toInt() == Qt::Checked;
    } else if (role == Qt::EditRole) {
        // A blank title would give an item without a name: the edit is refused.
        if (value.toString().trimmed().isEmpty()) {
            return false;
        }
        link.Title = value.toString().toStdString();
    } else {
        return false;
    }
    emit dataChanged(index, index, {role});
    return true;
}

} // namespace hv

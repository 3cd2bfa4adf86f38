#include "search/ResultModels.h"

#include "model/HVItems.h"
#include "properties/PeIcons.h"
#include "properties/SelIconDlg.h"

#include <QFile>

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QIcon TRowIcons::IconOf(const THVItem& item) const {
    const std::string& file = item.GetIconFile();
    const int index = item.GetIconIndex();
    if (file.empty() || index < 0) {
        return m_Standard;
    }
    const QString path = QFile::decodeName(file.c_str());
    auto found = m_FileIcons.constFind(path);
    if (found == m_FileIcons.constEnd()) {
        found = m_FileIcons.insert(path, LoadFileIcons(path));
    }
    // An icon file holds one icon, whatever the index says.
    const qsizetype at = IsIcoFileName(file) ? 0 : index;
    const QIcon icon = at < found->size() ? found->at(at) : QIcon();
    return icon.isNull() ? m_Standard : icon;
}

QVariant TResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const QStringList headers = Headers();
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= headers.size()) {
        return {};
    }
    return headers.at(section);
}

void TResultModel::FlushAppended() {
    const int held = RowsHeld();
    if (held > m_Shown) {
        beginInsertRows({}, m_Shown, held - 1);
        m_Shown = held;
        endInsertRows();
    }
}

void TResultModel::RowsAboutToBeReset() {
    beginResetModel();
}

void TResultModel::RowsReset() {
    m_Shown = RowsHeld();
    endResetModel();
}

void TResultModel::RowAboutToBeInserted(int row) {
    // Appended rows wait for FlushAppended; a row put in between is announced with those before.
    if (row < RowsHeld()) {
        FlushAppended();
    }
}

void TResultModel::RowAboutToBeRemoved(int row) {
    FlushAppended();
    beginRemoveRows({}, row, row);
}

void TResultModel::RowRemoved(int) {
    m_Shown = RowsHeld();
    endRemoveRows();
}

void TResultModel::RowChanged(int row) {
    FlushAppended();
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void TResultModel::RowsReordered() {
    // The rows are the same, in another order: the views' persistent indexes follow their rows
    // by position only, so the selection is dropped with a reset.
    beginResetModel();
    m_Shown = RowsHeld();
    endResetModel();
}

TFindResultModel::TFindResultModel(TFindResults& results, const TRowIcons& icons, QObject* parent)
    : TResultModel(parent), m_Results(results), m_Icons(icons) {
    m_Results.SetObserver(this);
}

TFindResultModel::~TFindResultModel() {
    m_Results.SetObserver(nullptr);
}

int TFindResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant TFindResultModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const TFindRow& row = m_Results.Row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case TFindResults::ColName:
            return Q(row.Name);
        case TFindResults::ColFolder:
            return Q(row.FolderPath());
        default:
            return Q(row.URL);
        }
    case Qt::DecorationRole:
        return index.column() == TFindResults::ColName && row.Item != nullptr ? QVariant(m_Icons.IconOf(*row.Item))
                                                                              : QVariant();
    default:
        return {};
    }
}

QStringList TFindResultModel::Headers() const {
    return {QStringLiteral("名前"), QStringLiteral("フォルダ"), QStringLiteral("URL")};
}

TDupResultModel::TDupResultModel(TDupResults& results, const TRowIcons& icons, QObject* parent)
    : TResultModel(parent), m_Results(results), m_Icons(icons) {
    m_Results.SetObserver(this);
}

TDupResultModel::~TDupResultModel() {
    m_Results.SetObserver(nullptr);
}

int TDupResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant TDupResultModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const TDupRow& row = m_Results.Row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case 0:
            return Q(row.Name);
        case 1:
            return Q(row.FolderPath());
        case 2:
            return Q(row.CommandTitle);
        default:
            return Q(row.URL());
        }
    case Qt::DecorationRole:
        // Command rows show no image: the icon marks the item's own address.
        return index.column() == 0 && !row.IsCommand() && row.Item != nullptr ? QVariant(m_Icons.IconOf(*row.Item))
                                                                              : QVariant();
    default:
        return {};
    }
}

QStringList TDupResultModel::Headers() const {
    return {QStringLiteral("アイテム"), QStringLiteral("フォルダ"), QStringLiteral("コマンド"), QStringLiteral("URL")};
}

} // namespace hv

#pragma once

#include "search/DuplicateUrls.h"
#include "search/FindSearch.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QList>

namespace hv {

// The icon a result row shows for its item: the item's own icon, else the standard item image.
// The icons of each icon file are read once.
class TRowIcons {
public:
    explicit TRowIcons(QIcon standard) : m_Standard(std::move(standard)) {}
    QIcon IconOf(const THVItem& item) const;

private:
    QIcon m_Standard;
    mutable QHash<QString, QList<QIcon>> m_FileIcons;
};

// A table over the rows of a search window: the rows' own changes arrive as TRowsObserver
// notices and become the model's begin/end calls.
class TResultModel : public QAbstractTableModel, protected TRowsObserver {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    virtual QStringList Headers() const = 0;

    void RowsAboutToBeReset() override { beginResetModel(); }
    void RowsReset() override { endResetModel(); }
    void RowAboutToBeInserted(int row) override { beginInsertRows({}, row, row); }
    void RowInserted(int) override { endInsertRows(); }
    void RowAboutToBeRemoved(int row) override { beginRemoveRows({}, row, row); }
    void RowRemoved(int) override { endRemoveRows(); }
    void RowChanged(int row) override;
    void RowsReordered() override;
};

// The find window's results: "名前" (with the item's icon), "フォルダ", "URL".
class TFindResultModel final : public TResultModel {
    Q_OBJECT

public:
    TFindResultModel(TFindResults& results, const TRowIcons& icons, QObject* parent = nullptr);
    ~TFindResultModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QStringList Headers() const override;

    TFindResults& m_Results;
    const TRowIcons& m_Icons;
};

// The duplicate window's results: "アイテム" (the icon on URL rows), "フォルダ", "コマンド", "URL".
class TDupResultModel final : public TResultModel {
    Q_OBJECT

public:
    TDupResultModel(TDupResults& results, const TRowIcons& icons, QObject* parent = nullptr);
    ~TDupResultModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QStringList Headers() const override;

    TDupResults& m_Results;
    const TRowIcons& m_Icons;
};

} // namespace hv

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
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_Shown; }

    // Rows appended at the end are announced to the views together, here (a search appends
    // thousands in one slice); any other change of the rows announces them first.
    void FlushAppended();

protected:
    // How many rows the result list holds.
    virtual int RowsHeld() const = 0;
    virtual QStringList Headers() const = 0;

    void RowsAboutToBeReset() override;
    void RowsReset() override;
    void RowAboutToBeInserted(int row) override;
    void RowInserted(int) override {}
    void RowAboutToBeRemoved(int row) override;
    void RowRemoved(int) override;
    void RowChanged(int row) override;
    void RowsReordered() override;

private:
    int m_Shown = 0; // the rows the views know of
};

// The find window's results: "名前" (with the item's icon), "フォルダ", "URL".
class TFindResultModel final : public TResultModel {
    Q_OBJECT

public:
    TFindResultModel(TFindResults& results, const TRowIcons& icons, QObject* parent = nullptr);
    ~TFindResultModel() override;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    int RowsHeld() const override { return m_Results.Count(); }
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

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    int RowsHeld() const override { return m_Results.Count(); }
    QStringList Headers() const override;

    TDupResults& m_Results;
    const TRowIcons& m_Icons;
};

} // namespace hv

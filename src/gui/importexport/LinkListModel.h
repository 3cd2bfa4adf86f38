#pragma once

#include "importexport/ImpHtml.h"

#include <QAbstractTableModel>

#include <vector>

namespace hv {

// The rows of the link checklist: a check box and the title (editable) in "名前", then "URL" and
// "インポート元". The rows are replaced as a whole, so a page with many thousands of links is
// listed in one step.
class TLinkListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum : int { ColName = 0, ColURL = 1, ColSource = 2, ColumnCount = 3 };

    using QAbstractTableModel::QAbstractTableModel;

    const std::vector<THtmlLink>& Links() const { return m_Links; }
    void SetLinks(std::vector<THtmlLink> links);
    // Every row ticked (true) or unticked (false), or every tick inverted.
    void SetAllChecked(bool checked);
    void InvertChecks();
    void Sort(TLinkSort order);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void ChecksChanged();

    std::vector<THtmlLink> m_Links;
};

} // namespace hv

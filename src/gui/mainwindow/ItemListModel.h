#pragma once

#include "model/ItemOrder.h"
#include "model/TreeEdits.h"
#include "properties/AccessTimeText.h"
#include "properties/Schedule.h"

#include <QAbstractItemModel>
#include <QColor>
#include <QHash>
#include <QIcon>

#include <functional>
#include <vector>

namespace hv {

class THVItem;
class THVList;

// The items of one folder, one row each in the order of the folder's item list, with the
// columns "名前", "URL" and "アクセス日時". The rows are the list itself: the model hears of every
// change to it (sorting included) through the tree edits it observes, so the views follow; the
// selections and the current row follow their items through a sort. Names can be edited in
// place; the new text goes to the rename handler.
class TItemListModel : public QAbstractItemModel, public TTreeObserver {
    Q_OBJECT

public:
    enum : int { ColName = 0, ColURL = 1, ColLastVisited = 2, ColumnCount = 3 };
    // Returns whether the item took the text.
    using TRenameHandler = std::function<bool(THVItem* item, const QString& text)>;

    // Access times and colours are reckoned from Clock() at the moment a row is drawn.
    explicit TItemListModel(QObject* parent = nullptr);

    THVList* List() const { return m_List; }
    // Shows list (nullptr: nothing), sorted in order.
    void SetList(THVList* list, const TItemOrder& order);
    void SetOptions(const TAccessTimeOptions& timeOptions, const TItemColorOptions& colorOptions);
    const TAccessTimeOptions& TimeOptions() const { return m_TimeOptions; }
    void SetDefaultIcon(const QIcon& icon) { m_DefaultIcon = icon; }
    void SetRenameHandler(TRenameHandler handler) { m_RenameHandler = std::move(handler); }

    THVItem* nodeFromIndex(const QModelIndex& index) const;
    // The name of a row, without going through an index.
    QString NameAt(int row) const;
    QModelIndex IndexOf(const THVItem* item, int column = 0) const;

    // The item's texts, icon or colour changed.
    void RefreshItem(const THVItem* item);
    // The item's own icon, else the default one.
    QIcon IconOf(const THVItem& item) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // TTreeObserver: changes of other lists than the one shown pass by.
    void ItemAboutToBeInserted(THVList& list, int index) override;
    void ItemInserted(THVItem& item) override;
    void ItemAboutToBeRemoved(THVItem& item) override;
    void ItemRemoved(THVList& list, int index) override;
    void ItemChanged(THVItem& item) override;
    void ItemsAboutToBeSorted(THVList& list) override;
    void ItemsSorted(THVList& list) override;

private:
    THVList* m_List = nullptr;
    TAccessTimeOptions m_TimeOptions;
    TItemColorOptions m_ColorOptions;
    QIcon m_DefaultIcon;
    TRenameHandler m_RenameHandler;
    // Around a sort: the persistent indexes and their items before it.
    QModelIndexList m_SortBefore;
    std::vector<THVItem*> m_SortItems;
    // The icons of each icon file the rows use, read once per fill.
    mutable QHash<QString, QList<QIcon>> m_FileIcons;
};

// The text colour of a colour key; an invalid colour for the list's own colour.
QColor ItemTextColor(const TItemTextColor& color);

} // namespace hv

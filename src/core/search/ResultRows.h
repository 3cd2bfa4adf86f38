#pragma once

#include "model/FolderPath.h"
#include "model/HVFolder.h"
#include "search/ItemNotices.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace hv {

// What a view of a result list (the windows' list models) is told about changes of the rows.
class TRowsObserver {
public:
    virtual ~TRowsObserver() = default;
    virtual void RowsAboutToBeReset() {}
    virtual void RowsReset() {}
    virtual void RowAboutToBeInserted(int /*row*/) {}
    virtual void RowInserted(int /*row*/) {}
    virtual void RowAboutToBeRemoved(int /*row*/) {}
    virtual void RowRemoved(int /*row*/) {}
    virtual void RowChanged(int /*row*/) {}
    // The rows were put in another order.
    virtual void RowsReordered() {}
};

// The shared folder-path text of result rows: every row of one folder refers to one string.
using TSharedPath = std::shared_ptr<const std::string>;

// The rows of a search window. Each row refers to an item (Item), shows a caption (Name) and
// the path of the item's folder as it was when the row was made (Path). As a notice listener
// the list drops the rows of items about to be freed and follows items that moved; a row type
// with a Folder member has it updated on moves and loses its row when that folder is freed.
template <class TRow> class TResultRows : public TItemNoticeListener {
public:
    int Count() const { return static_cast<int>(m_Rows.size()); }
    const TRow& Row(int index) const { return m_Rows.at(static_cast<std::size_t>(index)); }
    const std::vector<TRow>& Rows() const { return m_Rows; }
    bool Contains(const THVItem* item) const { return m_ItemRows.contains(item); }

    // The view told of every change; nullptr for none.
    void SetObserver(TRowsObserver* observer) { m_Observer = observer; }

    void Clear() {
        Notify(&TRowsObserver::RowsAboutToBeReset);
        m_Rows.clear();
        m_ItemRows.clear();
        m_Cursor = -1;
        Notify(&TRowsObserver::RowsReset);
    }

    void Append(TRow row) {
        const int index = Count();
        Notify(&TRowsObserver::RowAboutToBeInserted, index);
        ++m_ItemRows[row.Item];
        m_Rows.push_back(std::move(row));
        Notify(&TRowsObserver::RowInserted, index);
    }

    void RemoveRow(int index) {
        if (index < 0 || index >= Count()) {
            return;
        }
        Notify(&TRowsObserver::RowAboutToBeRemoved, index);
        const auto at = m_Rows.begin() + index;
        if (auto it = m_ItemRows.find(at->Item); it != m_ItemRows.end() && --it->second == 0) {
            m_ItemRows.erase(it);
        }
        m_Rows.erase(at);
        if (index < m_Cursor) {
            --m_Cursor;
        }
        Notify(&TRowsObserver::RowRemoved, index);
    }

    // Removes the rows at the given indices (the selection of the window); the items stay.
    void RemoveRows(std::vector<int> indices) {
        std::sort(indices.begin(), indices.end());
        indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
        for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
            RemoveRow(*it);
        }
    }

    // A row index that row removals keep pointing at the same row, for a walk over the rows that
    // hands control out between rows (a removed row below it moves it down by one).
    int Cursor() const { return m_Cursor; }
    void SetCursor(int index) { m_Cursor = index; }

    void ItemFreed(THVItem* item) override {
        if (!Contains(item)) {
            return;
        }
        for (int i = Count() - 1; i >= 0; --i) {
            if (m_Rows[static_cast<std::size_t>(i)].Item == item) {
                RemoveRow(i);
            }
        }
    }

    void ItemMoved(THVItem* oldItem, THVItem* newItem, THVFolder* newFolder) override {
        if (!Contains(oldItem)) {
            return;
        }
        if (newFolder == nullptr && newItem != nullptr && newItem->Owner() != nullptr) {
            newFolder = newItem->Owner()->Node();
        }
        if (newItem == nullptr || newFolder == nullptr) {
            ItemFreed(oldItem);
            return;
        }
        const TSharedPath path = std::make_shared<const std::string>(FolderPath(*newFolder));
        for (int i = 0; i < Count(); ++i) {
            TRow& row = m_Rows[static_cast<std::size_t>(i)];
            if (row.Item != oldItem) {
                continue;
            }
            row.Item = newItem;
            row.Name = newItem->GetName();
            row.Path = path;
            if constexpr (requires(TRow r) { r.Folder; }) {
                row.Folder = newFolder;
            }
            Notify(&TRowsObserver::RowChanged, i);
        }
        if (oldItem != newItem) {
            const int moved = m_ItemRows[oldItem];
            m_ItemRows.erase(oldItem);
            m_ItemRows[newItem] += moved;
        }
    }

    void FolderFreed(THVFolder* folder) override {
        if constexpr (requires(TRow r) { r.Folder; }) {
            if (folder == nullptr || m_Rows.empty()) {
                return;
            }
            std::unordered_set<const THVFolder*> freed;
            ForEachFolder(*folder, [&freed](const THVFolder& f, int) { freed.insert(&f); });
            for (int i = Count() - 1; i >= 0; --i) {
                if (freed.contains(m_Rows[static_cast<std::size_t>(i)].Folder)) {
                    RemoveRow(i);
                }
            }
        }
    }

    // A renamed or edited item shows its new name (and, where the row shows it, its URL).
    void ItemChanged(THVItem* item) override {
        if (!Contains(item)) {
            return;
        }
        for (int i = 0; i < Count(); ++i) {
            TRow& row = m_Rows[static_cast<std::size_t>(i)];
            if (row.Item != item) {
                continue;
            }
            row.Name = item->GetName();
            if constexpr (requires(TRow r) { r.URL = std::string(); }) {
                row.URL = item->GetURL();
            }
            Notify(&TRowsObserver::RowChanged, i);
        }
    }

    // The rows of items in folder or below it show the folder paths as they are now.
    void FolderChanged(THVFolder* folder) override {
        if (folder == nullptr || m_Rows.empty()) {
            return;
        }
        // Each folder's new path, made once; nullptr for folders outside the changed one.
        std::unordered_map<const THVFolder*, TSharedPath> paths;
        for (int i = 0; i < Count(); ++i) {
            TRow& row = m_Rows[static_cast<std::size_t>(i)];
            const THVFolder* owner = RowFolder(row);
            if (owner == nullptr) {
                continue;
            }
            auto [it, added] = paths.try_emplace(owner);
            if (added && owner->IsInside(folder)) {
                it->second = std::make_shared<const std::string>(FolderPath(*owner));
            }
            if (it->second == nullptr || (row.Path != nullptr && *row.Path == *it->second)) {
                continue;
            }
            row.Path = it->second;
            Notify(&TRowsObserver::RowChanged, i);
        }
    }

protected:
    // Puts the rows in a new order (the same rows, as a sort gives them back).
    template <class Compare> void StableSortRows(Compare less, bool reversed) {
        std::stable_sort(m_Rows.begin(), m_Rows.end(), less);
        if (reversed) {
            std::reverse(m_Rows.begin(), m_Rows.end());
        }
        Notify(&TRowsObserver::RowsReordered);
    }

    // Replaces every row at once.
    void ResetRows(std::vector<TRow> rows) {
        Notify(&TRowsObserver::RowsAboutToBeReset);
        m_Rows = std::move(rows);
        m_ItemRows.clear();
        for (const TRow& row : m_Rows) {
            ++m_ItemRows[row.Item];
        }
        m_Cursor = -1;
        Notify(&TRowsObserver::RowsReset);
    }

    TRow& MutableRow(int index) { return m_Rows.at(static_cast<std::size_t>(index)); }

    // Points a row at another item (the same bookmark found again).
    void SetRowItem(int index, THVItem* item) {
        TRow& row = MutableRow(index);
        if (row.Item == item) {
            return;
        }
        if (auto it = m_ItemRows.find(row.Item); it != m_ItemRows.end() && --it->second == 0) {
            m_ItemRows.erase(it);
        }
        row.Item = item;
        ++m_ItemRows[item];
        Notify(&TRowsObserver::RowChanged, index);
    }
    void RowChanged(int index) { Notify(&TRowsObserver::RowChanged, index); }

private:
    static const THVFolder* RowFolder(const TRow& row) {
        if constexpr (requires(TRow r) { r.Folder; }) {
            return row.Folder;
        } else {
            return row.Item != nullptr && row.Item->Owner() != nullptr ? row.Item->Owner()->Node() : nullptr;
        }
    }

    template <class... Args> void Notify(void (TRowsObserver::*fn)(Args...), Args... args) {
        if (m_Observer != nullptr) {
            (m_Observer->*fn)(args...);
        }
    }

    std::vector<TRow> m_Rows;
    std::unordered_map<const THVItem*, int> m_ItemRows; // how many rows refer to each item
    TRowsObserver* m_Observer = nullptr;
    int m_Cursor = -1;
};

} // namespace hv

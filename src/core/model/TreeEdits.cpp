#include "model/TreeEdits.h"

#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "model/ItemOrder.h"
#include "model/Names.h"

#include <algorithm>
#include <utility>

namespace hv {

TTreeObserver::~TTreeObserver() = default;
void TTreeObserver::FolderAboutToBeInserted(THVFolder& /*parent*/, int /*index*/) {}
void TTreeObserver::FolderInserted(THVFolder& /*folder*/) {}
void TTreeObserver::FolderAboutToBeRemoved(THVFolder& /*folder*/) {}
void TTreeObserver::FolderRemoved(THVFolder& /*parent*/, int /*index*/) {}
void TTreeObserver::FolderAboutToBeMoved(THVFolder& /*folder*/, int /*to*/) {}
void TTreeObserver::FolderMoved(THVFolder& /*folder*/) {}
void TTreeObserver::FolderChanged(THVFolder& /*folder*/) {}
void TTreeObserver::ChildrenAboutToBeSorted(THVFolder& /*parent*/) {}
void TTreeObserver::ChildrenSorted(THVFolder& /*parent*/) {}
void TTreeObserver::ItemAboutToBeInserted(THVList& /*list*/, int /*index*/) {}
void TTreeObserver::ItemInserted(THVItem& /*item*/) {}
void TTreeObserver::ItemAboutToBeRemoved(THVItem& /*item*/) {}
void TTreeObserver::ItemRemoved(THVList& /*list*/, int /*index*/) {}
void TTreeObserver::ItemChanged(THVItem& /*item*/) {}
void TTreeObserver::ItemsAboutToBeSorted(THVList& /*list*/) {}
void TTreeObserver::ItemsSorted(THVList& /*list*/) {}
void TTreeObserver::ItemAboutToBeFreed(THVItem& /*item*/) {}
void TTreeObserver::FolderAboutToBeFreed(THVFolder& /*folder*/) {}
void TTreeObserver::ItemMoved(THVItem& /*oldItem*/, THVItem& /*newItem*/, THVFolder& /*newFolder*/) {}

void TTreeEdits::AddObserver(TTreeObserver* observer) {
    if (observer != nullptr && std::find(m_Observers.begin(), m_Observers.end(), observer) == m_Observers.end()) {
        m_Observers.push_back(observer);
    }
}

void TTreeEdits::RemoveObserver(TTreeObserver* observer) {
    std::erase(m_Observers, observer);
}

template <class Fn> void TTreeEdits::Notify(Fn&& fn) {
    // A copy: an observer may register or remove observers while it hears a notice.
    const std::vector<TTreeObserver*> observers = m_Observers;
    for (TTreeObserver* observer : observers) {
        fn(*observer);
    }
}

THVFolder* TTreeEdits::AddFolder(THVFolder& parent, const std::string& name, bool sortFolders) {
    if (!CheckFolderName(parent, nullptr, name).empty()) {
        return nullptr;
    }
    // Added at the end first, then put in its place, so that views see a plain insert.
    const int index = parent.ChildCount();
    Notify([&](TTreeObserver& o) { o.FolderAboutToBeInserted(parent, index); });
    THVFolder* folder = parent.InsertChild(index, name);
    Notify([&](TTreeObserver& o) { o.FolderInserted(*folder); });
    if (sortFolders) {
        SortChildren(parent);
    }
    return folder;
}

TRenameResult TTreeEdits::RenameFolder(THVFolder& folder, std::string_view text, bool sortFolders) {
    THVFolder* parent = folder.Parent();
    if (parent == nullptr) {
        return {};
    }
    std::string name = CleanFolderName(text);
    if (!name.empty() && name == folder.Name()) {
        return {};
    }
    if (std::string message = CheckFolderName(*parent, &folder, name); !message.empty()) {
        return {false, std::move(message)};
    }
    folder.SetName(std::move(name));
    Notify([&](TTreeObserver& o) { o.FolderChanged(folder); });
    if (sortFolders) {
        SortChildren(*parent);
    }
    return {true, {}};
}

void TTreeEdits::AnnounceFreed(THVFolder& folder) {
    ForEachFolder(folder, [this](THVFolder& f, int) {
        for (const auto& item : f.List()) {
            Notify([&](TTreeObserver& o) { o.ItemAboutToBeFreed(*item); });
        }
    });
    Notify([&](TTreeObserver& o) { o.FolderAboutToBeFreed(folder); });
}

bool TTreeEdits::DeleteFolder(THVFolder& folder) {
    THVFolder* parent = folder.Parent();
    if (parent == nullptr) {
        return false;
    }
    AnnounceFreed(folder);
    const int index = parent->IndexOfChild(&folder);
    Notify([&](TTreeObserver& o) { o.FolderAboutToBeRemoved(folder); });
    parent->DeleteChild(&folder);
    Notify([&](TTreeObserver& o) { o.FolderRemoved(*parent, index); });
    return true;
}

bool TTreeEdits::MoveFolder(THVFolder& folder, int delta) {
    THVFolder* parent = folder.Parent();
    if (parent == nullptr || (delta != -1 && delta != 1)) {
        return false;
    }
    const int from = parent->IndexOfChild(&folder);
    const int to = from + delta;
    if (to < 0 || to >= parent->ChildCount()) {
        return false;
    }
    Notify([&](TTreeObserver& o) { o.FolderAboutToBeMoved(folder, to); });
    parent->MoveChild(from, to);
    Notify([&](TTreeObserver& o) { o.FolderMoved(folder); });
    return true;
}

void TTreeEdits::SortChildren(THVFolder& parent) {
    if (parent.ChildCount() < 2) {
        return;
    }
    Notify([&](TTreeObserver& o) { o.ChildrenAboutToBeSorted(parent); });
    parent.SortChildren();
    Notify([&](TTreeObserver& o) { o.ChildrenSorted(parent); });
}

void TTreeEdits::SortAllChildren(THVFolder& folder) {
    ForEachFolder(folder, [this](THVFolder& f, int) { SortChildren(f); });
}

bool TTreeEdits::CanMoveFolderInto(const THVFolder& source, const THVFolder& target) {
    return source.Parent() != nullptr && source.Parent() != &target && !target.IsInside(&source);
}

THVFolder* TTreeEdits::MoveFolderInto(THVFolder& source, THVFolder& target, bool sortFolders,
                                      std::vector<THVFolder*>* receivers) {
    if (!CanMoveFolderInto(source, target)) {
        return nullptr;
    }
    THVFolder* receiver = target.FindChild(source.Name());
    if (receiver == nullptr) {
        receiver = AddFolder(target, source.Name(), sortFolders);
    }
    // Depth-first over pairs of source and receiving folder, without recursion.
    std::vector<std::pair<THVFolder*, THVFolder*>> pending{{&source, receiver}};
    while (!pending.empty()) {
        THVFolder* const from = pending.back().first;
        THVFolder* const to = pending.back().second;
        pending.pop_back();
        THVList& list = from->List();
        for (int i = list.Count() - 1; i >= 0; --i) {
            THVItem* old = list.Items(i);
            THVItem* moved = AddCopy(to->List(), *old, std::nullopt);
            Notify([&](TTreeObserver& o) { o.ItemMoved(*old, *moved, *to); });
            RemoveItem(*old);
        }
        for (int i = from->ChildCount() - 1; i >= 0; --i) {
            THVFolder* child = from->Child(i);
            THVFolder* into = to->FindChild(child->Name());
            pending.emplace_back(child, into != nullptr ? into : AddFolder(*to, child->Name(), sortFolders));
        }
        to->SetExpanded(from->Expanded());
        Notify([&](TTreeObserver& o) { o.FolderChanged(*to); });
        if (receivers != nullptr) {
            receivers->push_back(to);
        }
    }
    DeleteFolder(source);
    return receiver;
}

THVItem* TTreeEdits::AddCopy(THVList& list, const THVItem& source, const std::optional<std::string>& name) {
    const int index = list.Count();
    Notify([&](TTreeObserver& o) { o.ItemAboutToBeInserted(list, index); });
    THVItem* item = list.Add();
    item->Assign(source);
    if (name) {
        item->SetName(*name);
    }
    // Unique like every other way in: renaming, merging and finding tell items by name.
    MakeUniqueName(*item);
    Notify([&](TTreeObserver& o) { o.ItemInserted(*item); });
    return item;
}

void TTreeEdits::RemoveItem(THVItem& item) {
    THVList* list = item.Owner();
    const int index = list->IndexOf(&item);
    Notify([&](TTreeObserver& o) { o.ItemAboutToBeRemoved(item); });
    list->Delete(index);
    Notify([&](TTreeObserver& o) { o.ItemRemoved(*list, index); });
}

THVItem* TTreeEdits::AddItem(THVList& list, const THVItem& source) {
    const int index = list.Count();
    Notify([&](TTreeObserver& o) { o.ItemAboutToBeInserted(list, index); });
    THVItem* item = list.Add();
    item->Assign(source);
    Notify([&](TTreeObserver& o) { o.ItemInserted(*item); });
    return item;
}

THVItem* TTreeEdits::AddNewItem(THVList& list, const std::string& name, const std::string& url) {
    const int index = list.Count();
    Notify([&](TTreeObserver& o) { o.ItemAboutToBeInserted(list, index); });
    THVItem* item = list.Add(name);
    item->SetURL(url);
    MakeUniqueName(*item);
    Notify([&](TTreeObserver& o) { o.ItemInserted(*item); });
    return item;
}

TRenameResult TTreeEdits::RenameItem(THVItem& item, std::string_view text) {
    THVList* list = item.Owner();
    if (list == nullptr) {
        return {};
    }
    std::string name = CleanItemName(text);
    if (!name.empty() && name == item.GetName()) {
        return {};
    }
    if (std::string message = CheckItemName(*list, &item, name); !message.empty()) {
        return {false, std::move(message)};
    }
    item.SetName(std::move(name));
    ItemChanged(item);
    return {true, {}};
}

void TTreeEdits::ItemChanged(THVItem& item) {
    Notify([&](TTreeObserver& o) { o.ItemChanged(item); });
}

void TTreeEdits::DeleteItems(const std::vector<THVItem*>& items) {
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        THVItem* item = *it;
        if (item == nullptr || item->Owner() == nullptr) {
            continue;
        }
        Notify([&](TTreeObserver& o) { o.ItemAboutToBeFreed(*item); });
        RemoveItem(*item);
    }
}

std::vector<THVItem*> TTreeEdits::MoveItems(const std::vector<THVItem*>& items, THVFolder& target,
                                            const std::optional<std::string>& name) {
    std::vector<THVItem*> moved;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        THVItem* old = *it;
        if (old == nullptr || old->Owner() == nullptr || old->Owner() == &target.List()) {
            continue;
        }
        THVItem* item = AddCopy(target.List(), *old, name);
        moved.push_back(item);
        Notify([&](TTreeObserver& o) { o.ItemMoved(*old, *item, target); });
        RemoveItem(*old);
    }
    return moved;
}

std::vector<THVItem*> TTreeEdits::CopyItems(const std::vector<THVItem*>& items, THVFolder& target,
                                            const std::optional<std::string>& name) {
    std::vector<THVItem*> copies;
    for (THVItem* source : items) {
        if (source != nullptr) {
            copies.push_back(AddCopy(target.List(), *source, name));
        }
    }
    return copies;
}

void TTreeEdits::SortItems(THVList& list, const TItemOrder& order) {
    Notify([&](TTreeObserver& o) { o.ItemsAboutToBeSorted(list); });
    list.Sort(order);
    Notify([&](TTreeObserver& o) { o.ItemsSorted(list); });
}

} // namespace hv

#include "model/HVItems.h"

#include "Errors.h"
#include "model/ItemOrder.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <utility>
#include <vector>

namespace hv {

namespace {

const char* const kUntitled = "(Untitled)";

void CheckIndex(int index, std::size_t count) {
    if (index < 0 || static_cast<std::size_t>(index) >= count) {
        throw EHVError("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
    }
}

} // namespace

// --- the item pool --------------------------------------------------------------------------

namespace {

// A large document holds hundreds of thousands of items, all of one size. They come from blocks
// of a few hundred each, without the heap's bookkeeping for every one (8 bytes of the 96 an item
// takes from the heap). The place of a deleted item goes to the next new one; the blocks stay
// for the rest of the process, as the heap's own pages do. Under the address sanitizer every
// item is an allocation of its own, so that a use after delete is still found.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooledItems = false;
#else
constexpr bool kPooledItems = true;
#endif

class TItemPool {
public:
    void* Allocate() {
        std::lock_guard lock(m_Mutex);
        if (m_Free != nullptr) {
            return std::exchange(m_Free, m_Free->Next);
        }
        if (m_Left == 0) {
            m_Blocks.push_back(std::make_unique<TSlotBytes[]>(kSlotsPerBlock));
            m_Next = m_Blocks.back().get();
            m_Left = kSlotsPerBlock;
        }
        --m_Left;
        return m_Next++;
    }
    void Free(void* place) noexcept {
        std::lock_guard lock(m_Mutex);
        auto* slot = ::new (place) TFreeSlot{m_Free};
        m_Free = slot;
    }

private:
    struct TFreeSlot {
        TFreeSlot* Next;
    };
    struct alignas(THVItem) TSlotBytes {
        std::byte Bytes[sizeof(THVItem)];
    };
    static_assert(sizeof(THVItem) >= sizeof(TFreeSlot));
    static constexpr std::size_t kSlotsPerBlock = (64 << 10) / sizeof(TSlotBytes);

    std::mutex m_Mutex;
    TFreeSlot* m_Free = nullptr;
    TSlotBytes* m_Next = nullptr;
    std::size_t m_Left = 0;
    std::vector<std::unique_ptr<TSlotBytes[]>> m_Blocks;
};

TItemPool& ItemPool() {
    // Never destroyed: items of trees left to the system at exit still point into it.
    static TItemPool* const pool = new TItemPool;
    return *pool;
}

} // namespace

void* THVItem::operator new(std::size_t size) {
    if constexpr (kPooledItems) {
        if (size == sizeof(THVItem)) {
            return ItemPool().Allocate();
        }
    }
    return ::operator new(size);
}

void THVItem::operator delete(void* item) noexcept {
    if (item == nullptr) {
        return;
    }
    if constexpr (kPooledItems) {
        ItemPool().Free(item);
    } else {
        ::operator delete(item);
    }
}

// --- TCmdItem / TCmdList ------------------------------------------------------------------

std::string TCmdItem::GetText() const {
    std::string text = Title;
    text += '\t';
    text += CommandLine;
    if (UpdateLastVisited) {
        text += "\tV";
    }
    return text;
}

TCmdItem& TCmdList::Items(int index) {
    CheckIndex(index, m_Items.size());
    return m_Items[static_cast<std::size_t>(index)];
}

const TCmdItem& TCmdList::Items(int index) const {
    CheckIndex(index, m_Items.size());
    return m_Items[static_cast<std::size_t>(index)];
}

TCmdItem& TCmdList::Add() {
    return m_Items.emplace_back();
}

void TCmdList::SetCount(int n) {
    m_Items.resize(static_cast<std::size_t>(std::max(n, 0)));
}

void TCmdList::Assign(const TCmdList& source) {
    if (&source != this) {
        m_Items = source.m_Items;
    }
}

// --- THVItem ------------------------------------------------------------------------------

namespace {
const std::string kEmptyText;
const TCmdList kNoCommands;
} // namespace

THVItem::TExtras& THVItem::Extras() {
    if (!m_Extras) {
        m_Extras = std::make_unique<TExtras>(this);
    }
    return *m_Extras;
}

const std::string& THVItem::GetSchedule() const {
    return m_Extras ? m_Extras->Schedule : kEmptyText;
}

const std::string& THVItem::GetMemo() const {
    return m_Extras ? m_Extras->Memo : kEmptyText;
}

void THVItem::SetMemo(std::string memo) {
    if (m_Extras || !memo.empty()) {
        Extras().Memo = std::move(memo);
    }
}

void THVItem::SetIconIndex(int index) {
    if (m_Extras || index != -1) {
        Extras().IconIndex = index;
    }
}

const std::string& THVItem::GetIconFile() const {
    return m_Extras ? m_Extras->IconFile : kEmptyText;
}

TCmdList& THVItem::GetCommands() {
    return Extras().Commands;
}

const TCmdList& THVItem::GetCommands() const {
    return m_Extras ? m_Extras->Commands : kNoCommands;
}

void THVItem::SetSchedule(std::string schedule) {
    if (m_Extras || !schedule.empty()) {
        Extras().Schedule = std::move(schedule);
    }
}

void THVItem::SetName(std::string name) {
    if (m_Owner != nullptr) {
        m_Owner->Unindex(this);
        m_Name = std::move(name);
        m_Owner->Reindex(this);
    } else {
        m_Name = std::move(name);
    }
}

void THVItem::SetIconFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string stored = path;
    if (!path.empty()) {
        fs::path canonical = fs::canonical(path, ec);
        if (!ec) {
            stored = canonical.string();
        } else {
            fs::path absolute = fs::absolute(path, ec);
            if (!ec) {
                stored = absolute.lexically_normal().string();
            }
        }
    }
    if (m_Extras || !stored.empty()) {
        Extras().IconFile = std::move(stored);
    }
    SetIconIndex(-1);
}

void THVItem::SetIconRaw(std::string file, int index) {
    if (m_Extras || !file.empty()) {
        Extras().IconFile = std::move(file);
    }
    SetIconIndex(index);
}

void THVItem::Assign(const THVItem& source) {
    if (&source == this) {
        return;
    }
    if (m_Extras || source.GetCommands().Count() > 0) {
        GetCommands().Assign(source.GetCommands());
    }
    SetName(source.m_Name);
    SetURL(source.m_URL);
    SetMemo(source.GetMemo());
    SetSchedule(source.GetSchedule());
    SetLastVisited(source.m_LastVisited);
    SetIconRaw(source.GetIconFile(), source.GetIconIndex());
}

void THVItem::Delete() {
    // A detached item belongs to whoever extracted it; only a listed item can delete itself.
    if (m_Owner != nullptr) {
        m_Owner->Extract(this); // the returned pointer goes out of scope and frees this item
    }
}

// --- THVList ------------------------------------------------------------------------------

THVList::THVList(THVFolder* node) : m_Node(node) {}

THVList::~THVList() {
    Clear();
}

THVItem* THVList::Items(int index) {
    CheckIndex(index, m_Items.size());
    return m_Items[static_cast<std::size_t>(index)].get();
}

const THVItem* THVList::Items(int index) const {
    CheckIndex(index, m_Items.size());
    return m_Items[static_cast<std::size_t>(index)].get();
}

THVItem* THVList::Add() {
    return Add(std::string());
}

THVItem* THVList::Add(std::string name) {
    auto& item = m_Items.emplace_back(new THVItem(this));
    item->m_Name = std::move(name);
    Reindex(item.get());
    return item.get();
}

void THVList::Delete(int index) {
    Items(index)->Delete();
}

void THVList::Clear() {
    m_SuffixHints.clear();
    m_Names.Clear();
    m_Indexed = false;
    while (!m_Items.empty()) {
        m_Items.back()->m_Owner = nullptr;
        m_Items.pop_back();
    }
}

std::unique_ptr<THVItem> THVList::Extract(THVItem* item) {
    // Items near the end are the common case (deleting from the end, moving the last item).
    auto it = std::find_if(m_Items.rbegin(), m_Items.rend(), [item](const auto& p) { return p.get() == item; });
    if (it == m_Items.rend()) {
        return nullptr;
    }
    Unindex(item);
    std::unique_ptr<THVItem> owned = std::move(*it);
    m_Items.erase(std::next(it).base());
    owned->m_Owner = nullptr;
    return owned;
}

int THVList::IndexOf(const THVItem* item) const {
    for (std::size_t i = m_Items.size(); i-- > 0;) {
        if (m_Items[i].get() == item) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TNameIndex& THVList::Names() const {
    if (!m_Indexed) {
        m_Names.Clear();
        for (const auto& item : m_Items) {
            m_Names.Insert(item.get());
        }
        m_Indexed = true;
    }
    return m_Names;
}

THVItem* THVList::FindByName(std::string_view name) const {
    bool several = false;
    THVItem* any = Names().FindAny(name, several);
    if (!several) {
        return any;
    }
    // Several items share the name: the one with the highest index wins.
    for (std::size_t i = m_Items.size(); i-- > 0;) {
        if (AsciiSameText(m_Items[i]->m_Name, name)) {
            return m_Items[i].get();
        }
    }
    return nullptr;
}

int THVList::IndexOfName(std::string_view name) const {
    THVItem* item = FindByName(name);
    return item != nullptr ? IndexOf(item) : -1;
}

bool THVList::IsNameFree(const THVItem* item, std::string_view name) const {
    THVItem* found = FindByName(name);
    return found == nullptr || found == item;
}

std::size_t THVList::CountOfName(std::string_view name) const {
    return Names().Count(name);
}

bool THVList::HasDuplicateNames(int first) const {
    const auto begin = m_Items.begin() + std::clamp(first, 0, Count());
    if (m_Indexed) {
        return std::any_of(begin, m_Items.end(), [this](const auto& item) { return m_Names.Count(item->m_Name) > 1; });
    }
    // Without an index: the names' hashes in a table of their own, equal hashes compared. Built
    // for every list of a document being read, so it is one flat allocation and no sorting.
    std::size_t size = 16;
    while (size < m_Items.size() * 2) {
        size *= 2;
    }
    const std::size_t mask = size - 1;
    std::vector<std::pair<std::size_t, const THVItem*>> table(size, {0, nullptr});
    for (const auto& item : m_Items) {
        const std::size_t hash = TNameIndex::Hash(item->m_Name);
        std::size_t i = hash & mask;
        while (table[i].second != nullptr) {
            if (table[i].first == hash && AsciiSameText(table[i].second->m_Name, item->m_Name)) {
                return true;
            }
            i = (i + 1) & mask;
        }
        table[i] = {hash, item.get()};
    }
    return false;
}

void THVList::MakeNamesUniqueFrom(int first) {
    if (first >= Count() || !HasDuplicateNames(first)) {
        return;
    }
    // Each item is indexed after the ones before it, so it is compared only with those.
    m_SuffixHints.clear();
    m_Names.Clear();
    m_Indexed = true;
    for (int i = 0; i < Count(); ++i) {
        THVItem* item = m_Items[static_cast<std::size_t>(i)].get();
        m_Names.Insert(item);
        if (i >= first) {
            MakeUniqueName(*item);
        }
    }
}

void THVList::Unindex(const THVItem* item) {
    if (m_Indexed) {
        m_Names.Erase(item);
    }
    // A leaving "base~n" may free the suffix that a hint for base has already passed.
    if (!m_SuffixHints.empty()) {
        const std::string& name = item->m_Name;
        std::size_t tilde = name.rfind('~');
        if (tilde != std::string::npos && tilde + 1 < name.size() &&
            std::all_of(name.begin() + static_cast<std::ptrdiff_t>(tilde) + 1, name.end(),
                        [](char c) { return c >= '0' && c <= '9'; })) {
            m_SuffixHints.erase(AsciiLowerCase(std::string_view(name).substr(0, tilde)));
        }
    }
}

void THVList::Sort(const TItemOrder& order) {
    if (m_Items.size() < 2) {
        return;
    }
    if (order.SortType != TItemOrder::ByName) {
        std::stable_sort(m_Items.begin(), m_Items.end(),
                         [&order](const auto& a, const auto& b) { return CompareItems(*a, *b, order) < 0; });
        return;
    }
    // Collate every name once instead of once per comparison.
    struct TKeyed {
        std::string Key;
        std::unique_ptr<THVItem> Item;
    };
    std::vector<TKeyed> keyed;
    keyed.reserve(m_Items.size());
    for (auto& item : m_Items) {
        std::string key = NameSortKey(item->m_Name);
        keyed.push_back({std::move(key), std::move(item)});
    }
    const bool descending = order.SortDescending;
    std::stable_sort(keyed.begin(), keyed.end(), [descending](const TKeyed& a, const TKeyed& b) {
        int r = a.Key.compare(b.Key);
        r = (r > 0) - (r < 0);
        if (descending) {
            r = -r;
        }
        if (r == 0) {
            r = AsciiCompareText(a.Item->m_Name, b.Item->m_Name);
        }
        return r < 0;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        m_Items[i] = std::move(keyed[i].Item);
    }
}

// --- names --------------------------------------------------------------------------------

void MakeUniqueName(THVItem& item) {
    THVList* list = item.Owner();
    if (list == nullptr) {
        return;
    }
    const std::string& name = item.GetName();
    std::size_t count = list->CountOfName(name);
    // The item itself is in the index under its own name.
    if (count <= 1) {
        return;
    }
    std::string folded = AsciiLowerCase(name);
    auto hint = list->m_SuffixHints.find(folded);
    int n = hint != list->m_SuffixHints.end() ? hint->second : 1;
    std::string candidate;
    for (;; ++n) {
        candidate = name + "~" + std::to_string(n);
        if (list->CountOfName(candidate) == 0) {
            break;
        }
    }
    item.SetName(std::move(candidate));
    list->m_SuffixHints[folded] = n + 1;
}

std::string NewItemName(const THVList& list) {
    if (list.CountOfName(kUntitled) == 0) {
        return kUntitled;
    }
    for (int n = 2;; ++n) {
        std::string candidate = std::string(kUntitled) + "~" + std::to_string(n);
        if (list.CountOfName(candidate) == 0) {
            return candidate;
        }
    }
}

} // namespace hv

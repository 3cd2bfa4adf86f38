#pragma once

#include "model/DateTime.h"
#include "model/NameIndex.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hv {

class THVItem;
class THVList;
class THVFolder;
struct TItemOrder;

// One named command line of an item.
class TCmdItem {
public:
    std::string Title;
    std::string CommandLine;
    bool UpdateLastVisited = false;

    // Title, TAB, CommandLine, and TAB "V" when UpdateLastVisited is on.
    std::string GetText() const;
    bool operator==(const TCmdItem&) const = default;
};

// The ordered commands of one item.
class TCmdList {
public:
    explicit TCmdList(THVItem* item = nullptr) : m_Item(item) {}

    int Count() const { return static_cast<int>(m_Items.size()); }
    TCmdItem& Items(int index);
    const TCmdItem& Items(int index) const;
    TCmdItem& Add();
    // Appends empty commands or frees commands from the end until there are n.
    void SetCount(int n);
    void Assign(const TCmdList& source);
    THVItem* Item() const { return m_Item; }

    auto begin() const { return m_Items.begin(); }
    auto end() const { return m_Items.end(); }

private:
    friend class THVItem;
    THVItem* m_Item;
    std::vector<TCmdItem> m_Items;
};

// One bookmark. Items live in exactly one THVList, which owns them; they are created by
// THVList::Add and destroyed by Delete() or by their list.
class THVItem final {
public:
    THVItem(const THVItem&) = delete;
    THVItem& operator=(const THVItem&) = delete;
    ~THVItem() = default;

    // Items come from blocks of their own (see HVItems.cpp).
    static void* operator new(std::size_t size);
    static void operator delete(void* item) noexcept;

    THVList* Owner() const { return m_Owner; }

    const std::string& GetName() const { return m_Name; }
    const std::string& GetURL() const { return m_URL; }
    const std::string& GetMemo() const;
    const std::string& GetSchedule() const;
    const std::string& GetIconFile() const;
    int GetIconIndex() const { return m_Extras ? m_Extras->IconIndex : -1; }
    TDateTime GetLastVisited() const { return m_LastVisited; }
    TCmdList& GetCommands();
    const TCmdList& GetCommands() const;

    // Keeps the owner's name index current.
    void SetName(std::string name);
    void SetURL(std::string url) { m_URL = std::move(url); }
    void SetMemo(std::string memo);
    void SetSchedule(std::string schedule);
    void SetLastVisited(TDateTime when) { m_LastVisited = when; }
    // A file the user picked: stored as the canonical absolute path when it exists, else as
    // the absolute path; the icon index goes back to -1, so set the index after the file.
    void SetIconFile(const std::string& path);
    void SetIconIndex(int index);
    // Stores an icon reference exactly as given (documents keep their stored text).
    void SetIconRaw(std::string file, int index);

    // Copies commands, name, URL, memo, schedule, last visit and icon from source.
    void Assign(const THVItem& source);
    // Destroys this item; it leaves its list first.
    void Delete();

private:
    friend class THVList;
    explicit THVItem(THVList* owner) : m_Owner(owner) {}

    // What most items lack (a memo, an icon, a schedule, commands) lives apart, made on first
    // use, so that documents of many thousands of plain bookmarks stay small in memory.
    struct TExtras {
        explicit TExtras(THVItem* item) : Commands(item) {}
        TCmdList Commands;
        std::string Memo;
        std::string IconFile;
        std::string Schedule;
        int IconIndex = -1;
    };
    TExtras& Extras();

    std::unique_ptr<TExtras> m_Extras;
    TDateTime m_LastVisited = 0;
    std::string m_Name;
    std::string m_URL;
    THVList* m_Owner;
};

// The ordered item list of one folder; owns its items and keeps an index of their names so
// that name look-ups stay cheap in folders of many thousands of items.
class THVList {
public:
    explicit THVList(THVFolder* node = nullptr);
    THVList(const THVList&) = delete;
    THVList& operator=(const THVList&) = delete;
    ~THVList();

    int Count() const { return static_cast<int>(m_Items.size()); }
    THVItem* Items(int index);
    const THVItem* Items(int index) const;
    THVFolder* Node() const { return m_Node; }
    void SetNode(THVFolder* node) { m_Node = node; }

    // A new empty item at the end of the list.
    THVItem* Add();
    // A new item called name at the end of the list (the name is not made unique).
    THVItem* Add(std::string name);
    void Delete(int index);
    void Clear();
    // Takes the item out of the list without destroying it; the caller owns it.
    std::unique_ptr<THVItem> Extract(THVItem* item);
    int IndexOf(const THVItem* item) const;

    // The index of an item named name (ASCII letters compared case-insensitively), the
    // highest index among equals; -1 when there is none.
    int IndexOfName(std::string_view name) const;
    // The item IndexOfName would find, without computing its index.
    THVItem* FindByName(std::string_view name) const;
    bool IsNameFree(const THVItem* item, std::string_view name) const;
    // How many items are called name (case-insensitive for ASCII letters).
    std::size_t CountOfName(std::string_view name) const;
    // Gives the items from index first on unique names, in list order, as MakeUniqueName would
    // have had each item been added after the ones before it. For adding many items at once:
    // when the names are unique already, the name index is not even built.
    void MakeNamesUniqueFrom(int first);

    void Sort(const TItemOrder& order);

    auto begin() const { return m_Items.begin(); }
    auto end() const { return m_Items.end(); }

private:
    friend class THVItem;

    // The name index, built on first use.
    TNameIndex& Names() const;
    bool HasDuplicateNames(int first) const;
    void Unindex(const THVItem* item);
    void Reindex(THVItem* item) {
        if (m_Indexed) {
            m_Names.Insert(item);
        }
    }

    std::vector<std::unique_ptr<THVItem>> m_Items;
    mutable TNameIndex m_Names;
    mutable bool m_Indexed = false;
    THVFolder* m_Node;
    // For each (ASCII lower-cased) base name, a suffix number below which every "~n" is taken;
    // emptied whenever a name leaves the list.
    std::unordered_map<std::string, int> m_SuffixHints;
    friend void MakeUniqueName(THVItem& item);
};

// Appends "~n" with the smallest n >= 1 that no item of the list uses, when another item of
// the item's list already has the same name.
void MakeUniqueName(THVItem& item);
// "(Untitled)", or "(Untitled)~n" with the smallest free n starting at 2.
std::string NewItemName(const THVList& list);

} // namespace hv

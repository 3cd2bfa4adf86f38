#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

class THVFolder;
class THVItem;
class THVList;
struct TItemOrder;

// Hears of every change TTreeEdits makes to the tree, before and after, so that views can keep
// their rows in step and windows that hold references into the tree can let go of them. Every
// notice does nothing unless overridden.
class TTreeObserver {
public:
    virtual ~TTreeObserver();

    // A new child of parent is about to take index among its children; it has.
    virtual void FolderAboutToBeInserted(THVFolder& parent, int index);
    virtual void FolderInserted(THVFolder& folder);
    // folder, with everything below it, is about to leave the tree; it left parent at index.
    virtual void FolderAboutToBeRemoved(THVFolder& folder);
    virtual void FolderRemoved(THVFolder& parent, int index);
    // folder is about to move to index to among its siblings; it has.
    virtual void FolderAboutToBeMoved(THVFolder& folder, int to);
    virtual void FolderMoved(THVFolder& folder);
    // folder's name or expanded state changed.
    virtual void FolderChanged(THVFolder& folder);
    // The children of parent are about to be put in name order; they are.
    virtual void ChildrenAboutToBeSorted(THVFolder& parent);
    virtual void ChildrenSorted(THVFolder& parent);

    // A new item is about to take index in list; it has.
    virtual void ItemAboutToBeInserted(THVList& list, int index);
    virtual void ItemInserted(THVItem& item);
    // item is about to leave its list; it left list at index.
    virtual void ItemAboutToBeRemoved(THVItem& item);
    virtual void ItemRemoved(THVList& list, int index);
    // item's name, address, times, icon or memo changed.
    virtual void ItemChanged(THVItem& item);
    // list is about to be sorted; it is.
    virtual void ItemsAboutToBeSorted(THVList& list);
    virtual void ItemsSorted(THVList& list);

    // For windows that keep references: item is about to be freed; folder and every folder
    // below it are about to be freed (their items were announced first); oldItem moved to
    // newFolder, where newItem now stands for it, and oldItem is about to be freed.
    virtual void ItemAboutToBeFreed(THVItem& item);
    virtual void FolderAboutToBeFreed(THVFolder& folder);
    virtual void ItemMoved(THVItem& oldItem, THVItem& newItem, THVFolder& newFolder);
};

// What a rename did: Changed when the name was taken; Message, when not empty, tells the user why
// it was refused.
struct TRenameResult {
    bool Changed = false;
    std::string Message;
};

// Every edit of the folder tree and its item lists, each reported to the observers. The name
// rules of Names.h apply; sortFolders is the folder-sorting option (children kept in name order).
class TTreeEdits {
public:
    // An observer stays registered until removed; it must outlive its registration.
    void AddObserver(TTreeObserver* observer);
    void RemoveObserver(TTreeObserver* observer);

    // A new child of parent (at the end, or in name order when sorted). nullptr, and nothing
    // changes, when name is empty or a sibling has it (letter case of ASCII ignored).
    THVFolder* AddFolder(THVFolder& parent, const std::string& name, bool sortFolders);
    // Renames folder (not the root) to text as typed, cleaned and checked.
    TRenameResult RenameFolder(THVFolder& folder, std::string_view text, bool sortFolders);
    // Frees folder with everything below it, announcing every item and the folder first. The
    // root is never deleted (false).
    bool DeleteFolder(THVFolder& folder);
    // Swaps folder with its previous (delta -1) or next (delta 1) sibling; false without one.
    bool MoveFolder(THVFolder& folder, int delta);
    void SortChildren(THVFolder& parent);
    // Sorts the children of folder and of every folder below it.
    void SortAllChildren(THVFolder& folder);
    // Whether source may be moved into target: not the root, not into itself, below itself or
    // into its own parent (where it would meet itself as the receiving folder).
    static bool CanMoveFolderInto(const THVFolder& source, const THVFolder& target);
    // The merging move: source's items and sub-folders go into target's child of source's name
    // (made when there is none), each sub-folder likewise into the receiving folder's child of
    // its name; items last first, each made unique there and announced as moved; each receiving
    // folder takes the expanded state of its source. Then source is freed. Returns the receiving
    // folder, or nullptr when the move is refused (see CanMoveFolderInto); receivers, when given,
    // gets every receiving folder.
    THVFolder* MoveFolderInto(THVFolder& source, THVFolder& target, bool sortFolders,
                              std::vector<THVFolder*>* receivers = nullptr);
    // Announces every item of folder and everything below it, then the folder, as about to be
    // freed, for a tree that is replaced as a whole.
    void AnnounceFreed(THVFolder& folder);

    // A new item at the end of list, assigned from source; its name must have been checked.
    THVItem* AddItem(THVList& list, const THVItem& source);
    // A new item at the end of list with name and url as given (imports check neither), its name
    // then made unique there.
    THVItem* AddNewItem(THVList& list, const std::string& name, const std::string& url);
    // Renames item to text as typed, cleaned and checked.
    TRenameResult RenameItem(THVItem& item, std::string_view text);
    // The caller changed item (properties, access time): the observers hear of it.
    void ItemChanged(THVItem& item);
    // Frees the items, the last first, each announced.
    void DeleteItems(const std::vector<THVItem*>& items);
    // Moves the items, the last first, to target: each becomes a new item there, assigned from
    // the old one, named name when given (one item), made unique, announced as moved, and the old
    // one is freed. Items already in target stay. Returns the new items in the order made.
    std::vector<THVItem*> MoveItems(const std::vector<THVItem*>& items, THVFolder& target,
                                    const std::optional<std::string>& name = {});
    // Copies the items, first to last, into target, named name when given, made unique.
    std::vector<THVItem*> CopyItems(const std::vector<THVItem*>& items, THVFolder& target,
                                    const std::optional<std::string>& name = {});
    void SortItems(THVList& list, const TItemOrder& order);

private:
    template <class Fn> void Notify(Fn&& fn);
    THVItem* AddCopy(THVList& list, const THVItem& source, const std::optional<std::string>& name);
    void RemoveItem(THVItem& item);

    std::vector<TTreeObserver*> m_Observers;
};

} // namespace hv

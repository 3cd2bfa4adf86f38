#pragma once

#include <vector>

namespace hv {

class THVFolder;
class THVItem;

// Receives the notices the window that changes the tree sends before it frees or replaces
// items, so that result lists and running searches never keep a freed item or folder.
class TItemNoticeListener {
public:
    virtual ~TItemNoticeListener();

    // item is about to be freed.
    virtual void ItemFreed(THVItem* item) = 0;
    // oldItem was moved to newFolder, where newItem now stands for it; oldItem is about to be
    // freed.
    virtual void ItemMoved(THVItem* oldItem, THVItem* newItem, THVFolder* newFolder) = 0;
    // folder and every folder below it are about to be freed (their items had ItemFreed first).
    virtual void FolderFreed(THVFolder* folder);
    // item was renamed or edited in place.
    virtual void ItemChanged(THVItem* item);
    // folder was renamed (or took in another folder's contents): the paths below it may differ.
    virtual void FolderChanged(THVFolder* folder);
};

// The hub the tree's owner sends its notices through; result lists and searches subscribe.
// A listener may subscribe or unsubscribe anyone, itself included, while a notice is delivered.
class TItemNotices {
public:
    void Subscribe(TItemNoticeListener* listener);
    void Unsubscribe(TItemNoticeListener* listener);

    void ItemFreed(THVItem* item);
    void ItemMoved(THVItem* oldItem, THVItem* newItem, THVFolder* newFolder);
    void FolderFreed(THVFolder* folder);
    void ItemChanged(THVItem* item);
    void FolderChanged(THVFolder* folder);
    // Everything a folder's deletion announces: ItemFreed for every item of folder and of every
    // folder below it, then FolderFreed(folder).
    void SubtreeFreed(THVFolder* folder);

private:
    template <class Fn> void Broadcast(Fn&& fn);

    std::vector<TItemNoticeListener*> m_Listeners;
};

// Subscribes a listener for the lifetime of this object (no hub: nothing to do).
class TNoticeSubscription {
public:
    TNoticeSubscription(TItemNotices* notices, TItemNoticeListener* listener);
    TNoticeSubscription(const TNoticeSubscription&) = delete;
    TNoticeSubscription& operator=(const TNoticeSubscription&) = delete;
    ~TNoticeSubscription();

private:
    TItemNotices* m_Notices;
    TItemNoticeListener* m_Listener;
};

} // namespace hv

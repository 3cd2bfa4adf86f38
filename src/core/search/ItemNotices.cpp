#include "search/ItemNotices.h"

#include "model/HVFolder.h"

#include <algorithm>

namespace hv {

TItemNoticeListener::~TItemNoticeListener() = default;

void TItemNoticeListener::FolderFreed(THVFolder*) {}

void TItemNoticeListener::ItemChanged(THVItem*) {}

void TItemNoticeListener::FolderChanged(THVFolder*) {}

void TItemNotices::Subscribe(TItemNoticeListener* listener) {
    if (listener != nullptr && std::find(m_Listeners.begin(), m_Listeners.end(), listener) == m_Listeners.end()) {
        m_Listeners.push_back(listener);
    }
}

void TItemNotices::Unsubscribe(TItemNoticeListener* listener) {
    std::erase(m_Listeners, listener);
}

template <class Fn> void TItemNotices::Broadcast(Fn&& fn) {
    // A listener may change the subscriptions while it is told: deliver to a snapshot, skipping
    // those that left meanwhile.
    const std::vector<TItemNoticeListener*> snapshot = m_Listeners;
    for (TItemNoticeListener* listener : snapshot) {
        if (std::find(m_Listeners.begin(), m_Listeners.end(), listener) != m_Listeners.end()) {
            fn(*listener);
        }
    }
}

void TItemNotices::ItemFreed(THVItem* item) {
    Broadcast([item](TItemNoticeListener& l) { l.ItemFreed(item); });
}

void TItemNotices::ItemMoved(THVItem* oldItem, THVItem* newItem, THVFolder* newFolder) {
    Broadcast([=](TItemNoticeListener& l) { l.ItemMoved(oldItem, newItem, newFolder); });
}

void TItemNotices::FolderFreed(THVFolder* folder) {
    Broadcast([folder](TItemNoticeListener& l) { l.FolderFreed(folder); });
}

void TItemNotices::ItemChanged(THVItem* item) {
    Broadcast([item](TItemNoticeListener& l) { l.ItemChanged(item); });
}

void TItemNotices::FolderChanged(THVFolder* folder) {
    Broadcast([folder](TItemNoticeListener& l) { l.FolderChanged(folder); });
}

void TItemNotices::SubtreeFreed(THVFolder* folder) {
    if (folder == nullptr) {
        return;
    }
    if (!m_Listeners.empty()) {
        ForEachFolder(*folder, [this](THVFolder& f, int) {
            for (const auto& item : f.List()) {
                ItemFreed(item.get());
            }
        });
    }
    FolderFreed(folder);
}

TNoticeSubscription::TNoticeSubscription(TItemNotices* notices, TItemNoticeListener* listener)
    : m_Notices(notices), m_Listener(listener) {
    if (m_Notices != nullptr) {
        m_Notices->Subscribe(m_Listener);
    }
}

TNoticeSubscription::~TNoticeSubscription() {
    if (m_Notices != nullptr) {
        m_Notices->Unsubscribe(m_Listener);
    }
}

} // namespace hv

#include "model/HVFolder.h"

#include "model/ItemOrder.h"
#include "text/TextUtil.h"

#include <algorithm>

namespace hv {

THVFolder::THVFolder(std::string name, THVFolder* parent) : m_Name(std::move(name)), m_Parent(parent), m_List(this) {}

THVFolder::~THVFolder() {
    // Free the subtree without recursion, so that no depth of nesting can exhaust the stack:
    // every folder is emptied of its children before it is destroyed.
    std::vector<std::unique_ptr<THVFolder>> pending = std::move(m_Children);
    while (!pending.empty()) {
        std::unique_ptr<THVFolder> folder = std::move(pending.back());
        pending.pop_back();
        for (auto& child : folder->m_Children) {
            pending.push_back(std::move(child));
        }
        folder->m_Children.clear();
    }
}

int THVFolder::Level() const {
    int level = 0;
    for (const THVFolder* f = m_Parent; f != nullptr; f = f->m_Parent) {
        ++level;
    }
    return level;
}

int THVFolder::IndexOfChild(const THVFolder* child) const {
    for (std::size_t i = 0; i < m_Children.size(); ++i) {
        if (m_Children[i].get() == child) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

THVFolder* THVFolder::AddChild(std::string name) {
    return InsertChild(ChildCount(), std::move(name));
}

THVFolder* THVFolder::InsertChild(int index, std::string name) {
    return AdoptChild(std::make_unique<THVFolder>(std::move(name), this), index);
}

std::unique_ptr<THVFolder> THVFolder::ExtractChild(THVFolder* child) {
    int index = IndexOfChild(child);
    if (index < 0) {
        return nullptr;
    }
    std::unique_ptr<THVFolder> owned = std::move(m_Children[static_cast<std::size_t>(index)]);
    m_Children.erase(m_Children.begin() + index);
    owned->m_Parent = nullptr;
    return owned;
}

THVFolder* THVFolder::AdoptChild(std::unique_ptr<THVFolder> child, int index) {
    if (index < 0 || index > ChildCount()) {
        index = ChildCount();
    }
    child->m_Parent = this;
    auto it = m_Children.insert(m_Children.begin() + index, std::move(child));
    return it->get();
}

void THVFolder::DeleteChild(THVFolder* child) {
    ExtractChild(child);
}

void THVFolder::MoveChild(int from, int to) {
    if (from < 0 || from >= ChildCount() || to < 0 || to >= ChildCount() || from == to) {
        return;
    }
    std::unique_ptr<THVFolder> moving = std::move(m_Children[static_cast<std::size_t>(from)]);
    m_Children.erase(m_Children.begin() + from);
    m_Children.insert(m_Children.begin() + to, std::move(moving));
}

void THVFolder::Clear() {
    // Handing the children to a temporary folder frees them without recursion.
    THVFolder doomed;
    doomed.m_Children = std::move(m_Children);
    m_Children.clear();
    m_List.Clear();
}

THVFolder* THVFolder::FindChild(std::string_view name) const {
    for (const auto& child : m_Children) {
        if (AsciiSameText(child->m_Name, name)) {
            return child.get();
        }
    }
    return nullptr;
}

THVFolder* THVFolder::FindOrCreateChild(std::string_view name, bool sortFolders, bool* created) {
    THVFolder* child = FindChild(name);
    if (created != nullptr) {
        *created = child == nullptr;
    }
    if (child == nullptr) {
        child = AddChild(std::string(name));
        if (sortFolders) {
            SortChildren();
        }
    }
    return child;
}

void THVFolder::SortChildren() {
    if (m_Children.size() < 2) {
        return;
    }
    struct TKeyed {
        std::string Key;
        std::unique_ptr<THVFolder> Folder;
    };
    std::vector<TKeyed> keyed;
    keyed.reserve(m_Children.size());
    for (auto& child : m_Children) {
        std::string key = NameSortKey(child->m_Name);
        keyed.push_back({std::move(key), std::move(child)});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const TKeyed& a, const TKeyed& b) {
        int r = a.Key.compare(b.Key);
        if (r == 0) {
            r = AsciiCompareText(a.Folder->m_Name, b.Folder->m_Name);
        }
        return r < 0;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        m_Children[i] = std::move(keyed[i].Folder);
    }
}

void THVFolder::SortChildrenRecursive() {
    ForEachFolder(*this, [](THVFolder& folder, int) { folder.SortChildren(); });
}

void THVFolder::SetExpandedRecursive(bool expanded) {
    ForEachFolder(*this, [expanded](THVFolder& folder, int) { folder.m_Expanded = expanded; });
}

THVFolder* THVFolder::NextInTree(const THVFolder* subtreeRoot) const {
    if (!m_Children.empty()) {
        return m_Children.front().get();
    }
    for (const THVFolder* f = this; f != subtreeRoot && f->m_Parent != nullptr; f = f->m_Parent) {
        const auto& siblings = f->m_Parent->m_Children;
        int index = f->m_Parent->IndexOfChild(f);
        if (static_cast<std::size_t>(index) + 1 < siblings.size()) {
            return siblings[static_cast<std::size_t>(index) + 1].get();
        }
    }
    return nullptr;
}

bool THVFolder::IsInside(const THVFolder* folder) const {
    for (const THVFolder* f = this; f != nullptr; f = f->m_Parent) {
        if (f == folder) {
            return true;
        }
    }
    return false;
}

} // namespace hv

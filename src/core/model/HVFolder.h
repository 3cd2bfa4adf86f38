#pragma once

#include "model/HVItems.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hv {

// One folder of the document: its name, its place in the tree, whether it is shown expanded,
// and its item list. A folder owns its children and its list; trees of any depth are built,
// walked and freed without recursion.
class THVFolder {
public:
    explicit THVFolder(std::string name = {}, THVFolder* parent = nullptr);
    THVFolder(const THVFolder&) = delete;
    THVFolder& operator=(const THVFolder&) = delete;
    ~THVFolder();

    const std::string& Name() const { return m_Name; }
    void SetName(std::string name) { m_Name = std::move(name); }
    THVFolder* Parent() const { return m_Parent; }
    bool Expanded() const { return m_Expanded; }
    void SetExpanded(bool expanded) { m_Expanded = expanded; }
    // 0 for the root, 1 for its children, and so on.
    int Level() const;

    THVList& List() { return m_List; }
    const THVList& List() const { return m_List; }

    int ChildCount() const { return static_cast<int>(m_Children.size()); }
    THVFolder* Child(int index) { return m_Children.at(static_cast<std::size_t>(index)).get(); }
    const THVFolder* Child(int index) const { return m_Children.at(static_cast<std::size_t>(index)).get(); }
    int IndexOfChild(const THVFolder* child) const;
    const std::vector<std::unique_ptr<THVFolder>>& Children() const { return m_Children; }

    // A new child folder at the end (or at index) of the children.
    THVFolder* AddChild(std::string name);
    THVFolder* InsertChild(int index, std::string name);
    // Takes a child out of the tree; the caller owns it.
    std::unique_ptr<THVFolder> ExtractChild(THVFolder* child);
    // Puts a detached folder under this one, at the end or at index.
    THVFolder* AdoptChild(std::unique_ptr<THVFolder> child, int index = -1);
    void DeleteChild(THVFolder* child);
    void MoveChild(int from, int to);
    // Removes every child folder and every item.
    void Clear();

    // The direct child whose name equals name, ASCII letters compared case-insensitively.
    THVFolder* FindChild(std::string_view name) const;
    // FindChild, or a new child of that name; a new child is put in name order when
    // sortFolders is on. created tells which happened.
    THVFolder* FindOrCreateChild(std::string_view name, bool sortFolders, bool* created = nullptr);
    // Puts the children in name order (the order of item names).
    void SortChildren();
    // Sorts the children of this folder and of every folder below it.
    void SortChildrenRecursive();

    // This folder and every folder below it, expanded or collapsed.
    void SetExpandedRecursive(bool expanded);
    // The folder after this one in pre-order, staying inside subtree root (nullptr at the end).
    THVFolder* NextInTree(const THVFolder* subtreeRoot) const;
    // Whether this folder is folder or lies below it.
    bool IsInside(const THVFolder* folder) const;

private:
    std::string m_Name;
    THVFolder* m_Parent;
    bool m_Expanded = false;
    THVList m_List;
    std::vector<std::unique_ptr<THVFolder>> m_Children;
};

// Calls fn(folder, level) for folder and every folder below it in pre-order, the level
// counted from folder (0). Safe on trees of any depth; fn must not add or remove folders.
template <class Folder, class Fn> void ForEachFolder(Folder& folder, Fn&& fn) {
    std::vector<std::pair<Folder*, int>> stack; // a folder and the index of its next child
    fn(folder, 0);
    stack.emplace_back(&folder, 0);
    while (!stack.empty()) {
        auto& [f, next] = stack.back();
        if (next < f->ChildCount()) {
            Folder* child = f->Child(next++);
            fn(*child, static_cast<int>(stack.size()));
            stack.emplace_back(child, 0);
        } else {
            stack.pop_back();
        }
    }
}

} // namespace hv

#include "settings/RegistryStore.h"

#include "settings/NameCase.h"

#include <algorithm>

namespace hv {

TRegKeyNode* TRegKeyNode::FindSubKey(std::string_view name) const {
    for (const auto& key : SubKeys) {
        if (SameName(key->Name, name)) {
            return key.get();
        }
    }
    return nullptr;
}

TRegKeyNode& TRegKeyNode::SubKey(std::string_view name) {
    if (TRegKeyNode* key = FindSubKey(name)) {
        return *key;
    }
    SubKeys.push_back(std::make_unique<TRegKeyNode>());
    SubKeys.back()->Name = std::string(name);
    return *SubKeys.back();
}

const TRegValue* TRegKeyNode::FindValue(std::string_view name) const {
    for (const auto& [valueName, value] : Values) {
        if (valueName == name) {
            return &value;
        }
    }
    return nullptr;
}

void TRegKeyNode::SetValue(std::string_view name, TRegValue value) {
    for (auto& [valueName, old] : Values) {
        if (valueName == name) {
            old = std::move(value);
            return;
        }
    }
    Values.emplace_back(std::string(name), std::move(value));
}

bool TRegKeyNode::RemoveValue(std::string_view name) {
    auto it = std::find_if(Values.begin(), Values.end(), [name](const auto& entry) { return entry.first == name; });
    if (it == Values.end()) {
        return false;
    }
    Values.erase(it);
    return true;
}

bool TRegKeyNode::RemoveSubKey(std::string_view name) {
    auto it =
        std::find_if(SubKeys.begin(), SubKeys.end(), [name](const auto& key) { return SameName(key->Name, name); });
    if (it == SubKeys.end()) {
        return false;
    }
    SubKeys.erase(it);
    return true;
}

bool TRegKeyNode::HoldsNoValue() const {
    return Values.empty() &&
           std::all_of(SubKeys.begin(), SubKeys.end(), [](const auto& key) { return key->HoldsNoValue(); });
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            names.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

const TRegKeyNode* TRegistryTree::FindKey(std::string_view path) const {
    const TRegKeyNode* key = m_Root.FindSubKey(CurrentUser);
    for (const std::string& name : SplitKeyPath(path)) {
        if (key == nullptr) {
            return nullptr;
        }
        key = key->FindSubKey(name);
    }
    return key;
}

TRegKeyNode& TRegistryTree::CreateKey(std::string_view path) {
    TRegKeyNode* key = &m_Root.SubKey(CurrentUser);
    for (const std::string& name : SplitKeyPath(path)) {
        key = &key->SubKey(name);
    }
    return *key;
}

bool TRegistryTree::DeleteKey(std::string_view path) {
    std::vector<std::string> names = SplitKeyPath(path);
    if (names.empty()) {
        return false; // HKEY_CURRENT_USER itself stays
    }
    const std::string last = names.back();
    names.pop_back();
    TRegKeyNode* parent = m_Root.FindSubKey(CurrentUser);
    for (const std::string& name : names) {
        if (parent == nullptr) {
            return false;
        }
        parent = parent->FindSubKey(name);
    }
    return parent != nullptr && parent->RemoveSubKey(last);
}

TRegistryStore::~TRegistryStore() = default;

bool TMemoryRegistryStore::KeyExists(std::string_view path) const {
    return m_Tree.FindKey(path) != nullptr;
}

void TMemoryRegistryStore::CreateKey(std::string_view path) {
    m_Tree.CreateKey(path);
}

std::vector<std::string> TMemoryRegistryStore::ValueNames(std::string_view path) const {
    std::vector<std::string> names;
    if (const TRegKeyNode* key = m_Tree.FindKey(path)) {
        for (const auto& entry : key->Values) {
            names.push_back(entry.first);
        }
    }
    return names;
}

std::vector<std::string> TMemoryRegistryStore::SubKeyNames(std::string_view path) const {
    std::vector<std::string> names;
    if (const TRegKeyNode* key = m_Tree.FindKey(path)) {
        for (const auto& sub : key->SubKeys) {
            names.push_back(sub->Name);
        }
    }
    return names;
}

std::optional<TRegValue> TMemoryRegistryStore::ReadValue(std::string_view path, std::string_view name) const {
    const TRegKeyNode* key = m_Tree.FindKey(path);
    const TRegValue* value = key != nullptr ? key->FindValue(name) : nullptr;
    return value != nullptr ? std::optional<TRegValue>(*value) : std::nullopt;
}

void TMemoryRegistryStore::WriteValue(std::string_view path, std::string_view name, const TRegValue& value) {
    m_Tree.CreateKey(path).SetValue(name, value);
}

void TMemoryRegistryStore::WriteValueIfAbsent(std::string_view path, std::string_view name, const TRegValue& value) {
    TRegKeyNode& key = m_Tree.CreateKey(path);
    if (key.FindValue(name) == nullptr) {
        key.SetValue(name, value);
    }
}

bool TMemoryRegistryStore::DeleteValue(std::string_view path, std::string_view name) {
    // CreateKey only finds here: the key is known to exist.
    return m_Tree.FindKey(path) != nullptr && m_Tree.CreateKey(path).RemoveValue(name);
}

bool TMemoryRegistryStore::DeleteKey(std::string_view path) {
    return m_Tree.DeleteKey(path);
}

bool MoveKey(TRegistryStore& store, std::string_view from, std::string_view to) {
    if (!store.KeyExists(from)) {
        return false;
    }
    const std::vector<std::string> fromNames = SplitKeyPath(from);
    const std::vector<std::string> toNames = SplitKeyPath(to);
    if (std::ranges::equal(fromNames, toNames,
                           [](const std::string& a, const std::string& b) { return SameName(a, b); })) {
        return true; // moving a key onto itself must not delete it
    }
    store.CreateKey(to);
    for (const std::string& name : store.ValueNames(from)) {
        if (std::optional<TRegValue> value = store.ReadValue(from, name)) {
            store.WriteValue(to, name, *value);
        }
    }
    for (const std::string& sub : store.SubKeyNames(from)) {
        MoveKey(store, std::string(from) + "\\" + sub, std::string(to) + "\\" + sub);
    }
    store.DeleteKey(from);
    return true;
}

} // namespace hv

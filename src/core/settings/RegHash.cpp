#include "settings/RegHash.h"

#include <algorithm>

namespace hv {

TRegValue RegValueOf(const THashKey& key) {
    switch (key.Kind()) {
    case THashKeyKind::Integer:
    case THashKeyKind::Boolean:
        return TRegValue::DWord(static_cast<std::uint32_t>(key.Number()));
    case THashKeyKind::Binary:
        return TRegValue::Binary(key.Text());
    case THashKeyKind::String:
        break;
    }
    return TRegValue::String(key.Text());
}

bool ReadRegValue(THashKey& key, const TRegValue& value) {
    switch (value.Kind) {
    case TRegValueKind::String:
    case TRegValueKind::ExpandString:
        key.SetAsString(value.Data);
        return true;
    case TRegValueKind::DWord:
        key.SetAsInteger(static_cast<std::int32_t>(value.Number));
        return true;
    case TRegValueKind::Binary:
        key.SetAsBinary(value.Data);
        return true;
    case TRegValueKind::Other:
        break;
    }
    return false;
}

void StoreKey(TRegistryStore& registry, std::string_view path, const THashKey& key) {
    if (key.Modified()) {
        registry.WriteValue(path, key.Name(), RegValueOf(key));
    } else {
        registry.WriteValueIfAbsent(path, key.Name(), RegValueOf(key));
    }
}

TRegHash::TRegHash(TRegistryStore& registry, std::string keyPath)
    : m_Registry(registry), m_KeyPath(std::move(keyPath)) {}

TRegHash::~TRegHash() {
    try {
        Close();
    } catch (...) {
        // A destructor cannot report; the store keeps what was written for its next flush.
    }
}

void TRegHash::Open() {
    if (m_Open) {
        return;
    }
    try {
        m_Registry.CreateKey(m_KeyPath);
    } catch (const EHVError&) {
        Close();
        throw EHashError("レジストリを開けませんでした");
    }
    try {
        m_Registry.Flush();
    } catch (const EHVError&) {
        // The store as this process knows it is still there to work on; its changes wait for
        // the next flush.
    }
    m_Open = true;
}

void TRegHash::Close() {
    if (!m_Open) {
        return;
    }
    WriteCache();
    m_Cache.clear();
    m_Open = false;
    try {
        m_Registry.Flush();
    } catch (const EHVError&) {
        // Kept by the store and retried at its next flush; the program's end reports a failure.
    }
}

void TRegHash::CheckOpen() const {
    if (!m_Open) {
        throw EHashError("レジストリを開いていません");
    }
}

void TRegHash::WriteCache() {
    for (auto it = m_Cache.rbegin(); it != m_Cache.rend(); ++it) {
        if (it->Key->Modified() || !it->Stored) {
            StoreKey(m_Registry, m_KeyPath, *it->Key);
            it->Key->SetModified(false);
            it->Stored = true;
        }
    }
}

int TRegHash::GetCount() {
    CheckOpen();
    WriteCache();
    if (!m_Registry.KeyExists(m_KeyPath)) {
        throw EHashError("キーの数を取得できません");
    }
    return static_cast<int>(m_Registry.ValueNames(m_KeyPath).size());
}

THashKey& TRegHash::GetKey(std::string_view name) {
    CheckOpen();
    for (const TCached& cached : m_Cache) {
        if (SameKeyName(cached.Key->Name(), name)) {
            return *cached.Key;
        }
    }
    const std::optional<TRegValue> value = m_Registry.ReadValue(m_KeyPath, name);
    if (!value && !AutoCreate()) {
        KeyNotFound(name);
    }
    auto key = std::make_unique<THashKey>(std::string(name), this);
    if (value) {
        ReadRegValue(*key, *value);
        key->SetModified(false);
    }
    m_Cache.push_back({std::move(key), value.has_value()});
    return *m_Cache.back().Key;
}

void TRegHash::Clear() {
    CheckOpen();
    m_Cache.clear();
    for (const std::string& name : m_Registry.ValueNames(m_KeyPath)) {
        m_Registry.DeleteValue(m_KeyPath, name);
    }
}

bool TRegHash::Delete(std::string_view name) {
    CheckOpen();
    bool removed = m_Registry.DeleteValue(m_KeyPath, name);
    auto it = std::find_if(m_Cache.begin(), m_Cache.end(),
                           [&](const TCached& cached) { return SameKeyName(cached.Key->Name(), name); });
    if (it != m_Cache.end()) {
        m_Cache.erase(it);
        removed = true;
    }
    return removed;
}

std::vector<std::string> TRegHash::GetKeyNames() {
    CheckOpen();
    WriteCache();
    return m_Registry.ValueNames(m_KeyPath);
}

bool TRegHash::Exists(std::string_view name) {
    CheckOpen();
    WriteCache();
    return m_Registry.ValueExists(m_KeyPath, name);
}

} // namespace hv

#include "settings/Hashes.h"

#include "settings/NameCase.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <charconv>

namespace hv {

std::int32_t StrToIntOrZero(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    if (text.starts_with('+') && text.size() > 1 && text[1] != '-') {
        text.remove_prefix(1);
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return 0;
    }
    return value;
}

std::string THashKey::AsString() const {
    switch (m_Kind) {
    case THashKeyKind::Integer:
    case THashKeyKind::Boolean:
        return std::to_string(m_Number);
    case THashKeyKind::String:
    case THashKeyKind::Binary:
        break;
    }
    return m_Text;
}

std::int32_t THashKey::AsInteger() const {
    switch (m_Kind) {
    case THashKeyKind::String:
        return StrToIntOrZero(m_Text);
    case THashKeyKind::Binary: {
        std::uint32_t value = 0;
        const std::size_t count = std::min<std::size_t>(m_Text.size(), 4);
        for (std::size_t i = count; i > 0; --i) {
            value = (value << 8) | static_cast<unsigned char>(m_Text[i - 1]);
        }
        return static_cast<std::int32_t>(value);
    }
    case THashKeyKind::Integer:
    case THashKeyKind::Boolean:
        break;
    }
    return m_Number;
}

bool THashKey::AsBoolean() const {
    switch (m_Kind) {
    case THashKeyKind::String: {
        const std::string lower = LowerName(m_Text);
        return !(lower.empty() || lower == "0" || lower == "f" || lower == "false" || lower == "n" || lower == "no");
    }
    case THashKeyKind::Binary:
        return std::any_of(m_Text.begin(), m_Text.end(), [](char c) { return c != '\0'; });
    case THashKeyKind::Integer:
    case THashKeyKind::Boolean:
        break;
    }
    return m_Number != 0;
}

std::string THashKey::AsBinary() const {
    switch (m_Kind) {
    case THashKeyKind::Integer: {
        const auto value = static_cast<std::uint32_t>(m_Number);
        std::string bytes(4, '\0');
        for (std::size_t i = 0; i < 4; ++i) {
            bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return bytes;
    }
    case THashKeyKind::Boolean:
        return std::string(1, m_Number != 0 ? '\xFF' : '\0');
    case THashKeyKind::String:
    case THashKeyKind::Binary:
        break;
    }
    return m_Text;
}

void THashKey::Set(THashKeyKind kind, std::int32_t number, std::string text) {
    // Only what the kind reads counts: the number of an integer or boolean key, the text of a
    // string or binary key.
    const bool numeric = kind == THashKeyKind::Integer || kind == THashKeyKind::Boolean;
    if (kind != m_Kind || (numeric ? number != m_Number : text != m_Text)) {
        m_Modified = true;
    }
    m_Kind = kind;
    m_Number = number;
    m_Text = std::move(text);
}

void THashKey::SetAsString(std::string text) {
    // A string key keeps its number untouched, as only the text counts for it.
    Set(THashKeyKind::String, m_Number, std::move(text));
}

void THashKey::SetAsInteger(std::int32_t number) {
    Set(THashKeyKind::Integer, number, {});
}

void THashKey::SetAsBoolean(bool value) {
    Set(THashKeyKind::Boolean, value ? 1 : 0, {});
}

void THashKey::SetAsBinary(std::string bytes) {
    Set(THashKeyKind::Binary, m_Number, std::move(bytes));
}

void THashKey::Assign(const THashKey* source) {
    if (source == nullptr) {
        Set(THashKeyKind::String, 0, {});
    } else {
        Set(source->m_Kind, source->m_Number, source->m_Text);
    }
}

TCustomHash::~TCustomHash() = default;

void TCustomHash::SetKey(std::string_view name, const THashKey& key) {
    GetKey(name).Assign(&key);
}

void TCustomHash::Assign(TCustomHash* source) {
    Clear();
    if (source == nullptr) {
        return;
    }
    for (const std::string& name : source->GetKeyNames()) {
        SetKey(name, source->GetKey(name));
    }
}

bool TCustomHash::SameKeyName(std::string_view a, std::string_view b) const {
    return m_IgnoreCase ? SameName(a, b) : a == b;
}

void TCustomHash::KeyNotFound(std::string_view name) {
    throw EHashError("キー '" + std::string(name) + "' が見つかりません");
}

THashKey* THash::Find(std::string_view name) const {
    for (const auto& key : m_Keys) {
        if (SameKeyName(key->Name(), name)) {
            return key.get();
        }
    }
    return nullptr;
}

THashKey& THash::GetKey(std::string_view name) {
    if (THashKey* key = Find(name)) {
        return *key;
    }
    if (!AutoCreate()) {
        KeyNotFound(name);
    }
    m_Keys.push_back(std::make_unique<THashKey>(std::string(name), this));
    return *m_Keys.back();
}

bool THash::Delete(std::string_view name) {
    auto it =
        std::find_if(m_Keys.begin(), m_Keys.end(), [&](const auto& key) { return SameKeyName(key->Name(), name); });
    if (it == m_Keys.end()) {
        return false;
    }
    m_Keys.erase(it);
    return true;
}

std::vector<std::string> THash::GetKeyNames() {
    std::vector<std::string> names;
    names.reserve(m_Keys.size());
    for (const auto& key : m_Keys) {
        names.push_back(key->Name());
    }
    return names;
}

void THash::ClearModified() {
    for (const auto& key : m_Keys) {
        key->SetModified(false);
    }
}

} // namespace hv

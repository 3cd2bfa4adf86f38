#pragma once

#include "Errors.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Named-value tables: the in-memory settings tables and the base of the registry-backed one.

namespace hv {

// A settings table was asked for a key it does not hold, or its registry key failed.
class EHashError : public EHVError {
public:
    using EHVError::EHVError;
    const char* ClassName() const noexcept override { return "EHashError"; }
};

// A decimal integer with an optional sign (leading blanks allowed); 0 for anything else and for
// numbers outside 32 bits.
std::int32_t StrToIntOrZero(std::string_view text);

enum class THashKeyKind : std::uint8_t { String = 0, Integer = 1, Boolean = 2, Binary = 3 };

class TCustomHash;

// One named value. It can be read and written as any kind; writing changes the kind.
class THashKey {
public:
    explicit THashKey(std::string name = {}, TCustomHash* owner = nullptr) : m_Name(std::move(name)), m_Owner(owner) {}

    THashKeyKind Kind() const { return m_Kind; }
    std::int32_t Number() const { return m_Number; }
    const std::string& Name() const { return m_Name; }
    TCustomHash* Owner() const { return m_Owner; }
    const std::string& Text() const { return m_Text; }

    // string: the text; integer or boolean: the number in decimal; binary: the raw bytes.
    std::string AsString() const;
    // string: a decimal integer, 0 when it is not one; binary: the first up to 4 bytes,
    // little-endian; integer or boolean: the number.
    std::int32_t AsInteger() const;
    // string: false for "", "0", "f", "false", "n", "no" in any letter case, else true;
    // integer or boolean: the number is not 0; binary: some byte is not 0.
    bool AsBoolean() const;
    // string or binary: the bytes; integer: 4 bytes little-endian; boolean: one byte 255 or 0.
    std::string AsBinary() const;

    void SetAsString(std::string text);
    void SetAsInteger(std::int32_t number);
    void SetAsBoolean(bool value);
    void SetAsBinary(std::string bytes);

    // Copies kind, number and text; from nothing the key becomes an empty string key.
    void Assign(const THashKey* source);

    // Set whenever a write changes the value (kind, number or text); the registry tables write
    // back only the keys this process changed, so that a value another running copy stored is
    // not overwritten with a stale one.
    bool Modified() const { return m_Modified; }
    void SetModified(bool modified) { m_Modified = modified; }

private:
    void Set(THashKeyKind kind, std::int32_t number, std::string text);

    THashKeyKind m_Kind = THashKeyKind::String;
    std::int32_t m_Number = 0;
    std::string m_Name;
    TCustomHash* m_Owner;
    std::string m_Text;
    bool m_Modified = false;
};

// A table of named keys.
class TCustomHash {
public:
    TCustomHash() = default;
    TCustomHash(const TCustomHash&) = delete;
    TCustomHash& operator=(const TCustomHash&) = delete;
    virtual ~TCustomHash();

    // Reading a missing key creates it (on), or raises EHashError (off).
    bool AutoCreate() const { return m_AutoCreate; }
    void SetAutoCreate(bool on) { m_AutoCreate = on; }
    // Key names compare without regard to letter case (on), or byte for byte (off).
    bool IgnoreCase() const { return m_IgnoreCase; }
    void SetIgnoreCase(bool on) { m_IgnoreCase = on; }

    virtual int GetCount() = 0;
    // The key of that name; created when missing and AutoCreate is on, else EHashError
    // "キー '%s' が見つかりません".
    virtual THashKey& GetKey(std::string_view name) = 0;
    // GetKey, then a copy of the given key's value into it.
    virtual void SetKey(std::string_view name, const THashKey& key);
    virtual void Clear() = 0;
    // True when a key was removed.
    virtual bool Delete(std::string_view name) = 0;
    virtual std::vector<std::string> GetKeyNames() = 0;
    virtual bool Exists(std::string_view name) = 0;

    THashKey& operator[](std::string_view name) { return GetKey(name); }

    // Clear, then SetKey for every key of the source in its order; from nothing only clears.
    void Assign(TCustomHash* source);

protected:
    bool SameKeyName(std::string_view a, std::string_view b) const;
    [[noreturn]] static void KeyNotFound(std::string_view name);

private:
    bool m_AutoCreate = true;
    bool m_IgnoreCase = true;
};

// An in-memory table; keys keep the order in which they were created.
class THash final : public TCustomHash {
public:
    int GetCount() override { return static_cast<int>(m_Keys.size()); }
    THashKey& GetKey(std::string_view name) override;
    void Clear() override { m_Keys.clear(); }
    bool Delete(std::string_view name) override;
    std::vector<std::string> GetKeyNames() override;
    bool Exists(std::string_view name) override { return Find(name) != nullptr; }

    // The keys in table order.
    const std::vector<std::unique_ptr<THashKey>>& Keys() const { return m_Keys; }
    THashKey* Find(std::string_view name) const;
    void ClearModified();

private:
    std::vector<std::unique_ptr<THashKey>> m_Keys;
};

} // namespace hv

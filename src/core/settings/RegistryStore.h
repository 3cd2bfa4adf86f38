#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The store that keeps the program's settings under the names of the Windows registry: keys
// named by paths such as "Software\K.Amsel\Hollyvine" below HKEY_CURRENT_USER, each holding
// named values and sub-keys. Key names ignore letter case, as in the registry, and keep the case
// they were created with. Value names are compared exactly: the per-document values are named
// with file paths, and Linux tells "a.hv" and "A.hv" apart.

namespace hv {

// The registry data types the program distinguishes; Other keeps any further type untouched.
enum class TRegValueKind { String, ExpandString, DWord, Binary, Other };

// Registry type numbers as the REGEDIT4 "hex(N)" notation writes them.
constexpr std::uint32_t RegNone = 0, RegSz = 1, RegExpandSz = 2, RegBinary = 3, RegDWord = 4;

struct TRegValue {
    TRegValueKind Kind = TRegValueKind::String;
    // String, ExpandString: the text (UTF-8); Binary and Other: the raw bytes.
    std::string Data;
    // DWord: the number.
    std::uint32_t Number = 0;
    // Other: the registry type number.
    std::uint32_t RawType = RegNone;

    static TRegValue String(std::string text) { return {TRegValueKind::String, std::move(text), 0, RegSz}; }
    static TRegValue ExpandString(std::string text) {
        return {TRegValueKind::ExpandString, std::move(text), 0, RegExpandSz};
    }
    static TRegValue DWord(std::uint32_t number) { return {TRegValueKind::DWord, {}, number, RegDWord}; }
    static TRegValue Binary(std::string bytes) { return {TRegValueKind::Binary, std::move(bytes), 0, RegBinary}; }
    static TRegValue Other(std::uint32_t rawType, std::string bytes) {
        return {TRegValueKind::Other, std::move(bytes), 0, rawType};
    }

    bool operator==(const TRegValue&) const = default;
};

// One key of the tree: its values in order of creation and its sub-keys.
struct TRegKeyNode {
    std::string Name;
    std::vector<std::pair<std::string, TRegValue>> Values;
    std::vector<std::unique_ptr<TRegKeyNode>> SubKeys;

    TRegKeyNode* FindSubKey(std::string_view name) const;
    TRegKeyNode& SubKey(std::string_view name); // found or appended
    const TRegValue* FindValue(std::string_view name) const;
    void SetValue(std::string_view name, TRegValue value);
    bool RemoveValue(std::string_view name);
    bool RemoveSubKey(std::string_view name);
    // True when neither this key nor any key below it holds a value.
    bool HoldsNoValue() const;
};

// Splits "Software\K.Amsel\Hollyvine" into its names; empty parts (a leading or doubled "\")
// are dropped.
std::vector<std::string> SplitKeyPath(std::string_view path);

// A whole registry: the root holds the hives ("HKEY_CURRENT_USER", ...) as sub-keys. The key
// paths of the operations are relative to HKEY_CURRENT_USER.
class TRegistryTree {
public:
    static constexpr std::string_view CurrentUser = "HKEY_CURRENT_USER";

    TRegKeyNode& Root() { return m_Root; }
    const TRegKeyNode& Root() const { return m_Root; }

    const TRegKeyNode* FindKey(std::string_view path) const;
    TRegKeyNode& CreateKey(std::string_view path);
    bool DeleteKey(std::string_view path);

private:
    TRegKeyNode m_Root;
};

// What the program needs of the registry under HKEY_CURRENT_USER. Paths name keys below it
// ("Software\K.Amsel\Hollyvine"); reading a missing key gives nothing, writing creates it.
class TRegistryStore {
public:
    virtual ~TRegistryStore();

    virtual bool KeyExists(std::string_view path) const = 0;
    // Opens the key, creating it (and the keys above it) when needed.
    virtual void CreateKey(std::string_view path) = 0;
    virtual std::vector<std::string> ValueNames(std::string_view path) const = 0;
    virtual std::vector<std::string> SubKeyNames(std::string_view path) const = 0;
    virtual std::optional<TRegValue> ReadValue(std::string_view path, std::string_view name) const = 0;
    bool ValueExists(std::string_view path, std::string_view name) const { return ReadValue(path, name).has_value(); }
    // Creates the key when needed and sets the value.
    virtual void WriteValue(std::string_view path, std::string_view name, const TRegValue& value) = 0;
    // As WriteValue, but only when the value does not exist, also at the time the store is
    // written out: a value that another process stored meanwhile is kept. For values that
    // merely carry a default.
    virtual void WriteValueIfAbsent(std::string_view path, std::string_view name, const TRegValue& value) = 0;
    // False when there was no such value.
    virtual bool DeleteValue(std::string_view path, std::string_view name) = 0;
    // Deletes the key with all its values and every key below it; false when it did not exist.
    virtual bool DeleteKey(std::string_view path) = 0;

    // Writes this process's changes to where the store is kept and takes in what other
    // processes stored meanwhile. Throws EFileError when it cannot; the changes are then kept
    // for the next attempt.
    virtual void Flush() {}
};

// A store that lives only in memory (tests, and the program when no store should be touched).
class TMemoryRegistryStore : public TRegistryStore {
public:
    TMemoryRegistryStore() = default;
    explicit TMemoryRegistryStore(TRegistryTree tree) : m_Tree(std::move(tree)) {}

    bool KeyExists(std::string_view path) const override;
    void CreateKey(std::string_view path) override;
    std::vector<std::string> ValueNames(std::string_view path) const override;
    std::vector<std::string> SubKeyNames(std::string_view path) const override;
    std::optional<TRegValue> ReadValue(std::string_view path, std::string_view name) const override;
    void WriteValue(std::string_view path, std::string_view name, const TRegValue& value) override;
    void WriteValueIfAbsent(std::string_view path, std::string_view name, const TRegValue& value) override;
    bool DeleteValue(std::string_view path, std::string_view name) override;
    bool DeleteKey(std::string_view path) override;

    const TRegistryTree& Tree() const { return m_Tree; }

protected:
    TRegistryTree& MutableTree() { return m_Tree; }

private:
    TRegistryTree m_Tree;
};

// Copies the key at from with everything below it into the key at to (created when needed;
// values of the same name are replaced), then deletes the key at from. False when from does
// not exist.
bool MoveKey(TRegistryStore& store, std::string_view from, std::string_view to);

} // namespace hv

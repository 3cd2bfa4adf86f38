#pragma once

#include "settings/Hashes.h"
#include "settings/RegistryStore.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

// The registry value that stores a key: a string for string keys, a DWORD for integer and
// boolean keys, binary data for binary keys.
TRegValue RegValueOf(const THashKey& key);
// Writes a registry value into a key by its registry type: both string types as a string, a
// DWORD as an integer, binary data as binary. Any other type leaves the key as it is (false).
bool ReadRegValue(THashKey& key, const TRegValue& value);
// Stores a key: WriteValue when this process changed it, else WriteValueIfAbsent, so a value
// another running copy stored is never replaced by one merely read or defaulted here.
void StoreKey(TRegistryStore& registry, std::string_view path, const THashKey& key);

// A table that works directly on one registry key (the per-document view state). Keys read or
// created since Open are cached and written back by Close.
class TRegHash final : public TCustomHash {
public:
    TRegHash(TRegistryStore& registry, std::string keyPath);
    ~TRegHash() override;

    const std::string& KeyPath() const { return m_KeyPath; }
    bool IsOpen() const { return m_Open; }

    // Opens the key, creating it when needed, and takes in what other copies of the program
    // stored meanwhile; EHashError "レジストリを開けませんでした" when the key cannot be made.
    void Open();
    // Writes the cached keys back (from the last cached to the first) and empties the cache;
    // harmless on a closed table.
    void Close();

    // Every operation below raises EHashError "レジストリを開いていません" on a closed table.
    int GetCount() override;
    THashKey& GetKey(std::string_view name) override;
    void Clear() override;
    bool Delete(std::string_view name) override;
    std::vector<std::string> GetKeyNames() override;
    bool Exists(std::string_view name) override;

private:
    struct TCached {
        std::unique_ptr<THashKey> Key;
        bool Stored; // the registry held the value when it was cached or last written
    };

    void CheckOpen() const;
    void WriteCache();

    TRegistryStore& m_Registry;
    std::string m_KeyPath;
    bool m_Open = false;
    std::vector<TCached> m_Cache;
};

} // namespace hv

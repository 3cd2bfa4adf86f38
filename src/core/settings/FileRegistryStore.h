#pragma once

#include "settings/RegistryStore.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

// Receives the store's warnings (a file moved aside, a save that failed where nobody can be
// asked); the default writes them to stderr.
using TWarningSink = std::function<void(const std::string& message)>;

// The directory of the settings: $HOLLYVINE_CONFIG_DIR, else $XDG_CONFIG_HOME/hollyvine (an
// absolute XDG_CONFIG_HOME only), else ~/.config/hollyvine.
std::string ConfigDirectory();
// ConfigDirectory() + "/registry.reg".
std::string RegistryFilePath();

// The registry store kept in one REGEDIT4 file (RegFile.h).
//
// The file is read when the store is made; changes go to memory and are remembered. Flush
// takes an advisory lock on the file's directory, reads the file again, applies the remembered
// changes to what it holds and replaces the file safely. So values that another running copy
// stored meanwhile survive, unless this process wrote the same value itself; a deletion only
// removes the value this process saw (a value stored anew by another copy stays), and a value
// written with WriteValueIfAbsent never replaces one that is there.
//
// When the registry holds no value at all any more, Flush removes the file.
//
// A file that cannot be read as a registry file is renamed to "registry.reg.bad" (replacing an
// older one) with a warning, and the store goes on from an empty registry; a file that cannot be
// read at all, or that cannot be moved aside, is never overwritten: Flush fails instead.
class TFileRegistryStore final : public TMemoryRegistryStore {
public:
    explicit TFileRegistryStore(std::string path = RegistryFilePath(), TWarningSink warn = {});

    void CreateKey(std::string_view path) override;
    void WriteValue(std::string_view path, std::string_view name, const TRegValue& value) override;
    void WriteValueIfAbsent(std::string_view path, std::string_view name, const TRegValue& value) override;
    bool DeleteValue(std::string_view path, std::string_view name) override;
    bool DeleteKey(std::string_view path) override;
    void Flush() override;

    const std::string& Path() const { return m_Path; }
    bool HasPendingChanges() const { return !m_Changes.empty(); }

private:
    struct TChange {
        enum class TType { CreateKey, Write, WriteIfAbsent, DeleteValue, DeleteKey } Type;
        std::string Path;
        std::string Name;
        TRegValue Value; // Write, WriteIfAbsent: the new value; DeleteValue: the value seen
    };

    static void Apply(TRegistryTree& tree, const TChange& change);
    // The registry in the file; a damaged file is moved aside first. Throws EFileError when the
    // file exists but cannot be read or moved aside.
    TRegistryTree ReadFile();
    void Warn(const std::string& message) const;

    std::string m_Path;
    TWarningSink m_Warn;
    std::vector<TChange> m_Changes;
};

} // namespace hv

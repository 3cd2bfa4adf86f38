#pragma once

#include "model/DateTime.h"
#include "settings/FontQuery.h"
#include "settings/Hashes.h"
#include "settings/OptionKeys.h"
#include "settings/RegHash.h"
#include "settings/RegistryStore.h"

#include <array>
#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

// Fills a table from a registry key: unless keepExisting, the table is cleared first; each value
// of the key is read into the key of its name (created when needed) by its registry type. False,
// with the table unchanged, when the key does not exist.
bool LoadTable(TCustomHash& table, const TRegistryStore& registry, std::string_view path, bool keepExisting);
// Writes every key of the table in table order into the registry key (created when needed);
// never removes a value. A key this process has not changed goes in only where the store holds
// no value of that name (StoreKey).
void SaveTable(THash& table, TRegistryStore& registry, std::string_view path);

// Removes from the File table every value whose first line (up to the first line break) is not
// a date "year/month/day" or is a date more than 28 days before the day of now.
void PruneFileTable(TRegHash& file, TDateTime now);

// Values that older versions kept and this one removes at start.
struct TObsoleteValues {
    std::string_view KeyPath;
    std::vector<std::string_view> Names;
};
const std::vector<TObsoleteValues>& ObsoleteValues();

// The program's settings: the six tables and the per-document File table.
//
// Making it runs the start sequence: every option gets its default, the key of the old program
// name is moved over, obsolete values are removed, each table is loaded from its key (stored
// values win, stored values without a default are kept), the tables stop creating keys on
// reading, and the window positions (which TRestorePos writes directly) leave the Window table.
// End() runs the end sequence. Neither is run in the "/u" clean-up.
class TSettings {
public:
    // fonts: how the memo font's default is found; nullptr asks fontconfig.
    explicit TSettings(TRegistryStore& registry, const TFontQuery* fonts = nullptr);
    TSettings(const TSettings&) = delete;
    TSettings& operator=(const TSettings&) = delete;

    // Prunes the File table against the clock's today, saves the six tables and flushes the
    // store; throws EFileError when the store cannot be written.
    void End();

    THash& Table(TSettingsTable table) { return m_Tables[static_cast<std::size_t>(table)]; }
    TRegHash& File() { return m_File; }
    TRegistryStore& Registry() { return m_Registry; }

    // The key of an option; EHashError "キー '%s' が見つかりません" when it is gone.
    template <THashKeyKind Kind> THashKey& Key(const TOptionKey<Kind>& option) {
        return Table(option.Table).GetKey(option.Name);
    }

    bool Get(const TBoolOption& option) { return Key(option).AsBoolean(); }
    std::int32_t Get(const TIntegerOption& option) { return Key(option).AsInteger(); }
    std::string Get(const TStringOption& option) { return Key(option).AsString(); }

    void Set(const TBoolOption& option, std::same_as<bool> auto value) { Key(option).SetAsBoolean(value); }
    void Set(const TIntegerOption& option, std::same_as<std::int32_t> auto value) { Key(option).SetAsInteger(value); }
    void Set(const TStringOption& option, std::string value) { Key(option).SetAsString(std::move(value)); }

private:
    void SeedDefaults(const TFontQuery* fonts);
    void Migrate();

    TRegistryStore& m_Registry;
    std::array<THash, SettingsTables.size()> m_Tables;
    TRegHash m_File;
};

// The "/u" clean-up.
inline constexpr std::string_view RemoveSettingsQuestion =
    "Hollyvine がレジストリに保存した情報を全て削除します。よろしいですか？";
// The login name of the user running the program.
std::string CurrentUserName();
// Deletes "Software\K.Amsel\Hollyvine" with everything below it and flushes the store (whose
// file goes when nothing is left in it). Returns the user's line for the completion message,
// a TAB and the user name, when the key was there and is gone; nothing when there was none.
// Throws EFileError when the store cannot be written.
std::optional<std::string> RemoveUserSettings(TRegistryStore& registry, std::string_view userName);
// The completion message with a line for each user whose settings were removed.
std::string RemovedSettingsMessage(const std::vector<std::string>& userLines);

} // namespace hv

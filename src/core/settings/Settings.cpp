#include "settings/Settings.h"

#include "platform/Clock.h"
#include "settings/RestorePos.h"

#include <cmath>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace hv {

namespace {

// View-state entries older than this many days are removed at the end.
constexpr int FileEntryDays = 28;

// "year/month/day" with one to four digits for the year and one or two for the others.
std::optional<TDateTime> ParseYmd(std::string_view text) {
    int parts[3] = {0, 0, 0};
    const std::size_t maxDigits[3] = {4, 2, 2};
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < maxDigits[i]) {
            parts[i] = parts[i] * 10 + (text[pos] - '0');
            ++pos;
        }
        if (pos == start) {
            return std::nullopt;
        }
        if (i < 2) {
            if (pos >= text.size() || text[pos] != '/') {
                return std::nullopt;
            }
            ++pos;
        }
    }
    TDateTime date = 0;
    if (pos != text.size() || !TryEncodeDateTime(parts[0], parts[1], parts[2], 0, 0, 0, 0, date)) {
        return std::nullopt;
    }
    return date;
}

} // namespace

bool LoadTable(TCustomHash& table, const TRegistryStore& registry, std::string_view path, bool keepExisting) {
    if (!keepExisting) {
        table.Clear();
    }
    if (!registry.KeyExists(path)) {
        return false;
    }
    for (const std::string& name : registry.ValueNames(path)) {
        THashKey& key = table.GetKey(name);
        if (const std::optional<TRegValue> value = registry.ReadValue(path, name)) {
            ReadRegValue(key, *value);
        }
    }
    return true;
}

void SaveTable(THash& table, TRegistryStore& registry, std::string_view path) {
    registry.CreateKey(path);
    for (const auto& key : table.Keys()) {
        StoreKey(registry, path, *key);
    }
}

void PruneFileTable(TRegHash& file, TDateTime now) {
    const double today = std::floor(now);
    file.Open();
    const std::vector<std::string> names = file.GetKeyNames();
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        const std::string text = file.GetKey(*name).AsString();
        // Written with CR LF; a line that ends in LF alone is read as well.
        const std::optional<TDateTime> date = ParseYmd(std::string_view(text).substr(0, text.find_first_of("\r\n")));
        if (!date || today - *date > FileEntryDays) {
            file.Delete(*name);
        }
    }
    file.Close();
}

const std::vector<TObsoleteValues>& ObsoleteValues() {
    static const std::vector<TObsoleteValues> values = {
        {TableInfo(TSettingsTable::Main).KeyPath,
         {"AllowConnect", "SingleClick", "TelehoAllowConnect", "TelehoEndTime", "TelehoStartTime"}},
        {TableInfo(TSettingsTable::ToolBar).KeyPath,
         {"FileToolBar", "FolderToolBar", "ShowToolBar", "URLToolBar", "ViewToolBar"}},
        {TableInfo(TSettingsTable::Window).KeyPath, {"ListHandPoint", "ListUnderline", "TreeRowSel", "ViewHeight"}},
    };
    return values;
}

TSettings::TSettings(TRegistryStore& registry, const TFontQuery* fonts)
    : m_Registry(registry), m_File(registry, std::string(FileKeyPath)) {
    // The File table is named by document paths, which Linux tells apart by letter case.
    m_File.SetIgnoreCase(false);
    SeedDefaults(fonts);
    Migrate();
    for (const TSettingsTableInfo& info : SettingsTables) {
        LoadTable(Table(info.Table), m_Registry, info.KeyPath, true);
    }
    for (THash& table : m_Tables) {
        table.SetAutoCreate(false);
    }
    // The position values belong to TRestorePos, which writes them itself; written back from
    // the table at the end they would undo what the windows stored. The main window's "Rect"
    // stays: the main window reads its size from the table and removes it there.
    for (const TRestorePosValue& value : RestorePosValues) {
        if (value.ValueName != "Rect") {
            Table(TSettingsTable::Window).Delete(value.ValueName);
        }
    }
    for (THash& table : m_Tables) {
        table.ClearModified();
    }
}

void TSettings::SeedDefaults(const TFontQuery* fonts) {
    for (const TOptionDefault& option : OptionDefaults) {
        THashKey& key = Table(option.Table).GetKey(option.Name);
        switch (option.Kind) {
        case THashKeyKind::String:
            key.SetAsString(std::string(option.Text));
            break;
        case THashKeyKind::Integer:
            key.SetAsInteger(option.Number);
            break;
        case THashKeyKind::Boolean:
            key.SetAsBoolean(option.Number != 0);
            break;
        case THashKeyKind::Binary:
            break;
        }
    }
    // Asking for the installed fonts starts a program; a stored memo font makes it unneeded.
    const TStringOption& memoFont = opt::Window::MemoFont;
    const std::optional<TRegValue> stored = m_Registry.ReadValue(TableInfo(memoFont.Table).KeyPath, memoFont.Name);
    if (!stored || stored->Kind != TRegValueKind::String) {
        const TFontconfigQuery fontconfig;
        Key(memoFont).SetAsString(MemoFontDefault(fonts != nullptr ? *fonts : fontconfig));
    }
}

void TSettings::Migrate() {
    MoveKey(m_Registry, OldHollyvineKeyPath, HollyvineKeyPath);
    for (const TObsoleteValues& obsolete : ObsoleteValues()) {
        for (std::string_view name : obsolete.Names) {
            m_Registry.DeleteValue(obsolete.KeyPath, name);
        }
    }
}

void TSettings::End() {
    PruneFileTable(m_File, Clock().Now());
    for (const TSettingsTableInfo& info : SettingsTables) {
        SaveTable(Table(info.Table), m_Registry, info.KeyPath);
        Table(info.Table).ClearModified();
    }
    m_Registry.Flush();
}

std::string CurrentUserName() {
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_name != nullptr) {
        return entry->pw_name;
    }
    if (const char* user = std::getenv("USER"); user != nullptr && *user != '\0') {
        return user;
    }
    return std::to_string(getuid());
}

std::optional<std::string> RemoveUserSettings(TRegistryStore& registry, std::string_view userName) {
    const bool removed = registry.DeleteKey(HollyvineKeyPath);
    registry.Flush();
    if (!removed) {
        return std::nullopt;
    }
    return "\t" + std::string(userName);
}

std::string RemovedSettingsMessage(const std::vector<std::string>& userLines) {
    std::string message = "レジストリ内の情報の削除が完了しました。ファイル Hollyvine.exe を削除して下さい。";
    for (const std::string& line : userLines) {
        message += "\r\n" + line;
    }
    return message;
}

} // namespace hv

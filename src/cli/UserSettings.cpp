#include "UserSettings.h"

#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"

#include <cstdlib>
#include <ostream>
#include <pwd.h>
#include <unistd.h>

namespace hv::cli {

namespace {

// hvtool shows no text in fonts; this keeps the settings from asking fontconfig.
class TNoFontQuery final : public TFontQuery {
public:
    bool IsInstalled(std::string_view) const override { return false; }
    std::string DefaultUiFamily() const override { return "Sans Serif"; }
};

} // namespace

bool WithUserSettings(TCommandIO& io, const std::function<void(TRegistryStore&, TSettings&)>& use) {
    try {
        TFileRegistryStore store(RegistryFilePath(), [&io](const std::string& message) { io.Err << message << '\n'; });
        const TNoFontQuery fonts;
        TSettings settings(store, &fonts);
        use(store, settings);
        return true;
    } catch (const std::exception& e) {
        io.Err << e.what() << '\n';
        return false;
    }
}

bool UserSortsFolders(TCommandIO& io) {
    bool sort = opt::Main::SortFolder.Default;
    WithUserSettings(io, [&sort](TRegistryStore&, TSettings& settings) { sort = settings.Get(opt::Main::SortFolder); });
    return sort;
}

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

} // namespace hv::cli

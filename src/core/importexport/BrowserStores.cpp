#include "importexport/BrowserStores.h"

#include "platform/BookmarkLocator.h"
#include "platform/SafeFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hv {

namespace {

using TJson = nlohmann::json;

struct TBrowser {
    std::string_view Word;
    std::string_view DisplayName;
};
constexpr std::array<TBrowser, 6> kBrowsers = {{
    {"firefox", "Firefox"},
    {"chromium", "Chromium"},
    {"chrome", "Google Chrome"},
    {"brave", "Brave"},
    {"vivaldi", "Vivaldi"},
    {"edge", "Microsoft Edge"},
}};

constexpr std::array<std::string_view, 6> kWords = {"firefox", "chromium", "chrome", "brave", "vivaldi", "edge"};

// Firefox's profile directories, relative to the home directory.
constexpr std::array<std::string_view, 3> kFirefoxDirs = {
    ".mozilla/firefox",
    "snap/firefox/common/.mozilla/firefox",
    ".var/app/org.mozilla.firefox/.mozilla/firefox",
};

struct TChromiumDir {
    std::string_view Word;
    bool InConfig; // relative to the configuration directory, else to the home directory
    std::string_view Path;
};
constexpr std::array<TChromiumDir, 11> kChromiumDirs = {{
    {"chromium", true, "chromium"},
    {"chromium", false, "snap/chromium/common/chromium"},
    {"chromium", false, ".var/app/org.chromium.Chromium/config/chromium"},
    {"chrome", true, "google-chrome"},
    {"chrome", false, ".var/app/com.google.Chrome/config/google-chrome"},
    {"brave", true, "BraveSoftware/Brave-Browser"},
    {"brave", false, ".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser"},
    {"vivaldi", true, "vivaldi"},
    {"vivaldi", false, ".var/app/com.vivaldi.Vivaldi/config/vivaldi"},
    {"edge", true, "microsoft-edge"},
    {"edge", false, ".var/app/com.microsoft.Edge/config/microsoft-edge"},
}};

// Something is at path (a file that may still be unreadable).
bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void AddFirefoxStores(const std::string& home, std::vector<TBrowserStore>& stores) {
    for (std::string_view relative : kFirefoxDirs) {
        for (const TMozillaProfile& profile : ReadMozillaProfiles(home + "/" + std::string(relative))) {
            const std::string places = profile.Dir + "/places.sqlite";
            if (Exists(places)) {
                stores.push_back({"firefox", profile.Name.empty() ? BaseName(profile.Dir) : profile.Name, profile.Dir,
                                  places, profile.IsDefault});
            }
        }
    }
}

// Profile directories first "Default", then "Profile N" by number, then the others by name.
bool ProfileOrder(const std::string& a, const std::string& b) {
    const auto rank = [](const std::string& name) -> std::pair<int, long> {
        if (name == "Default") {
            return {0, 0};
        }
        if (name.starts_with("Profile ")) {
            char* end = nullptr;
            const long n = std::strtol(name.c_str() + 8, &end, 10);
            if (end != nullptr && *end == '\0' && end != name.c_str() + 8) {
                return {1, n};
            }
        }
        return {2, 0};
    };
    const auto ra = rank(a);
    const auto rb = rank(b);
    return ra != rb ? ra < rb : a < b;
}

void AddChromiumStores(std::string_view word, const std::string& dir, std::vector<TBrowserStore>& stores) {
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) {
        return;
    }
    // Local State names the profiles and tells the last used one; without it the directory
    // names stand in.
    TJson info;
    std::string lastUsed = "Default";
    try {
        const TJson state = TJson::parse(ReadFileBytes(dir + "/Local State"), nullptr, false);
        if (state.is_object() && state.contains("profile") && state["profile"].is_object()) {
            const TJson& profile = state["profile"];
            if (profile.contains("info_cache") && profile["info_cache"].is_object()) {
                info = profile["info_cache"];
            }
            if (profile.contains("last_used") && profile["last_used"].is_string()) {
                lastUsed = profile["last_used"].get<std::string>();
            }
        }
    } catch (const std::exception&) {
        // No Local State, or one that cannot be read: the directory names stand in.
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        std::string name = entry.path().filename().string();
        if (Exists(dir + "/" + name + "/Bookmarks")) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end(), ProfileOrder);
    const bool lastUsedListed = std::find(names.begin(), names.end(), lastUsed) != names.end();
    for (const std::string& name : names) {
        std::string shown = name;
        if (info.is_object() && info.contains(name) && info[name].is_object() && info[name].contains("name") &&
            info[name]["name"].is_string() && !info[name]["name"].get<std::string>().empty()) {
            shown = info[name]["name"].get<std::string>();
        }
        const bool isDefault = lastUsedListed ? name == lastUsed : &name == &names.front();
        stores.push_back(
            {std::string(word), std::move(shown), dir + "/" + name, dir + "/" + name + "/Bookmarks", isDefault});
    }
}

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return ".";
}

} // namespace

std::span<const std::string_view> BrowserWords() {
    return kWords;
}

std::string_view BrowserDisplayName(std::string_view word) {
    for (const TBrowser& browser : kBrowsers) {
        if (browser.Word == word) {
            return browser.DisplayName;
        }
    }
    return word;
}

TBrowserHome TBrowserHome::FromEnvironment() {
    TBrowserHome home;
    home.Home = HomeDirectory();
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    home.ConfigHome = xdg != nullptr && xdg[0] == '/' ? std::string(xdg) : home.Home + "/.config";
    return home;
}

std::vector<TBrowserStore> FindBrowserStores(const TBrowserHome& home) {
    std::vector<TBrowserStore> stores;
    AddFirefoxStores(home.Home, stores);
    const std::string config = home.ConfigHome.empty() ? home.Home + "/.config" : home.ConfigHome;
    for (const TChromiumDir& place : kChromiumDirs) {
        AddChromiumStores(place.Word, (place.InConfig ? config : home.Home) + "/" + std::string(place.Path), stores);
    }
    return stores;
}

bool IsBrowserName(std::string_view argument) {
    const std::string_view word = argument.substr(0, argument.find(':'));
    return std::find(kWords.begin(), kWords.end(), word) != kWords.end();
}

std::optional<TBrowserStore> SelectBrowserStore(const std::vector<TBrowserStore>& stores, std::string_view argument) {
    const std::size_t colon = argument.find(':');
    const std::string_view word = argument.substr(0, colon);
    const auto ofBrowser = [word](const TBrowserStore& store) { return store.Browser == word; };
    if (colon == std::string_view::npos) {
        // The default profile of the first place the browser is found in.
        const auto first = std::find_if(stores.begin(), stores.end(), ofBrowser);
        if (first == stores.end()) {
            return std::nullopt;
        }
        for (auto it = first; it != stores.end(); ++it) {
            if (ofBrowser(*it) && it->IsDefault) {
                return *it;
            }
        }
        return *first;
    }
    const std::string_view profile = argument.substr(colon + 1);
    for (const TBrowserStore& store : stores) {
        if (ofBrowser(store) && (store.Profile == profile || BaseName(store.ProfileDir) == profile)) {
            return store;
        }
    }
    return std::nullopt;
}

} // namespace hv

#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Finding the bookmark stores of the browsers installed for the user.

namespace hv {

inline constexpr std::string_view kNoBrowserStores = "ブラウザのブックマークが見つかりません。";

// The words naming the browsers ("firefox", "chromium", "chrome", "brave", "vivaldi", "edge").
std::span<const std::string_view> BrowserWords();
// The name a browser goes by ("Google Chrome" for "chrome"); the word itself when unknown.
std::string_view BrowserDisplayName(std::string_view word);

struct TBrowserStore {
    std::string Browser;    // one of BrowserWords()
    std::string Profile;    // the profile's name as the browser shows it
    std::string ProfileDir; // the profile's directory
    std::string Path;       // places.sqlite or Bookmarks in it
    // The profile the browser starts with: Firefox's default profile (profiles.ini and
    // installs.ini), Chromium's last used one (Local State), else "Default".
    bool IsDefault = false;
};

// Where the stores are looked for: the home directory and the configuration directory of the
// Chromium family (normally home/.config).
struct TBrowserHome {
    std::string Home;
    std::string ConfigHome;

    // $HOME and $XDG_CONFIG_HOME (when absolute), else home/.config.
    static TBrowserHome FromEnvironment();
};

// Every store found: the Firefox profiles (in ~/.mozilla/firefox, then the snap's and the
// flatpak's places) that hold places.sqlite, then the profiles of the Chromium family, browser
// by browser in the order of BrowserWords() (their own places first, then snap and flatpak),
// that hold Bookmarks ("Default" first, then "Profile 1", "Profile 2" ...). A store is listed
// when its file is there, readable or not.
std::vector<TBrowserStore> FindBrowserStores(const TBrowserHome& home);

// The store "BROWSER[:PROFILE]" names among stores: without PROFILE the browser's default
// profile (of the first place the browser is found in), else the first profile with that name
// or directory name. nullopt when there is none.
std::optional<TBrowserStore> SelectBrowserStore(const std::vector<TBrowserStore>& stores, std::string_view argument);

// True when argument has the form BROWSER or BROWSER:PROFILE with a known BROWSER.
bool IsBrowserName(std::string_view argument);

} // namespace hv

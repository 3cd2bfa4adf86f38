#include "platform/BookmarkLocator.h"

#include "platform/SafeFile.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace hv {

namespace {

// Profile directories of the Mozilla family, relative to the home directory.
constexpr std::array<std::string_view, 4> kMozillaDirs = {
    ".mozilla/firefox",
    "snap/firefox/common/.mozilla/firefox",
    ".var/app/org.mozilla.firefox/.mozilla/firefox",
    ".mozilla/seamonkey",
};

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::string Join(const std::string& dir, const std::string& path) {
    return !path.empty() && path.front() == '/' ? path : dir + "/" + path;
}

// The default profile's directory in a profiles.ini directory, or "".
std::string DefaultProfile(const std::string& dir) {
    for (const TMozillaProfile& profile : ReadMozillaProfiles(dir)) {
        if (profile.IsDefault) {
            return profile.Dir;
        }
    }
    return {};
}

bool DirectoryExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string TIniSection::Value(std::string_view key) const {
    for (const auto& [k, v] : Values) {
        if (AsciiSameText(k, key)) {
            return v;
        }
    }
    return {};
}

std::vector<TIniSection> ReadIniSections(const std::string& path) {
    std::vector<TIniSection> sections;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        const std::string_view text = Trim(line);
        if (text.empty() || text.front() == ';' || text.front() == '#') {
            continue;
        }
        if (text.front() == '[' && text.back() == ']') {
            sections.push_back({std::string(text.substr(1, text.size() - 2)), {}});
        } else if (const std::size_t eq = text.find('='); eq != std::string_view::npos && !sections.empty()) {
            sections.back().Values.emplace_back(Trim(text.substr(0, eq)), Trim(text.substr(eq + 1)));
        }
    }
    return sections;
}

std::vector<TMozillaProfile> ReadMozillaProfiles(const std::string& dir) {
    const std::vector<TIniSection> sections = ReadIniSections(dir + "/profiles.ini");
    std::vector<TMozillaProfile> profiles;
    std::string chosen; // the profile an install section names
    for (const TIniSection& section : sections) {
        const std::string name = AsciiLowerCase(section.Name);
        if (name.starts_with("install") && chosen.empty() && !section.Value("Default").empty()) {
            chosen = Join(dir, section.Value("Default"));
        } else if (name.starts_with("profile") && !section.Value("Path").empty()) {
            profiles.push_back({section.Value("Name"), Join(dir, section.Value("Path")), false});
            profiles.back().IsDefault = section.Value("Default") == "1";
        }
    }
    if (chosen.empty()) {
        // Newer releases keep the install sections in installs.ini as well.
        for (const TIniSection& section : ReadIniSections(dir + "/installs.ini")) {
            if (!section.Value("Default").empty()) {
                chosen = Join(dir, section.Value("Default"));
                break;
            }
        }
    }
    if (!chosen.empty()) {
        auto found = std::find_if(profiles.begin(), profiles.end(),
                                  [&chosen](const TMozillaProfile& profile) { return profile.Dir == chosen; });
        if (found == profiles.end()) {
            const std::size_t slash = chosen.rfind('/');
            profiles.push_back({chosen.substr(slash + 1), chosen, false});
            found = profiles.end() - 1;
        }
        for (TMozillaProfile& profile : profiles) {
            profile.IsDefault = &profile == &*found;
        }
        return profiles;
    }
    auto marked = std::find_if(profiles.begin(), profiles.end(),
                               [](const TMozillaProfile& profile) { return profile.IsDefault; });
    for (TMozillaProfile& profile : profiles) {
        profile.IsDefault = marked == profiles.end() ? &profile == &profiles.front() : &profile == &*marked;
    }
    return profiles;
}

std::vector<std::string> FindMozillaProfiles(const std::string& home) {
    std::vector<std::string> profiles;
    for (std::string_view relative : kMozillaDirs) {
        std::string profile = DefaultProfile(home + "/" + std::string(relative));
        if (!profile.empty() && DirectoryExists(profile)) {
            profiles.push_back(std::move(profile));
        }
    }
    return profiles;
}

std::optional<std::string> FindUserBookmarkFile(const std::string& home) {
    for (std::string_view relative : kMozillaDirs) {
        const std::string profile = DefaultProfile(home + "/" + std::string(relative));
        if (!profile.empty() && FileExists(profile + "/bookmarks.html")) {
            return profile + "/bookmarks.html";
        }
    }
    const std::string netscape = home + "/.netscape/bookmarks.html";
    if (FileExists(netscape)) {
        return netscape;
    }
    return std::nullopt;
}

std::optional<std::string> FindUserBookmarkSource(const std::string& home) {
    for (std::string_view relative : kMozillaDirs) {
        const std::string profile = DefaultProfile(home + "/" + std::string(relative));
        if (profile.empty()) {
            continue;
        }
        for (const char* name : {"/bookmarks.html", "/places.sqlite"}) {
            if (FileExists(profile + name)) {
                return profile + name;
            }
        }
    }
    const std::string netscape = home + "/.netscape/bookmarks.html";
    if (FileExists(netscape)) {
        return netscape;
    }
    return std::nullopt;
}

} // namespace hv

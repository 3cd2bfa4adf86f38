#include "platform/BookmarkLocator.h"

#include "platform/SafeFile.h"
#include "text/TextUtil.h"

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

struct TIniSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Values;

    std::string Value(std::string_view key) const {
        for (const auto& [k, v] : Values) {
            if (AsciiSameText(k, key)) {
                return v;
            }
        }
        return {};
    }
};

std::vector<TIniSection> ReadIni(const std::string& path) {
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

std::string Join(const std::string& dir, const std::string& path) {
    return !path.empty() && path.front() == '/' ? path : dir + "/" + path;
}

// The default profile's directory in a profiles.ini directory, or "".
std::string DefaultProfile(const std::string& dir) {
    const std::vector<TIniSection> sections = ReadIni(dir + "/profiles.ini");
    for (const TIniSection& section : sections) {
        if (AsciiLowerCase(section.Name).starts_with("install") && !section.Value("Default").empty()) {
            return Join(dir, section.Value("Default"));
        }
    }
    const TIniSection* first = nullptr;
    for (const TIniSection& section : sections) {
        if (!AsciiLowerCase(section.Name).starts_with("profile") || section.Value("Path").empty()) {
            continue;
        }
        if (section.Value("Default") == "1") {
            return Join(dir, section.Value("Path"));
        }
        if (first == nullptr) {
            first = &section;
        }
    }
    return first != nullptr ? Join(dir, first->Value("Path")) : std::string();
}

bool DirectoryExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

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

} // namespace hv

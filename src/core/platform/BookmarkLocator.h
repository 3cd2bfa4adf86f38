#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hv {

// One section of an INI file: its name and its values in file order.
struct TIniSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Values;

    // The value of key (ASCII case ignored); "" when there is none.
    std::string Value(std::string_view key) const;
};

// The sections of the INI file at path ("[name]" lines, "key=value" lines, blanks around both
// dropped, lines starting with ";" or "#" skipped); none when it cannot be read.
std::vector<TIniSection> ReadIniSections(const std::string& path);

struct TMozillaProfile {
    std::string Name; // as profiles.ini names it
    std::string Dir;  // full path
    bool IsDefault = false;
};

// The profiles of a Mozilla-family directory (the one holding profiles.ini), in file order,
// exactly one marked default when there are any: the profile an install section of profiles.ini
// names (else one of installs.ini), else the one marked Default=1, else the first listed.
std::vector<TMozillaProfile> ReadMozillaProfiles(const std::string& dir);

// The current user's bookmark file, under home: "bookmarks.html" of the default profile of a
// Mozilla-family browser (Firefox, also as a snap or flatpak, then SeaMonkey; in profiles.ini the
// profile an install section names, else the one marked Default=1, else the first listed), else
// ~/.netscape/bookmarks.html; nullopt when none of them exists.
std::optional<std::string> FindUserBookmarkFile(const std::string& home);

// The bookmarks in use for the bookmark import's question: as FindUserBookmarkFile, but a default
// profile without bookmarks.html offers its places.sqlite (Firefox writes the HTML file only
// when asked to).
std::optional<std::string> FindUserBookmarkSource(const std::string& home);

// The default profile directories of the Mozilla-family browsers under home (chosen as above),
// in the order FindUserBookmarkFile tries them; only those that exist.
std::vector<std::string> FindMozillaProfiles(const std::string& home);

} // namespace hv

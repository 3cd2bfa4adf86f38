#pragma once

#include <optional>
#include <string>
#include <vector>

namespace hv {

// The current user's bookmark file, under home: "bookmarks.html" of the default profile of a
// Mozilla-family browser (Firefox, also as a snap or flatpak, then SeaMonkey; in profiles.ini the
// profile an install section names, else the one marked Default=1, else the first listed), else
// ~/.netscape/bookmarks.html; nullopt when none of them exists.
std::optional<std::string> FindUserBookmarkFile(const std::string& home);

// The default profile directories of the Mozilla-family browsers under home (chosen as above),
// in the order FindUserBookmarkFile tries them; only those that exist.
std::vector<std::string> FindMozillaProfiles(const std::string& home);

} // namespace hv

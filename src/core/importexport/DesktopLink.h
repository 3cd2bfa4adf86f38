#pragma once

#include <optional>
#include <string>
#include <string_view>

// Freedesktop link files (".desktop" with "Type=Link"): what Linux file managers and desktops
// make when a link is dragged onto them.
namespace hv {

// The biggest link file read; anything larger is no link file.
inline constexpr std::size_t kLinkFileLimit = 64 * 1024;

struct TDesktopLink {
    // The "Name" value, "" when there is none.
    std::string Name;
    std::string URL;
};

// The link of a desktop entry's bytes: the "[Desktop Entry]" group with "Type=Link" and a
// non-empty "URL" ("URL[$e]" as KDE writes it is the same key). Keys and the group name are
// case-sensitive, "#" lines are comments, blanks around "=" are ignored, the escapes "\s",
// "\n", "\t", "\r" and "\\" are decoded, and line breaks in values become blanks. The text is
// UTF-8 (a byte order mark is dropped) or, when not valid UTF-8, CP932. nullopt for anything
// that is not such a link.
std::optional<TDesktopLink> ParseDesktopLink(std::string_view bytes);

// ParseDesktopLink of the regular file at path; nullopt when it cannot be read or is larger
// than kLinkFileLimit.
std::optional<TDesktopLink> ReadDesktopLink(const std::string& path);

// ReadDesktopLink of a file whose name ends in ".desktop" (in any case), named by the file name
// without it when the entry has no Name; nullopt for other file names.
std::optional<TDesktopLink> ReadNamedDesktopLink(const std::string& path);

// The first bytes (at most limit) of the regular file at path; nullopt for anything else
// (missing, a directory, a pipe or device, unreadable) and for a file larger than limit. Never
// blocks on a pipe.
std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit);

} // namespace hv

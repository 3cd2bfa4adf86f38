#pragma once

#include <string>
#include <string_view>
#include <vector>

// The texts items and folders travel in between this program, other copies of it, browsers and
// file managers, as the bytes of each clipboard and drag-and-drop format.
namespace hv {

class THVFolder;
class THVItem;

// The program's own format: the records of a document body.
inline constexpr std::string_view kOwnFormat = "application/x-qt-windows-mime;value=\"Hollyvine (K.Amsel)\"";
// A link and its title, as Mozilla browsers offer it (UTF-16: URL, LF, title).
inline constexpr std::string_view kMozUrlFormat = "text/x-moz-url";
// A link and its title as Netscape offered it (URL, LF, title).
inline constexpr std::string_view kNetscapeUrlFormat = "_NETSCAPE_URL";
inline constexpr std::string_view kUriListFormat = "text/uri-list";
inline constexpr std::string_view kTextFormat = "text/plain";

// A link that came in: its address and the title that came with it (empty: none).
struct TDroppedLink {
    std::string URL;
    std::string Title;
};

// The own format's bytes (UTF-8) for items in order: their item records.
std::string BuildOwnData(const std::vector<const THVItem*>& items);
// The own format's bytes for a folder: its records at level 1, with everything below it.
std::string BuildOwnData(const THVFolder& folder);
// The records the own format's bytes hold: UTF-8, or CP932 when the bytes are not valid UTF-8;
// zero bytes at the end (a C string's terminator) are dropped.
std::string DecodeOwnData(std::string_view bytes);

// The texts offered with the own format for items, in the program's UTF-8: each item's URL and
// name on lines of their own (x-moz-url); each URL ended by CR LF (uri-list); the URLs one on a
// line (text). Items without a URL are left out of the last two.
std::string BuildMozUrlText(const std::vector<const THVItem*>& items);
std::string BuildUriList(const std::vector<const THVItem*>& items);
std::string BuildUrlText(const std::vector<const THVItem*>& items);

// The first link of text/x-moz-url bytes: UTF-16 (little-endian unless a byte order mark says
// otherwise) or, when the bytes hold no zero byte, UTF-8. The URL is the first line, the title
// the second. An empty URL gives an empty link.
TDroppedLink ParseMozUrl(std::string_view bytes);
// The link of _NETSCAPE_URL bytes (UTF-8, else CP932): URL, LF, title.
TDroppedLink ParseNetscapeUrl(std::string_view bytes);

// What a text/uri-list holds: http, https and ftp URLs as links (no title), file URIs of this
// machine as paths (percent escapes decoded). Comment lines and other schemes are skipped.
struct TUriList {
    std::vector<std::string> Links;
    std::vector<std::string> Files;
};
TUriList ParseUriList(std::string_view bytes);

} // namespace hv

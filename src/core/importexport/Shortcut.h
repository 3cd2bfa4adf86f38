#pragma once

#include <string>
#include <string_view>
#include <vector>

// Internet shortcut files (".url"): reading their address, writing them, and the import of
// chosen shortcut files.
namespace hv {

class THVFolder;
class TTreeEdits;
class TUserPrompts;

// The longest address a shortcut gives, in bytes of its file; longer ones are cut.
inline constexpr std::size_t kShortcutUrlLimit = 2099;

// The "URL" value of the "[InternetShortcut]" section of a shortcut's bytes, read as an
// initialization file: section and key names compared without regard to ASCII case, blanks
// around names and values ignored, a value in matching quotes unquoted, the first section and
// key of the name counted, the value cut to kShortcutUrlLimit bytes (never inside a character).
// The text is UTF-8 (a byte order mark is dropped) or, when it is not valid UTF-8, CP932.
// Missing section or key: "".
std::string ParseShortcutURL(std::string_view bytes);

// ParseShortcutURL of the file at path; "" when it cannot be read.
std::string ReadShortcutURL(const std::string& path);

// The bytes of a shortcut to url: "[InternetShortcut]" and "URL=" + url, each ended by CR LF,
// in UTF-8; in CP932 when the URL holds bytes kept from a CP932 file that would not read back
// from UTF-8.
std::string BuildShortcutFile(std::string_view url);

// The item name of a shortcut file: its file name without directory and without ".url" (any
// letter case); "" when the name does not end in ".url".
std::string ShortcutName(std::string_view path);

inline constexpr std::string_view kImportShortcutsDone = "%d 個のショートカットをインポートしました。";

// Adds an item for each file (in order) whose name ends in ".url", or that is a freedesktop
// link file ending in ".desktop" (named by its Name when it has one), and whose address is not
// empty, each made unique in folder's list (through edits when given); then tells the count.
// Returns the count (the document is modified when it is not 0).
int ImportShortcuts(const std::vector<std::string>& files, THVFolder& folder, TUserPrompts& prompts,
                    TTreeEdits* edits = nullptr);

} // namespace hv

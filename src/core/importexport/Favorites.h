#pragma once

#include <string>
#include <string_view>

// The user's favorites folder and its import as a folder tree.
namespace hv {

class THVFolder;
class TRegistryStore;
class TUserPrompts;

inline constexpr std::string_view kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr std::string_view kFavoritesValue = "Favorites";

inline constexpr std::string_view kImpFavoritesCaption = "[お気に入り] のインポート";
inline constexpr std::string_view kFavoritesHasSubfolders =
    "現在選択されているフォルダはサブフォルダを持っているため、実行できません。空のフォルダを選択してからやり直してくだ"
    "さい。";
inline constexpr std::string_view kFavoritesImportQuestion =
    "フォルダ '%s' の中に、Windows に登録されている [お気に入り] の内容を取り込みます。\n\n続けてよろしいですか？";
inline constexpr std::string_view kFavoritesImportDone = "[お気に入り] のインポートが完了しました。";

// The favorites folder: the store's "Favorites" value of the shell folders key when it is a
// non-empty text, else home + "/Favorites".
std::string FindFavoritesFolder(const TRegistryStore& store, const std::string& home);

// False when target has subfolders (the import refuses them).
bool CanImportFavoritesInto(const THVFolder& target);

// Copies the directory tree at dir into target: each directory becomes a subfolder, each
// ".url" file (any letter case) an item named after the file, made unique in its list; entries
// whose names start with "." are hidden and skipped, as are other files. Directories are read
// in name order; directories whose names differ only in ASCII letter case fill one folder; a
// directory reached again through a link is not read twice. Afterwards the subfolders of
// target and of every folder below it are sorted by name. Returns true when anything was
// added. A missing or unreadable dir adds nothing.
bool ImportFavoritesTree(THVFolder& target, const std::string& dir);

// The whole import as the program runs it: the refusal for a folder with subfolders (warning),
// the question, the import of dir (nothing when dir is empty), target expanded, and the
// completion message. Returns true when the document was modified.
bool ImportFavorites(THVFolder& target, const std::string& dir, TUserPrompts& prompts);

} // namespace hv

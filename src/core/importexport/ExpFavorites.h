#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Writing a folder, or the whole tree, as a directory tree of Internet shortcut files.
namespace hv {

class THVFolder;
class TUserPrompts;

inline constexpr std::string_view kExpFavoritesCaption = "[お気に入り] のエクスポート";
inline constexpr std::string_view kClearFavoritesQuestion =
    "\n現在このフォルダ以下にある項目（インターネットショートカット）とサブフォルダを削除します。よろしいですか？";
inline constexpr std::string_view kShortcutWriteError = "ファイル \"%s\" に書き込めませんでした。";
inline constexpr std::string_view kFolderCreateError = "フォルダ '%s' を作れませんでした。";
inline constexpr std::string_view kNewFolderCaption = "新規フォルダ";
inline constexpr std::string_view kNewFolderPrompt = "作成するフォルダの名前を入力してください。";
inline constexpr std::string_view kBadFolderNameChars = "フォルダ名に使えない文字が含まれていました。";
inline constexpr std::string_view kCreateFavoritesQuestion =
    "エクスポート先のフォルダ '%s' がありません。作成してよろしいですか？";

// name without its control characters (below 32, and DEL), with each of \ / : , ; * ? " < > | replaced by its
// full-width form. A name that is only dots ("." or "..") has its dots widened too, so it can never name the directory
// itself or its parent.
std::string SafeFileName(std::string_view name);

// Deletes every ".url" file (any letter case) in dir and below it, and every subdirectory that
// is empty afterwards; other files and the directories holding them stay. Links are not
// followed into other directories.
void ClearFavoritesDirectory(const std::string& dir);

// Writes source's items as shortcut files into dir (never over an existing file: "Name.url",
// then "Name(2).url", ...) and each subfolder into the subdirectory of its safe name, created
// when missing. Returns the errors, one message each; a subfolder whose directory cannot be
// made is listed once and skipped with everything below it.
std::vector<std::string> ExportFavoritesTree(const THVFolder& source, const std::string& dir);

// The export as the program runs it: when clear is on, the question (declined: false, nothing
// written, no message) and the clearing; the export; the completion message. errors receives
// the export's error list.
bool ExportFavorites(const THVFolder& source, const std::string& dir, bool clear, TUserPrompts& prompts,
                     std::vector<std::string>& errors);

// Makes the directory name (with any missing parents) below parent for the export's folder
// dialog. A name holding one of \ / : , ; * ? " < > | (or only dots, which would name parent or
// its parent) gets the warning kBadFolderNameChars, a failure kFolderCreateError with the name;
// both give nullopt. An empty name does nothing. Returns the new directory's path.
std::optional<std::string> CreateExportSubFolder(const std::string& parent, const std::string& name,
                                                 TUserPrompts& prompts);

} // namespace hv

#pragma once

#include "importexport/BookmarkTree.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Importing a Netscape bookmark file (the HTML that browsers export) into a folder.

namespace hv {

class TUserPrompts;

inline constexpr std::string_view kImportBookmarkCaption = "ブックマークのインポート";
inline constexpr std::string_view kBookmarkFolderHasSubfolders =
    "現在選択されているフォルダはサブフォルダを持っているため、実行できません。"
    "空のフォルダを選択してからやり直してください。";
inline constexpr std::string_view kBookmarkImportDone = "ブックマークのインポートが完了しました。";
inline constexpr std::string_view kUseCurrentBookmarksQuestion =
    "現在使用中のブックマークをインポートしますか？\n\n"
    "[はい] をクリックすると、現在使用中のブックマークをインポートします。\n"
    "[いいえ] をクリックすると、インポートするブックマークファイルを選択できます。";

// Asks for a bookmark file to read, given the directory to start in; nullopt when cancelled.
using TAskBookmarkFile = std::function<std::optional<std::string>(const std::string& startDir)>;

// The file the bookmark import reads: when the bookmarks in use are found under home
// (FindUserBookmarkSource), the question kUseCurrentBookmarksQuestion decides: Yes takes them,
// No asks for a file starting in their directory, Cancel gives nullopt. Without them the file is
// asked for starting in home.
std::optional<std::string> ChooseBookmarkFile(const std::string& home, TUserPrompts& prompts,
                                              const TAskBookmarkFile& askFile);

// Imports the bytes of a bookmark file into target: the file's encoding is found like any HTML
// file's (Shift_JIS when the bytes are rejected), its line ends are kept. Everything before the
// first "dl" tag is skipped; the walk ends at the end tag of that list. A heading (H3) names the
// folder its list (DL) fills: an existing child of that name (ASCII case ignored) is continued,
// else one is added; a list without a heading fills the folder it stands in. Each link (DT A) is
// an item: its text the name ("(    )" when it has none), href the URL, last_visit (Unix
// seconds) the last visit in local time; DD text and BR lines make its memo. The children of each
// folder that received a new folder are sorted by name, and target and all below it are expanded.
// Throws EHtmlParseError; what was imported before stays (sorted).
TBookmarkImportResult ImportBookmarks(std::string_view bytes, THVFolder& target,
                                      const TBookmarkImportOptions& options = {});

// ImportBookmarks over a file's content; nullopt when no file of that name exists.
// Throws EFileError when the file cannot be read.
std::optional<TBookmarkImportResult> ImportBookmarkFile(const std::string& path, THVFolder& target,
                                                        const TBookmarkImportOptions& options = {});

} // namespace hv

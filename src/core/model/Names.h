#pragma once

#include <string>
#include <string_view>

namespace hv {

class THVFolder;
class THVItem;
class THVList;

// "￥" (U+FFE5, full-width yen): what a "\" in a folder name becomes, since "\" separates the
// folders of a path.
inline constexpr std::string_view kFullWidthYen = "\xEF\xBF\xA5";

// The messages of the name checks.
inline constexpr const char* kEmptyNameMessage = "名前が入力されていません。";
std::string DuplicateFolderMessage(std::string_view name);
std::string DuplicateItemMessage(std::string_view name);

// Every "\" turned into "￥"; nothing else changes.
std::string FolderNameWithYen(std::string_view name);
// A name as the user typed it, cleaned the way it is kept: characters below 32 removed, and for
// folders "\" turned into "￥".
std::string CleanItemName(std::string_view text);
std::string CleanFolderName(std::string_view text);

// The checks a new or changed name passes; each returns the message to show, or an empty
// string when the name may be used. A cleaned name is expected.
// A folder name under parent; self is the folder being renamed (nullptr for a new folder).
std::string CheckFolderName(const THVFolder& parent, const THVFolder* self, std::string_view name);
// An item name in list; self is the item being renamed (nullptr for a new item).
std::string CheckItemName(const THVList& list, const THVItem* self, std::string_view name);

// The memo of an item keeps Windows line breaks (CR LF); an edit box works with LF alone.
std::string MemoForEditing(std::string_view memo);
std::string MemoForStoring(std::string_view text);

} // namespace hv

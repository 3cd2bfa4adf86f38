#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace hv {

class THVItem;
class THVFolder;
class THVList;

// The memo as one record value: each line quoted (inner quotes doubled), empty lines left
// empty, joined by ",". CR LF, a lone CR and a lone LF all end a line.
std::string EncodeMemo(std::string_view memo);

// Appends the "[Item]" record of item, ending in CR LF CR LF.
void AppendItemRecord(std::string& out, const THVItem& item);
// Appends the "[Folder]" record of folder at level, its item records, and the records of
// every folder below it at the levels that follow.
void AppendFolderRecords(std::string& out, const THVFolder& folder, int level);
// The "[Item]" record of item, lines ending in CR LF, closed by an empty line.
std::string GetText(const THVItem& item);
// The folder record of the list's folder at level, its item records, then the records of the
// child folders; empty for a list that belongs to no folder.
std::string GetText(const THVList& list, int level);

// The records of a document body: the root's items, then each child folder at level 1.
std::string BuildDocumentBody(const THVFolder& root);
// The same records handed to take in pieces of some tens of kilobytes, each ending at the end of
// a record, so that a large body is never built whole. Stops early when take returns false;
// returns false then.
bool ForEachBodyPiece(const THVFolder& root, const std::function<bool(std::string_view)>& take);

} // namespace hv

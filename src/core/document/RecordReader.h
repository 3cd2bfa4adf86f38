#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

class TDocumentReader;
class THVFolder;
class THVItem;

enum class TRecordKind { End, Folder, Item };

// Splits the next record off text (up to and including the first CR LF CR LF, or all of it),
// puts its lines into lines (leading empty lines dropped) and tells its kind. The views in
// lines point into text.
TRecordKind NextRecord(std::string_view& text, std::vector<std::string_view>& lines);

// Puts the lines of one record (as NextRecord splits it off) into lines and tells its kind.
TRecordKind SplitRecord(std::string_view record, std::vector<std::string_view>& lines);

// The inverse of EncodeMemo; also takes unquoted pieces. Throws EConvertError when a quoted
// line is followed by anything but a comma.
std::string DecodeMemo(std::string_view value);

struct TReadOptions {
    // Keep each parent's folders in name order when new ones are made.
    bool SortFolders = false;
    // The folder the item list shows; OnItemShown is called for each item read into it.
    const THVFolder* ShownFolder = nullptr;
    std::function<void(THVItem&)> OnItemShown;
};

// Reads item and folder records into target: folder records by level below it (same-named
// folders merged), items with unique names. Returns how many items and new folders were read.
// Stops quietly at a record of another kind; a bad level or memo throws EConvertError and
// leaves what was read so far in the tree. Afterwards target and every folder below it are
// expanded.
int ReadRecords(std::string_view text, THVFolder& target, const TReadOptions& options = {});
// The same for the body of a document file, read record by record.
int ReadRecords(TDocumentReader& reader, THVFolder& target, const TReadOptions& options = {});

} // namespace hv

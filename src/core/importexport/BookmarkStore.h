#pragma once

#include "Errors.h"
#include "importexport/BookmarkTree.h"

#include <optional>
#include <string>
#include <string_view>

// Reading the browsers' own bookmark stores: Firefox's places.sqlite and the Bookmarks file
// (JSON) of the Chromium family. Both give the tree the bookmark file import gives.

namespace hv {

// A store that cannot be read; what() names the file and the reason.
class EBookmarkStoreError : public EHVError {
public:
    using EHVError::EHVError;
    const char* ClassName() const noexcept override { return "EBookmarkStoreError"; }
};

// The folders the browsers show for their roots.
inline constexpr std::string_view kFirefoxMenuRoot = "ブックマークメニュー";
inline constexpr std::string_view kFirefoxToolbarRoot = "ブックマークツールバー";
inline constexpr std::string_view kFirefoxOtherRoot = "他のブックマーク";
inline constexpr std::string_view kChromiumBarRoot = "ブックマーク バー";
inline constexpr std::string_view kChromiumOtherRoot = "その他のブックマーク";
inline constexpr std::string_view kMobileRoot = "モバイルのブックマーク";

// Reads Firefox's places.sqlite without touching the browser's files: the database and its
// write-ahead log (places.sqlite-wal, when present) are copied to a private temporary directory
// and the copy is opened read-only, so a running browser is neither blocked nor disturbed and
// the changes still in its log are seen. The menu, toolbar, other and mobile roots become
// folders (a root without bookmarks or folders is left out); bookmarks become items named by
// their title (the URL when it has none) with the place's last visit; separators, "place:"
// queries and tags are skipped. Throws EBookmarkStoreError.
TBookmarkTree ReadFirefoxPlaces(const std::string& path);

// Reads the JSON of a Chromium-family Bookmarks file: the roots bookmark_bar, other and synced
// become folders (left out when empty), "folder" nodes folders and "url" nodes items, with
// date_last_used (microseconds since 1601, 0 = never) as the last visit. Fields it does not
// know are ignored. path only names the file in messages. Throws EBookmarkStoreError.
TBookmarkTree ParseChromiumBookmarks(std::string_view json, const std::string& path);
TBookmarkTree ReadChromiumBookmarks(const std::string& path);

// The whole content of a store file. Throws EBookmarkStoreError naming the file and the
// system's reason when it cannot be read.
std::string ReadStoreFile(const std::string& path);

// Either of the above, chosen by the file's content (an SQLite database or JSON).
TBookmarkTree ReadBookmarkStore(const std::string& path);

// Reads the store at path and inserts it into target like a bookmark file. Throws
// EBookmarkStoreError before anything is changed.
TBookmarkImportResult ImportBookmarkStore(const std::string& path, THVFolder& target,
                                          const TBookmarkImportOptions& options = {});

// The import of the bookmarks in use (FindUserBookmarkSource): a places.sqlite through
// ImportBookmarkStore, anything else as a bookmark file (ImportBookmarkFile). nullopt when no
// file of that name exists. Throws EBookmarkStoreError, EFileError or EHtmlParseError.
std::optional<TBookmarkImportResult> ImportUserBookmarks(const std::string& path, THVFolder& target,
                                                         const TBookmarkImportOptions& options = {});

} // namespace hv

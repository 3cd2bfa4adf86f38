#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

class TSettings;

// The canonical absolute path of a file: links resolved, "." and ".." gone. For a path that does
// not exist (yet) the part that exists is resolved and the rest kept as written. This is the
// "full file name" the document keeps, the recent-files list shows and the File table is keyed
// with.
std::string FullFileName(const std::string& path);

// Whether two paths name the same file on disk, however they are written (relative, through a
// symbolic link, in another letter case on a file system that ignores it). Paths of files that
// do not exist are the same when their full file names are equal.
bool SameFile(const std::string& a, const std::string& b);

class TRecentFiles;

// The document the program opens when it starts: the file named on the command line when it is
// a regular file (its full file name), otherwise, when settings say StartWithFile, the most recent
// one; empty for none.
std::string StartUpDocumentPath(const std::string& commandLinePath, TSettings* settings, const TRecentFiles& recent);

// The menus show at most this many recent files, and only these are stored.
inline constexpr std::size_t kRecentFilesShown = 8;
// The disabled placeholder of an empty recent-files menu.
inline constexpr std::string_view kNoRecentFiles = "(なし)";

// The recently opened or saved documents, most recent first. While the program runs the list
// has no length limit; the first kRecentFilesShown entries are shown and stored.
class TRecentFiles {
public:
    const std::vector<std::string>& Items() const { return m_Items; }
    int Count() const { return static_cast<int>(m_Items.size()); }

    // Puts path at the top after removing every entry whose file no longer exists or which names
    // the same file as path (SameFile).
    void Add(const std::string& path);
    // Removes one entry (the settings dialog's delete button).
    void Delete(int index);
    void Clear() { m_Items.clear(); }
    // Removes every entry whose file no longer exists (at start-up).
    void DropMissing();

    // The entries the menus show, in list order.
    std::vector<std::string> MenuEntries() const;
    // The menu caption of entry index (0-based): "%s(&%d)" with the full path and index.
    static std::string MenuCaption(const std::string& path, int index);
    // The menu hint of an entry: the full path followed by " を開きます".
    static std::string MenuHint(const std::string& path);

    // The stored form: the shown entries joined by ";".
    std::string StoredText() const;
    // Replaces the list by a stored text split at ";" (empty pieces are skipped).
    void SetStoredText(std::string_view text);

    // The start-up reading: the main setting RecentFiles, then entries of missing files dropped.
    void Load(TSettings& settings);
    // The shut-down writing of the main setting RecentFiles.
    void Store(TSettings& settings) const;

private:
    std::vector<std::string> m_Items;
};

} // namespace hv

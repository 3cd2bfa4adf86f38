#include "importexport/BookmarkStore.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace hv {

namespace {

// moz_bookmarks.type
constexpr int kTypeBookmark = 1;
constexpr int kTypeFolder = 2;

struct TRoot {
    std::string_view Guid;
    std::string_view Name;
};
// In the order Firefox shows them; the tags root (tags________) is not among them.
constexpr std::array<TRoot, 4> kRoots = {{
    {"menu________", kFirefoxMenuRoot},
    {"toolbar_____", kFirefoxToolbarRoot},
    {"unfiled_____", kFirefoxOtherRoot},
    {"mobile______", kMobileRoot},
}};

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

[[noreturn]] void FailUnreadable(const std::string& path, int error) {
    throw EBookmarkStoreError("ファイル " + Quoted(path) + " を読み込めません。\n" + std::strerror(error));
}

// A private directory under $TMPDIR (or /tmp), removed with everything in it at the end.
class TPrivateDir {
public:
    TPrivateDir() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/hollyvine-places-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw EBookmarkStoreError("一時ディレクトリ " + Quoted(pattern) + " を作成できません。\n" +
                                      std::strerror(errno));
        }
        m_Path = pattern;
    }
    ~TPrivateDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    TPrivateDir(const TPrivateDir&) = delete;
    TPrivateDir& operator=(const TPrivateDir&) = delete;

    const std::string& Path() const { return m_Path; }

private:
    std::string m_Path;
};

// What tells whether a file changed while it was copied.
struct TFileStamp {
    bool Exists = false;
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    std::int64_t ModifiedNs = 0;

    bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const std::string& path) {
    struct stat st {};
    TFileStamp stamp;
    if (::stat(path.c_str(), &st) == 0) {
        stamp.Exists = true;
        stamp.Device = st.st_dev;
        stamp.Inode = st.st_ino;
        stamp.Size = st.st_size;
        stamp.ModifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
    return stamp;
}

class TFd {
public:
    explicit TFd(int fd) : m_Fd(fd) {}
    ~TFd() {
        if (m_Fd >= 0) {
            ::close(m_Fd);
        }
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return m_Fd; }

private:
    int m_Fd;
};

// Copies the file at from to the new file to; false when from does not exist.
bool CopyFile(const std::string& from, const std::string& to) {
    TFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.Get() < 0) {
        if (errno == ENOENT) {
            return false;
        }
        FailUnreadable(from, errno);
    }
    struct stat st {};
    if (::fstat(in.Get(), &st) != 0) {
        FailUnreadable(from, errno);
    }
    if (S_ISDIR(st.st_mode)) {
        FailUnreadable(from, EISDIR);
    }
    TFd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (out.Get() < 0) {
        throw EBookmarkStoreError("一時ファイル " + Quoted(to) + " を作成できません。\n" + std::strerror(errno));
    }
    std::array<char, 1 << 16> buffer{};
    while (true) {
        const ssize_t n = ::read(in.Get(), buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            FailUnreadable(from, errno);
        }
        if (n == 0) {
            return true;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out.Get(), buffer.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) {
                continue;
            }
            if (w < 0) {
                throw EBookmarkStoreError("一時ファイル " + Quoted(to) + " に書き込めません。\n" +
                                          std::strerror(errno));
            }
            done += w;
        }
    }
}

// Copies the database and its log into dir as dir/places.sqlite(-wal). The log goes first: a
// checkpoint between the two copies then only leaves the log's pages already in the database.
// A copy taken while the browser wrote is taken again (a few times at most).
std::string CopyDatabase(const std::string& path, const std::string& dir) {
    const std::string copy = dir + "/places.sqlite";
    const std::string wal = path + "-wal";
    for (int attempt = 0;; ++attempt) {
        std::error_code ignored;
        std::filesystem::remove(copy, ignored);
        std::filesystem::remove(copy + "-wal", ignored);
        const TFileStamp dbBefore = StampOf(path);
        const TFileStamp walBefore = StampOf(wal);
        CopyFile(wal, copy + "-wal");
        if (!CopyFile(path, copy)) {
            FailUnreadable(path, ENOENT);
        }
        if (attempt == 4 || (StampOf(path) == dbBefore && StampOf(wal) == walBefore)) {
            return copy;
        }
    }
}

class TDatabase {
public:
    TDatabase(const std::string& copy, const std::string& path) : m_Path(path) {
        const int rc = sqlite3_open_v2(copy.c_str(), &m_Db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) {
            Fail(rc);
        }
        sqlite3_busy_timeout(m_Db, 2000);
    }
    ~TDatabase() { sqlite3_close(m_Db); }
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    sqlite3* Get() const { return m_Db; }

    [[noreturn]] void Fail(int rc) const {
        switch (rc & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            throw EBookmarkStoreError(Quoted(m_Path) + " は他のプログラムがロックしているため読み込めません。");
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
        case SQLITE_FORMAT:
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
        case SQLITE_EMPTY:
            throw EBookmarkStoreError(Quoted(m_Path) + " は壊れているため読み込めません。");
        default:
            throw EBookmarkStoreError(Quoted(m_Path) + " は Firefox のブックマークのデータベースではありません。");
        }
    }

private:
    std::string m_Path;
    sqlite3* m_Db = nullptr;
};

class TStatement {
public:
    TStatement(const TDatabase& db, const char* sql) : m_Db(db) {
        const int rc = sqlite3_prepare_v2(db.Get(), sql, -1, &m_Stmt, nullptr);
        if (rc != SQLITE_OK) {
            db.Fail(rc);
        }
    }
    ~TStatement() { sqlite3_finalize(m_Stmt); }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    // True while there is a row.
    bool Step() {
        const int rc = sqlite3_step(m_Stmt);
        if (rc == SQLITE_ROW) {
            return true;
        }
        if (rc != SQLITE_DONE) {
            m_Db.Fail(rc);
        }
        return false;
    }
    std::int64_t Int(int column) const { return sqlite3_column_int64(m_Stmt, column); }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(m_Stmt, column);
        return text == nullptr ? std::string()
                               : std::string(reinterpret_cast<const char*>(text),
                                             static_cast<std::size_t>(sqlite3_column_bytes(m_Stmt, column)));
    }

private:
    const TDatabase& m_Db;
    sqlite3_stmt* m_Stmt = nullptr;
};

struct TRow {
    std::int64_t Id = 0;
    int Type = 0;
    std::string Title;
    std::string Guid;
    std::string URL;
    std::int64_t LastVisitUs = 0;
};

bool IsQuery(const std::string& url) {
    return url.compare(0, 6, "place:") == 0;
}

class TPlacesReader {
public:
    explicit TPlacesReader(const TDatabase& db) : m_Db(db) {}

    TBookmarkTree Read() {
        LoadRows();
        for (const TRoot& root : kRoots) {
            const auto found = m_ByGuid.find(root.Guid);
            // A damaged file may put one root inside another: it is taken once.
            if (found != m_ByGuid.end() && !m_Entered.contains(m_Rows[found->second].Id) &&
                HasContent(m_Rows[found->second].Id)) {
                AddFolder(found->second, TBookmarkTree::kTargetNode, std::string(root.Name));
            }
        }
        return std::move(m_Tree);
    }

private:
    void LoadRows() {
        TStatement stmt(m_Db, "SELECT b.id, b.type, b.parent, b.title, b.guid, p.url, p.last_visit_date "
                              "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
                              "ORDER BY b.parent, b.position, b.id");
        while (stmt.Step()) {
            TRow& row = m_Rows.emplace_back();
            row.Id = stmt.Int(0);
            row.Type = static_cast<int>(stmt.Int(1));
            row.Title = stmt.Text(3);
            row.Guid = stmt.Text(4);
            row.URL = stmt.Text(5);
            row.LastVisitUs = stmt.Int(6);
            const std::size_t index = m_Rows.size() - 1;
            m_Children[stmt.Int(2)].push_back(index);
            for (const TRoot& root : kRoots) {
                if (row.Guid == root.Guid) {
                    m_ByGuid.emplace(root.Guid, index);
                }
            }
        }
        if (m_ByGuid.empty()) {
            m_Db.Fail(SQLITE_ERROR);
        }
    }

    bool Imported(const TRow& row) const {
        return row.Type == kTypeFolder || (row.Type == kTypeBookmark && !IsQuery(row.URL));
    }

    bool HasContent(std::int64_t id) const {
        const auto children = m_Children.find(id);
        if (children == m_Children.end()) {
            return false;
        }
        for (std::size_t index : children->second) {
            if (Imported(m_Rows[index])) {
                return true;
            }
        }
        return false;
    }

    // Adds the folder row and everything below it, without recursion (the nesting has no bound)
    // and entering each folder once (a damaged file may hold a loop).
    void AddFolder(std::size_t rootRow, int parent, std::string name) {
        struct TPending {
            std::size_t Row;
            int Parent;
        };
        std::vector<TPending> stack;
        m_Entered.insert(m_Rows[rootRow].Id);
        const int rootNode = m_Tree.AddFolder(parent, std::move(name));
        PushChildren(m_Rows[rootRow].Id, rootNode, stack);
        while (!stack.empty()) {
            const TPending next = stack.back();
            stack.pop_back();
            const TRow& row = m_Rows[next.Row];
            if (row.Type == kTypeBookmark) {
                std::string title = CleanImportedName(row.Title);
                std::string url = CleanImportedURL(row.URL);
                if (title.empty()) {
                    title = url.empty() ? std::string(kNoTextName) : CleanImportedName(url);
                }
                m_Tree.AddItem(next.Parent, std::move(title), std::move(url),
                               ImportedVisitTime(row.LastVisitUs / 1000000));
            } else if (row.Type == kTypeFolder && m_Entered.insert(row.Id).second) {
                const int node = m_Tree.AddFolder(next.Parent, CleanImportedFolderName(row.Title));
                PushChildren(row.Id, node, stack);
            }
        }
    }

    template <typename TStack> void PushChildren(std::int64_t id, int node, TStack& stack) const {
        const auto children = m_Children.find(id);
        if (children == m_Children.end()) {
            return;
        }
        // Reversed, so that they come off the stack in their order.
        for (auto it = children->second.rbegin(); it != children->second.rend(); ++it) {
            if (Imported(m_Rows[*it])) {
                stack.push_back({*it, node});
            }
        }
    }

    const TDatabase& m_Db;
    std::vector<TRow> m_Rows;
    std::unordered_map<std::int64_t, std::vector<std::size_t>> m_Children;
    std::unordered_map<std::string_view, std::size_t> m_ByGuid;
    std::unordered_set<std::int64_t> m_Entered;
    TBookmarkTree m_Tree;
};

} // namespace

TBookmarkTree ReadFirefoxPlaces(const std::string& path) {
    TPrivateDir dir;
    const std::string copy = CopyDatabase(path, dir.Path());
    const TDatabase db(copy, path);
    TPlacesReader reader(db);
    return reader.Read();
}

} // namespace hv

#include "platform/SafeFile.h"

#include "Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/SystemError.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace hv {

namespace {

// Link hops followed before giving up, as the kernel does.
constexpr int MaxLinkHops = 40;
// Names tried before concluding that no temporary file can be made.
constexpr int MaxTempAttempts = 100;
// The extended attribute that marks a named temporary file while it is being written, so that
// a leftover of a killed writer can be told from a user's file of the same name form.
constexpr const char* TempMark = "user.hollyvine.temporary";
// Bytes gathered before they are written out.
constexpr std::size_t SinkBufferSize = 1 << 16;

int RandomBelow10000() {
    thread_local std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, 9999)(generator);
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) {
        return name;
    }
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// "\"PATH\" を保存できませんでした。" and the reason; action is the verb ("保存できませんでした").
ESystemFileError SystemError(std::string_view action, const std::string& path, int error) {
    const std::string reason = SystemErrorText(error);
    return ESystemFileError("\"" + path + "\" を" + std::string(action) + "。" + reason, reason);
}

[[noreturn]] void FailWrite(const TSafeWriteOptions& options, const std::string& path, int error) {
    if (options.ErrorMessage.empty()) {
        throw SystemError("保存できませんでした", path, error);
    }
    throw ESystemFileError(options.ErrorMessage, SystemErrorText(error));
}

// Follows symbolic links from path to the file they finally name (which need not exist yet).
// Returns 0 or the errno that stopped the walk (ELOOP).
int ResolveLinks(std::string& path) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return 0; // a missing or unreadable path is left to the open that follows
        }
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
        ssize_t length = 0;
        while (true) {
            length = readlink(path.c_str(), target.data(), target.size());
            if (length < 0) {
                return errno;
            }
            if (static_cast<std::size_t>(length) < target.size()) {
                break;
            }
            target.resize(target.size() * 2); // the link changed under us; read it again
        }
        target.resize(static_cast<std::size_t>(length));
        path = !target.empty() && target[0] == '/' ? target : JoinPath(DirectoryOf(path), target);
    }
    return ELOOP;
}

// Writes all bytes, retrying after interruptions and short writes. Returns 0 or the errno.
int WriteAll(int fd, std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

// Writes what it is given to the temporary file, in pieces of SinkBufferSize; the first error
// is kept and everything after it dropped.
class TFileSink : public TByteSink {
public:
    TFileSink(int fd, const std::optional<std::size_t>& failAfter) : m_Fd(fd), m_FailAfter(failAfter) {}

    void Write(std::string_view bytes) override {
        if (m_Error != 0) {
            return;
        }
        if (m_Buffer.empty() && bytes.size() >= SinkBufferSize) {
            Put(bytes);
            return;
        }
        m_Buffer.append(bytes);
        if (m_Buffer.size() >= SinkBufferSize) {
            Flush();
        }
    }

    int Finish() {
        Flush();
        return m_Error;
    }

private:
    void Flush() {
        if (m_Error == 0 && !m_Buffer.empty()) {
            Put(m_Buffer);
        }
        m_Buffer.clear();
    }

    void Put(std::string_view bytes) {
        if (m_FailAfter && m_Written + bytes.size() > *m_FailAfter) {
            WriteAll(m_Fd, bytes.substr(0, *m_FailAfter - m_Written));
            m_Written = *m_FailAfter;
            m_Error = ENOSPC;
            return;
        }
        m_Error = WriteAll(m_Fd, bytes);
        m_Written += bytes.size();
    }

    int m_Fd;
    std::optional<std::size_t> m_FailAfter;
    std::size_t m_Written = 0;
    std::string m_Buffer;
    int m_Error = 0;
};

// A temporary file beside the target, nameless until Link gives it a name where possible.
class TTempFile {
public:
    TTempFile(std::string dir, std::string fileName, const TSafeWriteOptions& options)
        : m_Dir(std::move(dir)), m_FileName(std::move(fileName)), m_Options(options) {}
    ~TTempFile() {
        if (!m_Path.empty() && !m_Renamed) {
            unlink(m_Path.c_str());
        }
        if (m_Fd >= 0) {
            close(m_Fd);
        }
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    int Fd() const { return m_Fd; }

    // Returns 0 or the errno that kept any temporary file from being made.
    int Create() {
        if (m_Options.NamelessTemp) {
            m_Fd = open(m_Dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
            if (m_Fd >= 0) {
                Mark(m_Fd); // before it has a name, so that it never has one unmarked
                return 0;
            }
            // Only a file system or kernel without nameless files falls back; a directory that
            // cannot be written fails here as it would below.
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
                return errno;
            }
        }
        return CreateNamed(m_Fd);
    }

    // Gives the complete file its temporary name (a nameless one is linked in). Returns 0 or
    // the errno.
    int Name() {
        if (!m_Path.empty()) {
            return 0;
        }
        std::snprintf(m_Proc, sizeof m_Proc, "/proc/self/fd/%d", m_Fd);
        int error = EEXIST;
        for (int attempt = 0; attempt < MaxTempAttempts && error == EEXIST; ++attempt) {
            const std::string path = NextName();
            error = 0;
            if (linkat(AT_FDCWD, m_Proc, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0 &&
                linkat(m_Fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) != 0) {
                error = errno;
            }
            if (error == 0) {
                m_Path = path;
                return 0;
            }
        }
        if (error == EEXIST) {
            return error;
        }
        // No way to link it in (no /proc): copy it, with its owner and mode, into a named
        // temporary file.
        int named = -1;
        if (const int createError = CreateNamed(named)) {
            return createError;
        }
        struct stat st {};
        error = fstat(m_Fd, &st) == 0 ? 0 : errno;
        if (error == 0) {
            if (fchown(named, st.st_uid, st.st_gid) != 0) {
                // Not permitted for another owner or group; the copy keeps ours.
            }
            error = fchmod(named, st.st_mode & 07777) == 0 ? 0 : errno;
        }
        if (error == 0) {
            error = CopyAll(m_Fd, named);
        }
        close(m_Fd);
        m_Fd = named;
        return error;
    }

    // Renames the file over target. Returns 0 or the errno.
    int RenameOver(const std::string& target) {
        if (rename(m_Path.c_str(), target.c_str()) != 0) {
            return errno;
        }
        m_Renamed = true;
        fremovexattr(m_Fd, TempMark); // the document itself is no temporary file
        return 0;
    }

private:
    std::string NextName() const {
        return m_Options.TempName ? m_Options.TempName(m_Dir, m_FileName) : DefaultTempName(m_Dir, m_FileName);
    }

    // Locked first, marked then: a marked file whose lock can be taken has no writer.
    static void Mark(int fd) {
        flock(fd, LOCK_EX | LOCK_NB);
        fsetxattr(fd, TempMark, "1", 1, 0); // where the file system has no attributes, no mark
    }

    int CreateNamed(int& fd) {
        int error = EEXIST;
        for (int attempt = 0; attempt < MaxTempAttempts && fd < 0 && error == EEXIST; ++attempt) {
            m_Path = NextName();
            fd = open(m_Path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            error = fd < 0 ? errno : 0;
        }
        if (fd < 0) {
            m_Path.clear();
            return error;
        }
        Mark(fd);
        return 0;
    }

    static int CopyAll(int from, int to) {
        char buffer[SinkBufferSize];
        for (off_t offset = 0;;) {
            const ssize_t n = pread(from, buffer, sizeof buffer, offset);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                return errno;
            }
            if (n == 0) {
                return fsync(to) == 0 ? 0 : errno;
            }
            if (const int error = WriteAll(to, std::string_view(buffer, static_cast<std::size_t>(n)))) {
                return error;
            }
            offset += n;
        }
    }

    std::string m_Dir;
    std::string m_FileName;
    const TSafeWriteOptions& m_Options;
    int m_Fd = -1;
    std::string m_Path;
    bool m_Renamed = false;
    char m_Proc[32] = {};
};

// "stem.NNNN.NNNN.hv" for the document stem.
bool IsDocumentTempName(std::string_view name, std::string_view stem) {
    constexpr std::string_view tail = ".0000.0000.hv";
    if (name.size() != stem.size() + tail.size() || name.substr(0, stem.size()) != stem) {
        return false;
    }
    const std::string_view rest = name.substr(stem.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const bool digit = tail[i] == '0';
        if (digit ? !std::isdigit(static_cast<unsigned char>(rest[i])) : rest[i] != tail[i]) {
            return false;
        }
    }
    return true;
}

std::string DocumentStem(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

void SyncDirectory(const std::string& dir) {
    const TFd fd(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) {
        fsync(fd.Get());
    }
}

} // namespace

std::string DefaultTempName(const std::string& dir, const std::string& fileName) {
    char number[8];
    std::snprintf(number, sizeof number, "%.4d", RandomBelow10000());
    return JoinPath(dir, "." + fileName + "." + number + ".tmp");
}

std::string DocumentTempName(const std::string& dir, const std::string& fileName) {
    const std::string stem = DocumentStem(fileName);
    const int first = RandomBelow10000();
    const int second = RandomBelow10000();
    std::string name(stem.size() + 16, '\0');
    const int length = std::snprintf(name.data(), name.size(), "%s.%.4d.%.4d.hv", stem.c_str(), first, second);
    name.resize(static_cast<std::size_t>(length));
    return JoinPath(dir, name);
}

void WriteFileSafely(const std::string& path, std::string_view bytes, const TSafeWriteOptions& options) {
    WriteFileSafely(
        path, [bytes](TByteSink& sink) { sink.Write(bytes); }, options);
}

void WriteFileSafely(const std::string& path, const std::function<void(TByteSink&)>& produce,
                     const TSafeWriteOptions& options) {
    std::string target = path;
    if (const int error = ResolveLinks(target)) {
        FailWrite(options, path, error);
    }
    const std::string dir = DirectoryOf(target);

    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;

    TTempFile temp(dir, FileNameOf(target), options);
    int error = temp.Create();
    if (error != 0) {
        FailWrite(options, path, error);
    }
    TFileSink sink(temp.Fd(), options.FailAfterBytes);
    produce(sink); // an exception leaves through the temporary file's clean-up
    error = sink.Finish();
    if (error == 0 && exists) {
        // Group ownership follows the old file where we may set it; the bits always do.
        if (fchown(temp.Fd(), old.st_uid, old.st_gid) != 0) {
            // Not permitted for a file of another owner or group; the new file keeps ours.
        }
        if (fchmod(temp.Fd(), old.st_mode & 07777) != 0) {
            error = errno;
        }
    }
    if (error == 0 && fsync(temp.Fd()) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = temp.Name();
    }
    if (error == 0) {
        error = temp.RenameOver(target);
    }
    if (error != 0) {
        FailWrite(options, path, error);
    }
    SyncDirectory(dir);
}

void RemoveLeftoverDocumentTempFiles(const std::string& path) {
    std::string target = path;
    if (ResolveLinks(target) != 0) {
        return;
    }
    const std::string stem = DocumentStem(FileNameOf(target));
    DIR* dir = opendir(DirectoryOf(target).c_str());
    if (dir == nullptr) {
        return;
    }
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        if (!IsDocumentTempName(entry->d_name, stem)) {
            continue;
        }
        const int fd = openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat st {};
        char mark[8];
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && fgetxattr(fd, TempMark, mark, sizeof mark) > 0 &&
            flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlinkat(dirFd, entry->d_name, 0);
        }
        close(fd);
    }
    closedir(dir);
}

std::string SystemErrorText(int error) {
    switch (error) {
    case ENOENT:
        return "ファイルまたはディレクトリがありません。";
    case EACCES:
    case EPERM:
        return "アクセスが拒否されました。";
    case EISDIR:
        return "ディレクトリです。";
    case ENOTDIR:
        return "パスの途中にディレクトリでないものがあります。";
    case ENOSPC:
    case EDQUOT:
        return "ディスクの空き領域が足りません。";
    case EROFS:
        return "読み取り専用のファイルシステムです。";
    case ENAMETOOLONG:
        return "ファイル名が長すぎます。";
    case ELOOP:
        return "シンボリックリンクが多すぎるか、循環しています。";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます。";
    case EIO:
        return "入出力エラーが起きました。";
    case EEXIST:
        return "同じ名前のファイルがすでにあります。";
    case EBUSY:
    case ETXTBSY:
        return "ファイルが使用中です。";
    case EXDEV:
        return "別のファイルシステムをまたいでは移せません。";
    case EFBIG:
        return "ファイルが大きすぎます。";
    case ENOMEM:
        return "メモリが足りません。";
    case EINVAL:
        return "引数が正しくありません。";
    default:
        return "システムエラー (" + std::to_string(error) + ") が起きました。";
    }
}

TFileReader::TFileReader(const std::string& path) : m_Path(path), m_File(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (!m_File.Valid()) {
        throw SystemError("読めませんでした", path, errno);
    }
}

TFileReader::~TFileReader() = default;

std::size_t TFileReader::SizeHint() const {
    struct stat st {};
    return fstat(m_File.Get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 ? static_cast<std::size_t>(st.st_size)
                                                                                  : 0;
}

std::size_t TFileReader::Read(char* into, std::size_t max) {
    while (true) {
        const ssize_t n = read(m_File.Get(), into, max);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            throw SystemError("読めませんでした", m_Path, errno);
        }
    }
}

std::string ReadFileBytes(const std::string& path) {
    TFileReader file(path);
    std::string content;
    content.reserve(file.SizeHint());
    char buffer[65536];
    while (const std::size_t n = file.Read(buffer, sizeof buffer)) {
        content.append(buffer, n);
    }
    return content;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<TFileStamp> FileStampOf(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    auto nanoseconds = [](const timespec& t) { return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
    return TFileStamp{st.st_dev, st.st_ino, st.st_size, nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
}

} // namespace hv

#include "platform/SafeFile.h"

#include "Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace hv {

namespace {

// Link hops followed before giving up, as the kernel does.
constexpr int MaxLinkHops = 40;
// Names tried before concluding that no temporary file can be made.
constexpr int MaxTempAttempts = 100;

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
int WriteAll(int fd, std::string_view bytes, const std::optional<std::size_t>& failAfter) {
    std::size_t written = 0;
    std::size_t limit = bytes.size();
    if (failAfter && *failAfter < limit) {
        limit = *failAfter;
    }
    while (written < limit) {
        const ssize_t n = write(fd, bytes.data() + written, limit - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        written += static_cast<std::size_t>(n);
    }
    return written < bytes.size() ? ENOSPC : 0;
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
    const std::size_t dot = fileName.rfind('.');
    const std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    const int first = RandomBelow10000();
    const int second = RandomBelow10000();
    std::string name(stem.size() + 16, '\0');
    const int length = std::snprintf(name.data(), name.size(), "%s.%.4d.%.4d.hv", stem.c_str(), first, second);
    name.resize(static_cast<std::size_t>(length));
    return JoinPath(dir, name);
}

void WriteFileSafely(const std::string& path, std::string_view bytes, const TSafeWriteOptions& options) {
    std::string target = path;
    if (const int error = ResolveLinks(target)) {
        FailWrite(options, path, error);
    }
    const std::string dir = DirectoryOf(target);
    const std::string fileName = FileNameOf(target);

    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;

    std::string tempPath;
    TFd file;
    int error = EEXIST;
    for (int attempt = 0; attempt < MaxTempAttempts && !file.Valid() && error == EEXIST; ++attempt) {
        tempPath = options.TempName ? options.TempName(dir, fileName) : DefaultTempName(dir, fileName);
        file.Reset(open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        error = file.Valid() ? 0 : errno;
    }
    if (!file.Valid()) {
        FailWrite(options, path, error);
    }
    const int fd = file.Get();

    error = WriteAll(fd, bytes, options.FailAfterBytes);
    if (error == 0 && exists) {
        // Group ownership follows the old file where we may set it; the bits always do.
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Not permitted for a file of another owner or group; the new file keeps ours.
        }
        if (fchmod(fd, old.st_mode & 07777) != 0) {
            error = errno;
        }
    }
    if (error == 0 && fsync(fd) != 0) {
        error = errno;
    }
    if (!file.Close() && error == 0) {
        error = errno;
    }
    if (error == 0 && rename(tempPath.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(tempPath.c_str());
        FailWrite(options, path, error);
    }
    SyncDirectory(dir);
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

} // namespace hv

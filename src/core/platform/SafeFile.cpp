#include "platform/SafeFile.h"

#include "Errors.h"

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

std::string SystemMessage(const char* action, const std::string& path, int error) {
    return std::string(action) + " \"" + path + "\": " + std::strerror(error);
}

[[noreturn]] void FailWrite(const TSafeWriteOptions& options, const std::string& path, int error) {
    throw EFileError(options.ErrorMessage.empty() ? SystemMessage("Cannot save", path, error) : options.ErrorMessage);
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
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
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
    int fd = -1;
    int error = EEXIST;
    for (int attempt = 0; attempt < MaxTempAttempts && fd < 0 && error == EEXIST; ++attempt) {
        tempPath = options.TempName ? options.TempName(dir, fileName) : DefaultTempName(dir, fileName);
        fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        error = fd < 0 ? errno : 0;
    }
    if (fd < 0) {
        FailWrite(options, path, error);
    }

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
    if (close(fd) != 0 && error == 0) {
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

TFileReader::TFileReader(const std::string& path) : m_Path(path), m_Fd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (m_Fd < 0) {
        throw EFileError(SystemMessage("Cannot read", path, errno));
    }
}

TFileReader::~TFileReader() {
    close(m_Fd);
}

std::size_t TFileReader::SizeHint() const {
    struct stat st {};
    return fstat(m_Fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

std::size_t TFileReader::Read(char* into, std::size_t max) {
    while (true) {
        const ssize_t n = read(m_Fd, into, max);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            throw EFileError(SystemMessage("Cannot read", m_Path, errno));
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

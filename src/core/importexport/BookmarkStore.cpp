#include "importexport/BookmarkStore.h"

#include "importexport/ImpBookmark.h"
#include "platform/SafeFile.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace hv {

namespace {

// Firefox's database by its name, or any SQLite database by its first bytes.
bool IsSqlite(const std::string& path) {
    if (path == "places.sqlite" || path.ends_with("/places.sqlite")) {
        return true;
    }
    std::ifstream file(path, std::ios::binary);
    std::array<char, 16> header{};
    return file.read(header.data(), header.size()) &&
           std::string_view(header.data(), header.size()) == std::string_view("SQLite format 3\0", 16);
}

} // namespace

std::string ReadStoreFile(const std::string& path) {
    const auto fail = [&path](int error) {
        throw EBookmarkStoreError("ファイル \"" + path + "\" を読み込めません。\n" + std::strerror(error));
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
    }
    std::string content;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        content.reserve(static_cast<std::size_t>(st.st_size));
    }
    std::array<char, 1 << 16> buffer{};
    while (true) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            fail(error);
        }
        if (n == 0) {
            break;
        }
        content.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

TBookmarkTree ReadBookmarkStore(const std::string& path) {
    return IsSqlite(path) ? ReadFirefoxPlaces(path) : ReadChromiumBookmarks(path);
}

TBookmarkImportResult ImportBookmarkStore(const std::string& path, THVFolder& target,
                                          const TBookmarkImportOptions& options) {
    return InsertBookmarkTree(ReadBookmarkStore(path), target, options);
}

std::optional<TBookmarkImportResult> ImportUserBookmarks(const std::string& path, THVFolder& target,
                                                         const TBookmarkImportOptions& options) {
    if (IsSqlite(path)) {
        if (!FileExists(path)) {
            return std::nullopt;
        }
        return ImportBookmarkStore(path, target, options);
    }
    return ImportBookmarkFile(path, target, options);
}

} // namespace hv

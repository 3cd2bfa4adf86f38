#include "importexport/ExpFavorites.h"

#include "importexport/ExpBm.h"
#include "importexport/Shortcut.h"
#include "model/HVFolder.h"
#include "platform/FileDescriptor.h"
#include "platform/UserPrompts.h"
#include "text/Encoding.h"
#include "text/FullWidth.h"
#include "text/TextUtil.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace hv {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUnsafeChars = "\\/:,;*?\"<>|";

std::string Format(std::string_view pattern, const std::string& value) {
    std::string text(pattern);
    text.replace(text.find("%s"), 2, value);
    return text;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// An open directory, closed when dropped.
class TDirFd {
public:
    explicit TDirFd(int fd = -1) : m_Fd(fd) {}
    ~TDirFd() { Reset(); }
    TDirFd(const TDirFd&) = delete;
    TDirFd& operator=(const TDirFd&) = delete;
    int Get() const { return m_Fd; }
    void Reset(int fd = -1) {
        if (m_Fd >= 0) {
            ::close(m_Fd);
        }
        m_Fd = fd;
    }

private:
    int m_Fd;
};

// Creates the first free one of base.url, base(2).url, ... in the directory dirFd (shown as
// dir) and writes the shortcut. The name is claimed by an exclusive create, so an existing file,
// or a link, is never written through.
void WriteShortcut(int dirFd, const std::string& dir, const std::string& base, const std::string& url,
                   std::vector<std::string>& errors) {
    const std::string bytes = BuildShortcutFile(url);
    for (int number = 1;; ++number) {
        const std::string name = (number == 1 ? base : base + "(" + std::to_string(number) + ")") + ".url";
        const std::string osName = EncodeUtf8(name);
        TFd file(::openat(dirFd, osName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!file.Valid() && errno == EEXIST) {
            continue;
        }
        bool ok = file.Valid() && WriteAll(file.Get(), bytes);
        if (file.Valid()) {
            ok = file.Close() && ok;
            if (!ok) {
                ::unlinkat(dirFd, osName.c_str(), 0);
            }
        }
        if (!ok) {
            errors.push_back(Format(kShortcutWriteError, dir + "/" + name));
        }
        return;
    }
}

// The subdirectory name of parentFd, made when missing and opened without following a link.
int OpenSubdirectory(int parentFd, const std::string& name) {
    const std::string osName = EncodeUtf8(name);
    if (::mkdirat(parentFd, osName.c_str(), 0777) != 0 && errno != EEXIST) {
        return -1;
    }
    return ::openat(parentFd, osName.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

} // namespace

std::string SafeFileName(std::string_view raw) {
    // Control characters (NUL included) never reach a file name: a NUL would cut it short.
    std::string name;
    name.reserve(raw.size());
    for (char c : raw) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            name += c;
        }
    }
    if (!name.empty() && name.find_first_not_of('.') == std::string_view::npos) {
        std::string widened;
        for (char c : name) {
            widened += FullWidthAsciiUtf8(c);
        }
        return widened;
    }
    std::string safe;
    safe.reserve(name.size());
    for (char c : name) {
        if (kUnsafeChars.find(c) != std::string_view::npos) {
            safe += FullWidthAsciiUtf8(c);
        } else {
            safe += c;
        }
    }
    return safe;
}

void ClearFavoritesDirectory(const std::string& dir) {
    std::vector<std::pair<fs::path, bool>> stack{{fs::path(EncodeUtf8(dir)), false}};
    // Each directory is visited twice: first to delete its shortcuts and list its
    // subdirectories, then (after them) to remove its subdirectories that became empty.
    while (!stack.empty()) {
        auto [path, done] = stack.back();
        stack.pop_back();
        std::error_code ec;
        if (done) {
            for (fs::directory_iterator it(path, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
                std::error_code linkError;
                if (it->is_directory(linkError) && !it->is_symlink(linkError)) {
                    ::rmdir(it->path().c_str()); // fails, as it should, when something is left in it
                }
            }
            continue;
        }
        stack.emplace_back(path, true);
        for (fs::directory_iterator it(path, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
            std::error_code typeError;
            const bool link = it->is_symlink(typeError);
            const std::string name = it->path().filename().string();
            if (it->is_directory(typeError) && !link) {
                stack.emplace_back(it->path(), false);
            } else if (name.size() >= 4 && AsciiSameText(std::string_view(name).substr(name.size() - 4), ".url") &&
                       !it->is_directory(typeError)) {
                ::unlink(it->path().c_str());
            }
        }
    }
}

std::vector<std::string> ExportFavoritesTree(const THVFolder& source, const std::string& dir) {
    std::vector<std::string> errors;
    // The destination may be a link the user chose, and is made when missing; nothing inside it
    // is followed: each subdirectory is opened from its parent without following a link, and the
    // walk goes back up through "..", so only one directory is open at a time however deep the
    // tree is.
    std::error_code ec;
    fs::create_directories(fs::path(EncodeUtf8(dir)), ec);
    TDirFd current(::open(EncodeUtf8(dir).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (current.Get() < 0) {
        errors.push_back(Format(kFolderCreateError, dir));
        return errors;
    }
    struct TStep {
        const THVFolder* Folder; // null: back up to the parent directory
        std::string Path;
    };
    auto enter = [&](const THVFolder& folder, const std::string& path, std::vector<TStep>& stack) {
        for (const auto& item : folder.List()) {
            WriteShortcut(current.Get(), path, SafeFileName(item->GetName()), item->GetURL(), errors);
        }
        const auto& children = folder.Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            stack.push_back({it->get(), path + "/" + SafeFileName((*it)->Name())});
        }
    };
    std::vector<TStep> stack;
    enter(source, dir, stack);
    while (!stack.empty()) {
        TStep step = std::move(stack.back());
        stack.pop_back();
        if (step.Folder == nullptr) {
            current.Reset(::openat(current.Get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (current.Get() < 0) {
                errors.push_back(Format(kFolderCreateError, step.Path));
                break;
            }
            continue;
        }
        const std::string name = step.Path.substr(step.Path.rfind('/') + 1);
        const int child = OpenSubdirectory(current.Get(), name);
        if (child < 0) {
            errors.push_back(Format(kFolderCreateError, step.Path));
            continue;
        }
        current.Reset(child);
        stack.push_back({nullptr, step.Path.substr(0, step.Path.rfind('/'))});
        enter(*step.Folder, step.Path, stack);
    }
    return errors;
}

bool ExportFavorites(const THVFolder& source, const std::string& dir, bool clear, TUserPrompts& prompts,
                     std::vector<std::string>& errors) {
    errors.clear();
    if (clear) {
        if (!prompts.YesNo(dir + std::string(kClearFavoritesQuestion))) {
            return false;
        }
        ClearFavoritesDirectory(dir);
    }
    errors = ExportFavoritesTree(source, dir);
    prompts.Information(std::string(kExportDone));
    return true;
}

std::optional<std::string> CreateExportSubFolder(const std::string& parent, const std::string& name,
                                                 TUserPrompts& prompts) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find_first_of(kUnsafeChars) != std::string::npos || name.find_first_not_of('.') == std::string::npos) {
        prompts.Warning(std::string(kBadFolderNameChars));
        return std::nullopt;
    }
    const std::string path = parent.empty() || parent.back() != '/' ? parent + "/" + name : parent + name;
    std::error_code ec;
    const std::filesystem::path osPath(EncodeUtf8(path));
    std::filesystem::create_directories(osPath, ec);
    if (!std::filesystem::is_directory(osPath, ec)) {
        prompts.Warning(Format(kFolderCreateError, name));
        return std::nullopt;
    }
    return path;
}

} // namespace hv

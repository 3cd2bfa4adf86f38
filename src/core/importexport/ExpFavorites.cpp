#include "importexport/ExpFavorites.h"

#include "importexport/ExpBm.h"
#include "importexport/Shortcut.h"
#include "model/HVFolder.h"
#include "platform/UserPrompts.h"
#include "text/Encoding.h"
#include "text/FullWidth.h"
#include "text/TextUtil.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
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

// Creates the first free one of base.url, base(2).url, ... in dir and writes the shortcut.
// The name is claimed by an exclusive create, so an existing file is never replaced.
void WriteShortcut(const std::string& dir, const std::string& base, const std::string& url,
                   std::vector<std::string>& errors) {
    const std::string bytes = BuildShortcutFile(url);
    for (int number = 1;; ++number) {
        const std::string path = dir + "/" + (number == 1 ? base : base + "(" + std::to_string(number) + ")") + ".url";
        const std::string osPath = EncodeUtf8(path);
        const int fd = ::open(osPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        bool ok = fd >= 0 && WriteAll(fd, bytes);
        if (fd >= 0) {
            ok = ::close(fd) == 0 && ok;
            if (!ok) {
                ::unlink(osPath.c_str());
            }
        }
        if (!ok) {
            errors.push_back(Format(kShortcutWriteError, path));
        }
        return;
    }
}

bool MakeDirectory(const std::string& path) {
    std::error_code ec;
    const fs::path osPath(EncodeUtf8(path));
    fs::create_directories(osPath, ec);
    return fs::is_directory(osPath, ec);
}

} // namespace

std::string SafeFileName(std::string_view name) {
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
    struct TPending {
        const THVFolder* Folder;
        std::string Path;
        bool Create; // the directory is made (or found) when the folder's turn comes
    };
    std::vector<TPending> stack{{&source, dir, true}}; // a missing destination is made too
    while (!stack.empty()) {
        TPending pending = std::move(stack.back());
        stack.pop_back();
        if (pending.Create && !MakeDirectory(pending.Path)) {
            errors.push_back(Format(kFolderCreateError, pending.Path));
            continue;
        }
        for (const auto& item : pending.Folder->List()) {
            WriteShortcut(pending.Path, SafeFileName(item->GetName()), item->GetURL(), errors);
        }
        const auto& children = pending.Folder->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            stack.push_back({it->get(), pending.Path + "/" + SafeFileName((*it)->Name()), true});
        }
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
    if (!MakeDirectory(path)) {
        prompts.Warning(Format(kFolderCreateError, name));
        return std::nullopt;
    }
    return path;
}

} // namespace hv

#include "platform/LinuxShellLauncher.h"

#include "platform/Process.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace hv {

namespace {

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The directory part of a path that has a '/'.
std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// An absolute form of a relative path, so that a file named "-x" is no option of xdg-open.
std::string Absolute(const std::string& path) {
    if (path.starts_with('/')) {
        return path;
    }
    std::string cwd(4096, '\0');
    while (::getcwd(cwd.data(), cwd.size()) == nullptr) {
        if (errno != ERANGE) {
            return "./" + path;
        }
        cwd.resize(cwd.size() * 2);
    }
    cwd.resize(cwd.find('\0'));
    return cwd + (cwd.ends_with('/') ? "" : "/") + path;
}

} // namespace

bool TLinuxShellLauncher::HasUriScheme(std::string_view text) {
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    auto schemeChar = [&alpha](char c) {
        return alpha(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    };
    if (text.empty() || !alpha(text[0])) {
        return false;
    }
    std::size_t i = 1;
    while (i < text.size() && schemeChar(text[i])) {
        ++i;
    }
    return i >= 2 && i < text.size() && text[i] == ':';
}

int TLinuxShellLauncher::CodeOfXdgOpenExit(int status) {
    switch (status) {
    case 0:
        return kShellOk;
    case 2:
        return kShellFileNotFound;
    case 3:
    case 4:
        return kShellNoAssociation;
    default:
        return kShellOutOfMemory;
    }
}

int TLinuxShellLauncher::CodeOfErrno(int error) {
    switch (error) {
    case 0:
        return kShellOk;
    case ENOENT:
        return kShellFileNotFound;
    case ENOTDIR:
        return kShellPathNotFound;
    case EACCES:
    case EPERM:
        return kShellAccessDenied;
    default:
        return kShellOutOfMemory;
    }
}

std::string TLinuxShellLauncher::SearchPath() const {
    return m_Options.SearchPath ? *m_Options.SearchPath : DefaultSearchPath();
}

int TLinuxShellLauncher::OpenWithXdg(const std::string& target) const {
    const std::optional<std::string> xdgOpen = FindProgram("xdg-open", SearchPath());
    if (!xdgOpen) {
        return kShellNoAssociation;
    }
    const TAwaitResult result = SpawnAndAwait(*xdgOpen, {"xdg-open", target}, m_Options.XdgOpenTimeoutMs);
    switch (result.State) {
    case TAwaitResult::TState::StillRunning:
        return kShellOk;
    case TAwaitResult::TState::Exited:
        return CodeOfXdgOpenExit(result.Value);
    case TAwaitResult::TState::StartFailed:
        return result.Value == ENOENT || result.Value == EACCES || result.Value == ENOTDIR ? kShellNoAssociation
                                                                                           : kShellOutOfMemory;
    case TAwaitResult::TState::Signaled:
        break;
    }
    return kShellOutOfMemory;
}

int TLinuxShellLauncher::Start(const std::string& path, const std::string& argv0, const std::string& parameters) const {
    std::optional<std::vector<std::string>> words = SplitShellWords(parameters);
    if (!words) {
        return kShellOutOfMemory;
    }
    words->insert(words->begin(), argv0);
    const int error = SpawnDetached(path, *words);
    if (error == ENOEXEC) {
        // Executable bits on something that is no program (as on file systems that mark every
        // file executable): open it like any other document.
        return OpenWithXdg(Absolute(path));
    }
    return CodeOfErrno(error);
}

int TLinuxShellLauncher::Execute(const std::string& file, const std::string& parameters) {
    if (HasUriScheme(file)) {
        return OpenWithXdg(file);
    }
    if (file.empty()) {
        return kShellFileNotFound;
    }
    const bool hasSlash = file.find('/') != std::string::npos;
    if (!hasSlash) {
        if (std::optional<std::string> program = FindProgram(file, SearchPath())) {
            return Start(*program, file, parameters);
        }
    }
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        const int error = errno;
        if (error == ENOENT && hasSlash && !IsDirectory(DirectoryOf(file))) {
            return kShellPathNotFound;
        }
        return CodeOfErrno(error);
    }
    if (S_ISREG(st.st_mode) && ::access(file.c_str(), X_OK) == 0) {
        return Start(hasSlash ? file : "./" + file, file, parameters);
    }
    if (!S_ISDIR(st.st_mode) && ::access(file.c_str(), R_OK) != 0) {
        return kShellAccessDenied;
    }
    return OpenWithXdg(Absolute(file));
}

} // namespace hv

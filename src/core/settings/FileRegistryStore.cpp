#include "settings/FileRegistryStore.h"

#include "Errors.h"
#include "platform/SafeFile.h"
#include "platform/SystemError.h"
#include "settings/RegFile.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace hv {

namespace {

// How long a save waits for another copy of the program that is saving at the same moment.
constexpr auto LockPatience = std::chrono::seconds(10);

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return ".";
}

// mkdir -p with mode 0700 for the directories it creates.
void MakeDirectories(const std::string& dir) {
    struct stat st {};
    if (dir.empty() || stat(dir.c_str(), &st) == 0) {
        return;
    }
    const std::string parent = DirectoryOf(dir);
    if (parent != dir) {
        MakeDirectories(parent);
    }
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        throw EFileError("設定のフォルダ \"" + dir + "\" を作れません: " + SystemErrorText(errno));
    }
}

// An exclusive advisory lock on a directory, held for the lifetime of the object. Every copy of
// the program locks the settings directory while it reads, merges and replaces the file (the
// file itself is replaced by a rename, so it cannot carry the lock).
class TDirectoryLock {
public:
    explicit TDirectoryLock(const std::string& dir) {
        m_Fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_Fd < 0) {
            throw EFileError("設定のフォルダ \"" + dir + "\" を開けません: " + SystemErrorText(errno));
        }
        const auto deadline = std::chrono::steady_clock::now() + LockPatience;
        while (flock(m_Fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                continue;
            }
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            close(m_Fd);
            throw EFileError("設定のフォルダ \"" + dir + "\" をロックできません: " + SystemErrorText(error));
        }
    }
    TDirectoryLock(const TDirectoryLock&) = delete;
    TDirectoryLock& operator=(const TDirectoryLock&) = delete;
    ~TDirectoryLock() { close(m_Fd); } // closing releases the lock

private:
    int m_Fd = -1;
};

} // namespace

std::string ConfigDirectory() {
    if (const char* dir = std::getenv("HOLLYVINE_CONFIG_DIR"); dir != nullptr && *dir != '\0') {
        return dir;
    }
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/hollyvine";
    }
    return HomeDirectory() + "/.config/hollyvine";
}

std::string RegistryFilePath() {
    return ConfigDirectory() + "/registry.reg";
}

TFileRegistryStore::TFileRegistryStore(std::string path, TWarningSink warn)
    : m_Path(std::move(path)), m_Warn(std::move(warn)) {
    try {
        std::optional<TDirectoryLock> lock;
        struct stat st {};
        if (stat(DirectoryOf(m_Path).c_str(), &st) == 0) {
            try {
                lock.emplace(DirectoryOf(m_Path));
            } catch (const EFileError&) {
                // Reading needs no lock (the file is only ever replaced whole); a damaged file
                // is then moved aside without one.
            }
        }
        MutableTree() = ReadFile();
    } catch (const EFileError& e) {
        Warn(std::string(e.what()) + " 既定の設定で始めます。");
    }
}

void TFileRegistryStore::Warn(const std::string& message) const {
    if (m_Warn) {
        m_Warn(message);
    } else {
        std::cerr << "hollyvine: " << message << std::endl;
    }
}

TRegistryTree TFileRegistryStore::ReadFile() {
    if (!FileExists(m_Path)) {
        return {};
    }
    const std::string bytes = ReadFileBytes(m_Path);
    try {
        return ParseRegFile(bytes);
    } catch (const ERegFileError& e) {
        const std::string aside = m_Path + ".bad";
        if (std::rename(m_Path.c_str(), aside.c_str()) != 0) {
            throw EFileError("設定ファイル \"" + m_Path + "\" は壊れていますが (" + e.what() + ")、\"" + aside +
                             "\" に移せません: " + SystemErrorText(errno));
        }
        Warn("設定ファイル \"" + m_Path + "\" を読めません (" + e.what() + ")。\"" + aside +
             "\" に移して、既定の設定で始めます。");
        return {};
    }
}

void TFileRegistryStore::Apply(TRegistryTree& tree, const TChange& change) {
    switch (change.Type) {
    case TChange::TType::CreateKey:
        tree.CreateKey(change.Path);
        break;
    case TChange::TType::Write:
        tree.CreateKey(change.Path).SetValue(change.Name, change.Value);
        break;
    case TChange::TType::WriteIfAbsent: {
        TRegKeyNode& key = tree.CreateKey(change.Path);
        if (key.FindValue(change.Name) == nullptr) {
            key.SetValue(change.Name, change.Value);
        }
        break;
    }
    case TChange::TType::DeleteValue:
        if (const TRegKeyNode* key = tree.FindKey(change.Path)) {
            const TRegValue* value = key->FindValue(change.Name);
            if (value != nullptr && *value == change.Value) {
                tree.CreateKey(change.Path).RemoveValue(change.Name);
            }
        }
        break;
    case TChange::TType::DeleteKey:
        tree.DeleteKey(change.Path);
        break;
    }
}

void TFileRegistryStore::CreateKey(std::string_view path) {
    TMemoryRegistryStore::CreateKey(path);
    m_Changes.push_back({TChange::TType::CreateKey, std::string(path), {}, {}});
}

void TFileRegistryStore::WriteValue(std::string_view path, std::string_view name, const TRegValue& value) {
    TMemoryRegistryStore::WriteValue(path, name, value);
    m_Changes.push_back({TChange::TType::Write, std::string(path), std::string(name), value});
}

void TFileRegistryStore::WriteValueIfAbsent(std::string_view path, std::string_view name, const TRegValue& value) {
    TMemoryRegistryStore::WriteValueIfAbsent(path, name, value);
    m_Changes.push_back({TChange::TType::WriteIfAbsent, std::string(path), std::string(name), value});
}

bool TFileRegistryStore::DeleteValue(std::string_view path, std::string_view name) {
    std::optional<TRegValue> seen = ReadValue(path, name);
    if (!seen) {
        return false;
    }
    TMemoryRegistryStore::DeleteValue(path, name);
    m_Changes.push_back({TChange::TType::DeleteValue, std::string(path), std::string(name), std::move(*seen)});
    return true;
}

bool TFileRegistryStore::DeleteKey(std::string_view path) {
    if (!TMemoryRegistryStore::DeleteKey(path)) {
        return false;
    }
    m_Changes.push_back({TChange::TType::DeleteKey, std::string(path), {}, {}});
    return true;
}

void TFileRegistryStore::Flush() {
    const std::string dir = DirectoryOf(m_Path);
    if (!m_Changes.empty()) {
        MakeDirectories(dir);
    } else if (struct stat st{}; stat(dir.c_str(), &st) != 0) {
        return; // nothing to write and nothing to read
    }
    TDirectoryLock lock(dir);
    TRegistryTree tree = ReadFile();
    for (const TChange& change : m_Changes) {
        Apply(tree, change);
    }
    if (!m_Changes.empty()) {
        if (tree.Root().HoldsNoValue()) {
            // Nothing left (after the "/u" clean-up): no file either.
            if (unlink(m_Path.c_str()) != 0 && errno != ENOENT) {
                throw EFileError("設定ファイル \"" + m_Path + "\" を削除できません: " + SystemErrorText(errno));
            }
        } else {
            WriteFileSafely(m_Path, FormatRegFile(tree));
        }
    }
    MutableTree() = std::move(tree);
    m_Changes.clear();
}

} // namespace hv

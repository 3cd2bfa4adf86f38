#include "document/RecentFiles.h"

#include "platform/SafeFile.h"
#include "settings/Settings.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace hv {

namespace {

constexpr char kStoredSeparator = ';';

} // namespace

std::string FullFileName(const std::string& path) {
    namespace fs = std::filesystem;
    if (path.empty()) {
        return path;
    }
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) {
        return path;
    }
    fs::path canonical = fs::weakly_canonical(absolute, ec);
    return (ec ? absolute.lexically_normal() : canonical).string();
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    const bool hasA = stat(a.c_str(), &sa) == 0;
    const bool hasB = stat(b.c_str(), &sb) == 0;
    if (hasA && hasB) {
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    }
    return !hasA && !hasB && FullFileName(a) == FullFileName(b);
}

void TRecentFiles::Add(const std::string& path) {
    for (std::size_t i = m_Items.size(); i-- > 0;) {
        if (!FileExists(m_Items[i]) || SameFile(m_Items[i], path)) {
            m_Items.erase(m_Items.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    m_Items.insert(m_Items.begin(), path);
}

void TRecentFiles::Delete(int index) {
    if (index >= 0 && index < Count()) {
        m_Items.erase(m_Items.begin() + index);
    }
}

void TRecentFiles::DropMissing() {
    std::erase_if(m_Items, [](const std::string& path) { return !FileExists(path); });
}

std::vector<std::string> TRecentFiles::MenuEntries() const {
    const std::size_t count = std::min(m_Items.size(), kRecentFilesShown);
    return {m_Items.begin(), m_Items.begin() + static_cast<std::ptrdiff_t>(count)};
}

std::string TRecentFiles::MenuCaption(const std::string& path, int index) {
    return path + "(&" + std::to_string(index) + ")";
}

std::string TRecentFiles::MenuHint(const std::string& path) {
    return path + " を開きます";
}

std::string TRecentFiles::StoredText() const {
    std::string text;
    for (const std::string& path : MenuEntries()) {
        if (!text.empty()) {
            text += kStoredSeparator;
        }
        text += path;
    }
    return text;
}

void TRecentFiles::SetStoredText(std::string_view text) {
    m_Items.clear();
    while (!text.empty()) {
        const std::size_t sep = text.find(kStoredSeparator);
        if (const std::string_view piece = text.substr(0, sep); !piece.empty()) {
            m_Items.emplace_back(piece);
        }
        text = sep == std::string_view::npos ? std::string_view() : text.substr(sep + 1);
    }
}

std::string StartUpDocumentPath(const std::string& commandLinePath, TSettings* settings, const TRecentFiles& recent) {
    if (!commandLinePath.empty()) {
        struct stat st {};
        if (stat(commandLinePath.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            return FullFileName(commandLinePath);
        }
    }
    if (settings != nullptr && settings->Get(opt::Main::StartWithFile) && recent.Count() > 0) {
        return recent.Items().front();
    }
    return {};
}

void TRecentFiles::Load(TSettings& settings) {
    SetStoredText(settings.Get(opt::Main::RecentFiles));
    DropMissing();
}

void TRecentFiles::Store(TSettings& settings) const {
    settings.Set(opt::Main::RecentFiles, StoredText());
}

} // namespace hv

#include "importexport/DesktopLink.h"

#include "text/Encoding.h"
#include "text/KanjiDetect.h"
#include "text/TextUtil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hv {

namespace {

std::string Unescape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's':
        case 'n':
        case 't':
        case 'r':
            out += ' '; // a value stays on one line
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += value[i];
            break;
        }
    }
    return out;
}

class TFd {
public:
    explicit TFd(int fd) : m_Fd(fd) {}
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    ~TFd() {
        if (m_Fd >= 0) {
            ::close(m_Fd);
        }
    }
    int Get() const { return m_Fd; }

private:
    int m_Fd;
};

} // namespace

std::optional<TDesktopLink> ParseDesktopLink(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    const bool utf8 = IsValidUtf8(bytes);
    bool inEntry = false;
    bool seenEntry = false;
    std::optional<std::string> type, url, name;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = TrimBlanksAndTabs(bytes.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            // Only the first "[Desktop Entry]" group counts.
            inEntry = !seenEntry && line == "[Desktop Entry]";
            seenEntry = seenEntry || inEntry;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inEntry || eq == std::string_view::npos) {
            continue;
        }
        const std::string_view key = TrimBlanksAndTabs(line.substr(0, eq));
        const std::string_view raw = TrimBlanksAndTabs(line.substr(eq + 1));
        auto take = [&](std::optional<std::string>& target) {
            if (!target) {
                target = SanitizeLine(Unescape(utf8 ? DecodeUtf8(raw) : DecodeCp932(raw)));
            }
        };
        if (key == "Type") {
            take(type);
        } else if (key == "URL" || key == "URL[$e]") {
            take(url);
        } else if (key == "Name") {
            take(name);
        }
    }
    if (type != "Link" || !url || url->empty()) {
        return std::nullopt;
    }
    return TDesktopLink{name.value_or(std::string()), *url};
}

std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit) {
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<unsigned long long>(st.st_size) > limit) {
        return std::nullopt;
    }
    std::string bytes(limit + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.Get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    if (got > limit) {
        return std::nullopt; // grew while being read
    }
    bytes.resize(got);
    return bytes;
}

std::optional<TDesktopLink> ReadDesktopLink(const std::string& path) {
    const std::optional<std::string> bytes = ReadSmallFile(path, kLinkFileLimit);
    return bytes ? ParseDesktopLink(*bytes) : std::nullopt;
}

std::optional<TDesktopLink> ReadNamedDesktopLink(const std::string& path) {
    const std::string_view base = std::string_view(path).substr(path.rfind('/') + 1);
    constexpr std::string_view kExtension = ".desktop";
    if (base.size() <= kExtension.size() || !AsciiSameText(base.substr(base.size() - kExtension.size()), kExtension)) {
        return std::nullopt;
    }
    std::optional<TDesktopLink> link = ReadDesktopLink(path);
    if (link && link->Name.empty()) {
        // File names are bytes; the names of this system are UTF-8.
        link->Name = DecodeUtf8(base.substr(0, base.size() - kExtension.size()));
    }
    return link;
}

} // namespace hv

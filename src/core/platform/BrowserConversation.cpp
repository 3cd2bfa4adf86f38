#include "platform/BrowserConversation.h"

#include "platform/BookmarkLocator.h"
#include "platform/FileDescriptor.h"
#include "platform/SafeFile.h"

#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <lz4.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace hv {

namespace {

constexpr std::string_view kMozLz4Magic{"mozLz40\0", 8};
// A session store of more than this is not believed.
// The decompressed store is bounded, and so is its size against the input: an LZ4 block never
// expands more than 255 times, so a header claiming more lies and nothing is allocated for it.
constexpr std::uint32_t kMaxSessionSize = 64u * 1024u * 1024u;
constexpr std::uint64_t kMaxLz4Ratio = 255;

using TJson = nlohmann::json;

std::optional<std::string> TextOf(const TJson& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) {
        return std::nullopt;
    }
    return it->get<std::string>();
}

// element index (1-based, as the session store counts) of array, or nullptr.
const TJson* Nth(const TJson& object, const char* key, const TJson& index) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_array() || !index.is_number_integer()) {
        return nullptr;
    }
    const auto n = index.get<std::int64_t>();
    if (n < 1 || static_cast<std::uint64_t>(n) > it->size()) {
        return nullptr;
    }
    const TJson& element = (*it)[static_cast<std::size_t>(n - 1)];
    return element.is_object() ? &element : nullptr;
}

// Waits until fd is ready for events or the deadline passes.
bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) {
            return false;
        }
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, static_cast<int>(left));
        if (n > 0) {
            return true;
        }
        if (n < 0 && errno != EINTR) {
            return false;
        }
    }
}

} // namespace

TBrowserConversation::~TBrowserConversation() = default;

std::string FormatBrowserAnswer(std::string_view url, std::string_view title) {
    std::string text = "\"";
    text += url;
    text += "\",\"";
    text += title;
    text += '"';
    return text;
}

std::optional<std::string> DecodeMozLz4(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 8) != kMozLz4Magic) {
        return std::nullopt;
    }
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i) {
        size = (size << 8) | static_cast<unsigned char>(bytes[8 + static_cast<std::size_t>(i)]);
    }
    const std::uint64_t block = bytes.size() - 12;
    if (size > kMaxSessionSize || size > block * kMaxLz4Ratio + 16 || block > static_cast<std::size_t>(INT32_MAX)) {
        return std::nullopt;
    }
    std::string out(size, '\0');
    const int n =
        LZ4_decompress_safe(bytes.data() + 12, out.data(), static_cast<int>(bytes.size() - 12), static_cast<int>(size));
    if (n < 0) {
        return std::nullopt;
    }
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::optional<std::string> SessionStoreAnswer(std::string_view json) {
    const TJson root = TJson::parse(json, nullptr, false);
    if (!root.is_object()) {
        return std::nullopt;
    }
    const TJson* window = Nth(root, "windows", root.value("selectedWindow", TJson()));
    const TJson* tab = window != nullptr ? Nth(*window, "tabs", window->value("selected", TJson())) : nullptr;
    const TJson* entry = tab != nullptr ? Nth(*tab, "entries", tab->value("index", TJson())) : nullptr;
    if (entry == nullptr) {
        return std::nullopt;
    }
    const auto url = TextOf(*entry, "url");
    if (!url) {
        return std::nullopt;
    }
    return FormatBrowserAnswer(*url, TextOf(*entry, "title").value_or(std::string()));
}

std::optional<std::string> DebuggerListAnswer(std::string_view json) {
    const TJson list = TJson::parse(json, nullptr, false);
    if (!list.is_array()) {
        return std::nullopt;
    }
    for (const TJson& entry : list) {
        if (entry.is_object() && TextOf(entry, "type") == "page") {
            if (const auto url = TextOf(entry, "url")) {
                return FormatBrowserAnswer(*url, TextOf(entry, "title").value_or(std::string()));
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> LoopbackHttpGet(int port, std::string_view path, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    TFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.Get() < 0 || port <= 0 || port > 65535) {
        return std::nullopt;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS || !WaitFor(socket.Get(), POLLOUT, deadline)) {
            return std::nullopt;
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            return std::nullopt;
        }
    }
    std::string request = "GET " + std::string(path) + " HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(port) +
                          "\r\nConnection: close\r\n\r\n";
    std::string_view rest = request;
    while (!rest.empty()) {
        if (!WaitFor(socket.Get(), POLLOUT, deadline)) {
            return std::nullopt;
        }
        const ssize_t n = ::send(socket.Get(), rest.data(), rest.size(), MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        }
        if (n <= 0) {
            return std::nullopt;
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    constexpr std::size_t kMaxResponse = 16u * 1024u * 1024u;
    std::string response;
    char buffer[4096];
    for (;;) {
        if (!WaitFor(socket.Get(), POLLIN, deadline)) {
            return std::nullopt;
        }
        const ssize_t n = ::recv(socket.Get(), buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        }
        if (n < 0 || response.size() > kMaxResponse) {
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        response.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t headerEnd = response.find("\r\n\r\n");
    const std::size_t space = response.find(' ');
    if (headerEnd == std::string::npos || space == std::string::npos || response.compare(space + 1, 3, "200") != 0) {
        return std::nullopt;
    }
    return response.substr(headerEnd + 4);
}

std::optional<std::string> TLinuxBrowserConversation::Request(std::string_view service, std::string_view topic,
                                                              std::string_view /*item*/) {
    if (topic != "WWW_GetWindowInfo") {
        return std::nullopt;
    }
    try {
        if (service == "IExplore") {
            const auto body = LoopbackHttpGet(m_DebugPort, "/json/list", m_TimeoutMs);
            return body ? DebuggerListAnswer(*body) : std::nullopt;
        }
        if (service == "Netscape") {
            for (const std::string& profile : FindMozillaProfiles(m_Home)) {
                const std::string path = profile + "/sessionstore-backups/recovery.jsonlz4";
                if (FileExists(path)) {
                    const auto json = DecodeMozLz4(ReadFileBytes(path));
                    return json ? SessionStoreAnswer(*json) : std::nullopt;
                }
            }
        }
    } catch (const std::exception&) {
        // Whatever went wrong, this browser simply gave no answer.
    }
    return std::nullopt;
}

} // namespace hv

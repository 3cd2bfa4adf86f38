#pragma once

#include <optional>
#include <string>
#include <string_view>

// The conversations that ask a running browser which page it shows. A conversation is named by
// a service and a topic and answers a requested item with text, or gives no answer.
namespace hv {

class TBrowserConversation {
public:
    virtual ~TBrowserConversation();
    // The answer text, or nullopt when nothing answered. Never throws.
    virtual std::optional<std::string> Request(std::string_view service, std::string_view topic,
                                               std::string_view item) = 0;
};

// The answer text for a page: double quote, URL, double quote, comma, double quote, title,
// double quote.
std::string FormatBrowserAnswer(std::string_view url, std::string_view title);

// The JSON of a mozLz4 file ("mozLz40\0", a 4-byte little-endian size, an LZ4 block); nullopt
// when the bytes are not one.
std::optional<std::string> DecodeMozLz4(std::string_view bytes);

// The answer for a Mozilla session store (JSON): the selected tab of the selected window, its
// current history entry; nullopt when the data has no such entry.
std::optional<std::string> SessionStoreAnswer(std::string_view json);

// The answer for the page list of a Chromium remote-debugging endpoint (JSON): the first entry
// of type "page"; nullopt when there is none.
std::optional<std::string> DebuggerListAnswer(std::string_view json);

// The body of "GET path" from an HTTP server on 127.0.0.1:port, when it answers 200 within
// timeoutMs milliseconds in all; nullopt otherwise.
std::optional<std::string> LoopbackHttpGet(int port, std::string_view path, int timeoutMs);

// The conversations of a Linux desktop: service "Netscape" reads the session store of the
// default Mozilla-family profile below home ("sessionstore-backups/recovery.jsonlz4"); service
// "IExplore" asks the remote-debugging endpoint of a Chromium-family browser on 127.0.0.1.
// Both answer only the topic "WWW_GetWindowInfo".
class TLinuxBrowserConversation final : public TBrowserConversation {
public:
    explicit TLinuxBrowserConversation(std::string home, int debugPort = 9222, int timeoutMs = 2000)
        : m_Home(std::move(home)), m_DebugPort(debugPort), m_TimeoutMs(timeoutMs) {}
    std::optional<std::string> Request(std::string_view service, std::string_view topic,
                                       std::string_view item) override;

private:
    std::string m_Home;
    int m_DebugPort;
    int m_TimeoutMs;
};

} // namespace hv

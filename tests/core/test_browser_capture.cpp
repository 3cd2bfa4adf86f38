#include "FakePrompts.h"
#include "TempDir.h"
#include "importexport/ImpBrowser.h"
#include "model/HVFolder.h"
#include "platform/BrowserConversation.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <filesystem>
#include <fstream>
#include <lz4.h>
#include <map>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace hv {
namespace {

struct TParseCase {
    const char* Label;
    std::string Text;
    std::string Url;
    std::string Title;
};

class BrowserAnswerTest : public ::testing::TestWithParam<TParseCase> {};

TEST_P(BrowserAnswerTest, Parses) {
    const TBrowserAnswer answer = ParseBrowserAnswer(GetParam().Text);
    EXPECT_TRUE(answer.Found);
    EXPECT_EQ(answer.URL, GetParam().Url);
    EXPECT_EQ(answer.Title, GetParam().Title);
}

INSTANTIATE_TEST_SUITE_P(Answers, BrowserAnswerTest,
                         ::testing::Values(TParseCase{"CommaInTitle", "\"x.htm\",\"Page, one\"", "x.htm", "Page, one"},
                                           TParseCase{"MoreFields", "\"u\",\"t\",\"more\"", "u", "t"},
                                           TParseCase{"Backslashes", "\"a\\b\",\"c\\\"d\"", "ab", "c"},
                                           TParseCase{"Kanji", "\"u\",\"\xE6\xBC\xA2\"", "u", "\xE6\xBC\xA2"},
                                           TParseCase{"Empty", "", "", ""}),
                         [](const auto& info) { return info.param.Label; });

class TScriptedConversation final : public TBrowserConversation {
public:
    std::map<std::string, std::string, std::less<>> Answers;
    std::optional<std::string> Request(std::string_view service, std::string_view topic,
                                       std::string_view item) override {
        EXPECT_EQ(topic, "WWW_GetWindowInfo");
        EXPECT_EQ(item, "0xFFFFFFFF");
        const auto it = Answers.find(service);
        return it == Answers.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

TEST(BrowserCapture, ChoosesWithoutTheDialog) {
    TScriptedConversation onlyNN;
    onlyNN.Answers["Netscape"] = "\"n\",\"N\"";
    THVFolder folder("f");
    test::TFakePrompts prompts;
    ASSERT_NE(CaptureBrowserPage(folder, onlyNN, false, prompts), nullptr);
    EXPECT_EQ(folder.List().Items(0)->GetURL(), "n");

    TScriptedConversation onlyIE;
    onlyIE.Answers["IExplore"] = "\"i\",\"I\"";
    // Netscape preferred but silent: the page the other browser shows is taken all the same.
    ASSERT_NE(CaptureBrowserPage(folder, onlyIE, true, prompts), nullptr);
    ASSERT_NE(CaptureBrowserPage(folder, onlyIE, false, prompts), nullptr);
    EXPECT_EQ(folder.List().Items(2)->GetName(), "I~1");
    EXPECT_TRUE(prompts.Records.empty());

    TScriptedConversation none;
    EXPECT_EQ(CaptureBrowserPage(folder, none, false, prompts), nullptr);
    EXPECT_EQ(prompts.Only().Text, "ブラウザが見つかりません。URL を取得できません。");
}

std::string MozLz4(const std::string& json) {
    std::string block(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(json.size()))), '\0');
    const int n =
        LZ4_compress_default(json.data(), block.data(), static_cast<int>(json.size()), static_cast<int>(block.size()));
    std::string bytes("mozLz40\0", 8);
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((json.size() >> (8 * i)) & 0xFF);
    }
    return bytes + block.substr(0, static_cast<std::size_t>(n));
}

TEST(SessionStore, AnswersTheSelectedTabsCurrentEntry) {
    const std::string json =
        R"({"selectedWindow":2,"windows":[{"selected":1,"tabs":[]},)"
        R"({"selected":2,"tabs":[{"index":1,"entries":[{"url":"x"}]},)"
        R"({"index":2,"entries":[{"url":"old","title":"Old"},{"url":"http://p/","title":"Page, one"}]}]}]})";
    const auto decoded = DecodeMozLz4(MozLz4(json));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(SessionStoreAnswer(*decoded), "\"http://p/\",\"Page, one\"");
}

TEST(SessionStore, BadDataOrASizeTheDataCannotHoldGivesNoAnswer) {
    EXPECT_FALSE(DecodeMozLz4("mozLz40"));
    EXPECT_FALSE(DecodeMozLz4(std::string("mozLz40\0\x10\0\0\0garbage!", 20)));
    EXPECT_FALSE(SessionStoreAnswer("{not json"));
    EXPECT_FALSE(SessionStoreAnswer(R"({"selectedWindow":3,"windows":[]})"));
    EXPECT_FALSE(SessionStoreAnswer(R"({"selectedWindow":1,"windows":[{"selected":"1"}]})"));
    // 12 bytes claiming 256 MB, and a small store claiming 100 MB: nothing is allocated for them.
    EXPECT_FALSE(DecodeMozLz4(std::string("mozLz40\0\0\0\0\x10", 12)));
    std::string lying = MozLz4(R"({"windows":[]})");
    lying[11] = '\x06';
    EXPECT_FALSE(DecodeMozLz4(lying));
    // The most compressible store there is still reads.
    const std::string spaces = "{" + std::string(4u << 20, ' ') + "}";
    const auto decoded = DecodeMozLz4(MozLz4(spaces));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->size(), spaces.size());
}

TEST(SessionStore, ConversationReadsTheDefaultProfile) {
    const test::TTempDir temp("home");
    const std::filesystem::path& home = temp.Path();
    const auto profile = home / ".mozilla/firefox/abc.default";
    std::filesystem::create_directories(profile / "sessionstore-backups");
    std::ofstream(home / ".mozilla/firefox/profiles.ini") << "[Profile0]\nPath=abc.default\nDefault=1\n";
    std::ofstream(profile / "sessionstore-backups/recovery.jsonlz4", std::ios::binary) << MozLz4(
        R"({"selectedWindow":1,"windows":[{"selected":1,"tabs":[{"index":1,"entries":[{"url":"u","title":"t"}]}]}]})");
    TLinuxBrowserConversation conversation(home.string(), 0, 200);
    EXPECT_EQ(conversation.Request("Netscape", "WWW_GetWindowInfo", "0xFFFFFFFF"), "\"u\",\"t\"");
    EXPECT_FALSE(conversation.Request("IExplore", "WWW_GetWindowInfo", "0xFFFFFFFF"));
}

// A one-shot HTTP server on an ephemeral loopback port; it answers the first connection and stops.
class TFakeEndpoint {
public:
    explicit TFakeEndpoint(std::string response) {
        m_Listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_Listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(m_Listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_Port = ntohs(address.sin_port);
        ::listen(m_Listener, 1);
        m_Thread = std::thread([this, response = std::move(response)] {
            const int client = ::accept(m_Listener, nullptr, nullptr);
            if (client < 0) {
                return;
            }
            char buffer[1024];
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            m_Request.assign(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
            if (!response.empty()) {
                ::send(client, response.data(), response.size(), MSG_NOSIGNAL);
            } else {
                ::usleep(500000); // says nothing: the client must give up by itself
            }
            ::close(client);
        });
    }
    ~TFakeEndpoint() {
        ::shutdown(m_Listener, SHUT_RDWR);
        m_Thread.join();
        ::close(m_Listener);
    }
    int Port() const { return m_Port; }
    std::string m_Request;

private:
    int m_Listener = -1;
    int m_Port = 0;
    std::thread m_Thread;
};

TEST(DebuggerEndpoint, AnswersTheFirstPage) {
    const std::string body = R"([{"type":"iframe","url":"f"},{"type":"page","url":"http://p/","title":"P"},)"
                             R"({"type":"page","url":"second"}])";
    std::string answer;
    {
        TFakeEndpoint endpoint("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n\r\n" + body);
        TLinuxBrowserConversation conversation("/nonexistent", endpoint.Port(), 2000);
        answer = conversation.Request("IExplore", "WWW_GetWindowInfo", "0xFFFFFFFF").value_or("<none>");
        EXPECT_TRUE(endpoint.m_Request.starts_with("GET /json/list HTTP/1.0\r\n"));
    }
    EXPECT_EQ(answer, "\"http://p/\",\"P\"");
}

TEST(DebuggerEndpoint, SilentOrFailingServerGivesNoAnswer) {
    {
        TFakeEndpoint endpoint("HTTP/1.1 404 Not Found\r\n\r\n[]");
        EXPECT_FALSE(LoopbackHttpGet(endpoint.Port(), "/json/list", 2000));
    }
    {
        TFakeEndpoint endpoint("");
        EXPECT_FALSE(LoopbackHttpGet(endpoint.Port(), "/json/list", 100));
    }
    EXPECT_FALSE(DebuggerListAnswer(R"([{"type":"page"}])"));
    EXPECT_FALSE(DebuggerListAnswer("{}"));
}

} // namespace
} // namespace hv

#include "settings/FontQuery.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace hv {

namespace {

constexpr std::string_view MemoFontPrefix = "00,09,";
constexpr std::string_view FirstMemoFont = "MS UI Gothic";
constexpr std::string_view SecondMemoFont = "ＭＳ Ｐゴシック";
constexpr std::string_view FallbackUiFamily = "Sans Serif";
// fc-list may have to build its cache on a first run; beyond this it is given up.
constexpr int AnswerTimeoutMs = 5000;

// Runs a program found on PATH with the given arguments (no shell) and returns what it wrote
// to standard output, or nothing when it could not run, failed or took too long.
std::optional<std::string> RunForOutput(const std::vector<std::string>& args) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return std::nullopt;
    }
    std::string output;
    bool timedOut = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(AnswerTimeoutMs);
    while (true) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd fd{pipeFds[0], POLLIN, 0};
        const int ready = left.count() > 0 ? poll(&fd, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            timedOut = true;
            break;
        }
        char buffer[4096];
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    if (timedOut) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

} // namespace

TFontQuery::~TFontQuery() = default;

bool TFontconfigQuery::IsInstalled(std::string_view family) const {
    // fontconfig compares family names without regard to case, under every name a font
    // carries (a Japanese font answers to its Japanese name too). In a pattern "\", "-", ":"
    // and "," are special and are escaped.
    std::string pattern = ":family=";
    for (char c : family) {
        if (c == '\\' || c == '-' || c == ':' || c == ',') {
            pattern += '\\';
        }
        pattern += c;
    }
    const std::optional<std::string> output = RunForOutput({"fc-list", pattern, "family"});
    return output && output->find_first_not_of(" \t\r\n") != std::string::npos;
}

std::string TFontconfigQuery::DefaultUiFamily() const {
    const std::optional<std::string> output = RunForOutput({"fc-match", "-f", "%{family[0]}", "sans-serif"});
    if (!output) {
        return std::string(FallbackUiFamily);
    }
    std::string family = *output;
    while (!family.empty() && (family.back() == '\n' || family.back() == '\r' || family.back() == ' ')) {
        family.pop_back();
    }
    return family.empty() ? std::string(FallbackUiFamily) : family;
}

std::string MemoFontDefault(const TFontQuery& fonts) {
    for (std::string_view family : {FirstMemoFont, SecondMemoFont}) {
        if (fonts.IsInstalled(family)) {
            return std::string(MemoFontPrefix) + std::string(family);
        }
    }
    return std::string(MemoFontPrefix) + fonts.DefaultUiFamily();
}

} // namespace hv

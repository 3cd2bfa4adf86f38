#include "platform/Process.h"

#include "platform/FileDescriptor.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hv {

namespace {

// What a child reports through the status pipe: one record, written at once (below PIPE_BUF).
struct TChildRecord {
    std::int32_t Kind;  // kExecFailed or kEnded
    std::int32_t Value; // errno, or the wait status
};
constexpr std::int32_t kExecFailed = 1;
constexpr std::int32_t kEnded = 2;

struct TPipe {
    TFd Read;
    TFd Write;
};

bool MakePipe(TPipe& pipe) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    pipe.Read.Reset(fds[0]);
    pipe.Write.Reset(fds[1]);
    return true;
}

// argv as the exec functions take it; the strings must outlive it.
std::vector<char*> ArgvOf(const std::vector<std::string>& argv) {
    std::vector<char*> result;
    result.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        result.push_back(const_cast<char*>(arg.c_str()));
    }
    result.push_back(nullptr);
    return result;
}

// ForkInChild, WriteRecord, SetDefaultAction, MoveFd, ExecChild and WaitFor also run in children
// between fork and exec, so they call only async-signal-safe functions (the parent may have
// other threads, whose locks the child inherits held).

// fork() for a child of a possibly multi-threaded parent: no fork handlers, no locks taken.
pid_t ForkInChild() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    return ::_Fork();
#else
    return ::fork();
#endif
}

void WriteRecord(int fd, std::int32_t kind, std::int32_t value) {
    const TChildRecord record{kind, value};
    while (::write(fd, &record, sizeof record) < 0 && errno == EINTR) {
    }
}

void SetDefaultAction(int signal) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    ::sigaction(signal, &action, nullptr);
}

void MoveFd(int from, int to) {
    if (from < 0) {
        return;
    }
    if (from == to) {
        ::fcntl(to, F_SETFD, 0); // keep it open across exec
    } else {
        ::dup2(from, to);
    }
}

// Prepares the child's signals and standard streams and executes path; reports a failure on
// statusFd and ends the child.
[[noreturn]] void ExecChild(const char* path, char* const* argv, int stdinFd, int stdoutFd, int stderrFd,
                            int statusFd) {
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    SetDefaultAction(SIGPIPE);
    SetDefaultAction(SIGCHLD);
    MoveFd(stdinFd, STDIN_FILENO);
    MoveFd(stdoutFd, STDOUT_FILENO);
    MoveFd(stderrFd, STDERR_FILENO);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // Descriptors the parent left inheritable do not leak into the program.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
    ::execv(path, argv);
    WriteRecord(statusFd, kExecFailed, errno);
    ::_exit(127);
}

// Waits for a child of this process, retrying on interruption; false when there is none.
bool WaitFor(pid_t pid, int* status) {
    for (;;) {
        if (::waitpid(pid, status, 0) == pid) {
            return true;
        }
        if (errno != EINTR) {
            return false; // e.g. SIGCHLD ignored by the process: the child was reaped already
        }
    }
}

// Reads one child record; false at the end of the pipe without one.
bool ReadRecord(int fd, TChildRecord& record) {
    for (;;) {
        const ssize_t n = ::read(fd, &record, sizeof record);
        if (n == static_cast<ssize_t>(sizeof record)) {
            return true;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return false;
    }
}

// Waits until fd is readable (or closed) for at most timeoutMs; false on timeout.
bool PollReadable(int fd, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready > 0) {
            return true;
        }
        if (ready == 0) {
            return false;
        }
        if (errno != EINTR) {
            return true; // let the read find out
        }
    }
}

TFd OpenDevNull() {
    return TFd(::open("/dev/null", O_RDWR | O_CLOEXEC));
}

} // namespace

std::string DefaultSearchPath() {
    const char* path = std::getenv("PATH");
    return path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
}

std::optional<std::string> FindProgram(std::string_view name, std::string_view searchPath) {
    auto executable = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
    };
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string_view::npos) {
        std::string path(name);
        return executable(path) ? std::optional(path) : std::nullopt;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = searchPath.find(':', start);
        std::string dir(searchPath.substr(start, colon == std::string_view::npos ? colon : colon - start));
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + std::string(name);
        if (executable(candidate)) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        start = colon + 1;
    }
}

int SpawnDetached(const std::string& path, const std::vector<std::string>& argv) {
    std::vector<char*> args = ArgvOf(argv);
    TPipe status;
    if (!MakePipe(status)) {
        return errno;
    }
    TFd devNull = OpenDevNull();
    const pid_t intermediate = ::fork();
    if (intermediate < 0) {
        return errno;
    }
    if (intermediate == 0) {
        // The intermediate process starts the program and ends at once, so the program is
        // handed to init and never becomes our zombie.
        ::setsid();
        const pid_t child = ForkInChild();
        if (child == 0) {
            ExecChild(path.c_str(), args.data(), devNull.Get(), -1, -1, status.Write.Get());
        }
        if (child < 0) {
            WriteRecord(status.Write.Get(), kExecFailed, errno);
        }
        ::_exit(0);
    }
    status.Write.Close();
    int ignored = 0;
    WaitFor(intermediate, &ignored);
    // The pipe closes on a successful exec (close-on-exec) or carries the failure.
    TChildRecord record{};
    if (ReadRecord(status.Read.Get(), record) && record.Kind == kExecFailed) {
        return record.Value != 0 ? record.Value : EIO;
    }
    return 0;
}

TAwaitResult SpawnAndAwait(const std::string& path, const std::vector<std::string>& argv, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<char*> args = ArgvOf(argv);
    TPipe status;
    if (!MakePipe(status)) {
        return {TAwaitResult::TState::StartFailed, errno};
    }
    TFd devNull = OpenDevNull();
    const pid_t intermediate = ::fork();
    if (intermediate < 0) {
        return {TAwaitResult::TState::StartFailed, errno};
    }
    if (intermediate == 0) {
        // intermediate -> monitor -> program. The intermediate ends at once, so the monitor
        // belongs to init; the monitor waits for the program and reports how it ended. When we
        // stopped listening, its report goes nowhere (SIGPIPE ignored) and it ends quietly.
        ::setsid();
        const pid_t monitor = ForkInChild();
        if (monitor == 0) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            ::sigaction(SIGPIPE, &ignore, nullptr);
            SetDefaultAction(SIGCHLD);
            const pid_t child = ForkInChild();
            if (child == 0) {
                ExecChild(path.c_str(), args.data(), devNull.Get(), -1, -1, status.Write.Get());
            }
            if (child < 0) {
                WriteRecord(status.Write.Get(), kExecFailed, errno);
                ::_exit(0);
            }
            int childStatus = 0;
            if (WaitFor(child, &childStatus)) {
                WriteRecord(status.Write.Get(), kEnded, childStatus);
            }
            ::_exit(0);
        }
        if (monitor < 0) {
            WriteRecord(status.Write.Get(), kExecFailed, errno);
        }
        ::_exit(0);
    }
    status.Write.Close();
    int ignored = 0;
    WaitFor(intermediate, &ignored);

    if (!PollReadable(status.Read.Get(), deadline)) {
        return {TAwaitResult::TState::StillRunning, 0};
    }
    TChildRecord record{};
    if (!ReadRecord(status.Read.Get(), record)) {
        return {TAwaitResult::TState::StartFailed, EIO}; // the monitor vanished
    }
    if (record.Kind == kExecFailed) {
        return {TAwaitResult::TState::StartFailed, record.Value};
    }
    if (WIFEXITED(record.Value)) {
        return {TAwaitResult::TState::Exited, WEXITSTATUS(record.Value)};
    }
    return {TAwaitResult::TState::Signaled, WIFSIGNALED(record.Value) ? WTERMSIG(record.Value) : 0};
}

TCapturedRun RunCaptured(const std::string& path, const std::vector<std::string>& argv, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    TCapturedRun result;
    std::vector<char*> args = ArgvOf(argv);
    TPipe status;
    TPipe output;
    if (!MakePipe(status) || !MakePipe(output)) {
        result.StartErrno = errno;
        return result;
    }
    TFd devNull = OpenDevNull();
    const pid_t child = ::fork();
    if (child < 0) {
        result.StartErrno = errno;
        return result;
    }
    if (child == 0) {
        ExecChild(path.c_str(), args.data(), devNull.Get(), output.Write.Get(), devNull.Get(), status.Write.Get());
    }
    status.Write.Close();
    output.Write.Close();

    TChildRecord record{};
    if (ReadRecord(status.Read.Get(), record) && record.Kind == kExecFailed) {
        int ignored = 0;
        WaitFor(child, &ignored);
        result.StartErrno = record.Value != 0 ? record.Value : EIO;
        return result;
    }
    char buffer[4096];
    for (;;) {
        if (!PollReadable(output.Read.Get(), deadline)) {
            result.TimedOut = true;
            ::kill(child, SIGKILL);
            break;
        }
        const ssize_t n = ::read(output.Read.Get(), buffer, sizeof buffer);
        if (n > 0) {
            result.Output.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    // The program may go on after closing its output; it gets the rest of the time.
    int childStatus = 0;
    bool reaped = false;
    while (!result.TimedOut) {
        const pid_t done = ::waitpid(child, &childStatus, WNOHANG);
        if (done == child || (done < 0 && errno != EINTR)) {
            reaped = done == child;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            result.TimedOut = true;
            ::kill(child, SIGKILL);
            break;
        }
        ::usleep(5000);
    }
    if (!reaped) {
        reaped = WaitFor(child, &childStatus);
    }
    if (reaped && !result.TimedOut && WIFEXITED(childStatus)) {
        result.Exited = true;
        result.ExitCode = WEXITSTATUS(childStatus);
    }
    return result;
}

} // namespace hv

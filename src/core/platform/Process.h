#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Starting programs without a shell. Every function here leaves no zombie behind: children are
// either waited for or handed to init through an intermediate process that ends at once.

namespace hv {

// The directories programs are searched in: $PATH, or "/usr/local/bin:/usr/bin:/bin" when unset.
std::string DefaultSearchPath();

// The path of an executable regular file: name itself when it contains '/', else the first
// match in the directories of searchPath (an empty entry is the working directory).
std::optional<std::string> FindProgram(std::string_view name, std::string_view searchPath);

// Starts path with argv (argv[0] included) in a session of its own, with standard input from
// /dev/null, and does not wait for it. Returns 0 once the program runs, else the errno of the
// failed start (exec, fork).
int SpawnDetached(const std::string& path, const std::vector<std::string>& argv);

// How a program ended, or that it did not within the time given.
struct TAwaitResult {
    enum class TState {
        Exited,       // Value: exit status
        Signaled,     // Value: the signal
        StartFailed,  // Value: errno
        StillRunning, // left running, in a session of its own
    };
    TState State = TState::StartFailed;
    int Value = 0;
};

// Starts path with argv like SpawnDetached and waits at most timeoutMs for it to end.
TAwaitResult SpawnAndAwait(const std::string& path, const std::vector<std::string>& argv, int timeoutMs);

// The standard output and end of a program that ran to its end (standard error is dropped).
struct TCapturedRun {
    int StartErrno = 0; // non-zero: the program did not start
    bool TimedOut = false;
    bool Exited = false;
    int ExitCode = -1;
    std::string Output;

    bool Succeeded() const { return StartErrno == 0 && !TimedOut && Exited && ExitCode == 0; }
};

// Runs path with argv and collects its output; a program still running after timeoutMs is
// killed.
TCapturedRun RunCaptured(const std::string& path, const std::vector<std::string>& argv, int timeoutMs);

} // namespace hv

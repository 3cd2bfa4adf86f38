#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

// Results of shell execution carry the numbers the Windows shell gives, because the launch
// message shows them: 32 and above is success, below it an error code.
inline constexpr int kShellOk = 42;
inline constexpr int kShellFileNotFound = 2;
inline constexpr int kShellPathNotFound = 3;
inline constexpr int kShellAccessDenied = 5;
inline constexpr int kShellOutOfMemory = 8; // every other failure
inline constexpr int kShellNoAssociation = 31;

constexpr bool ShellSucceeded(int code) {
    return code >= 32;
}

// Hands a file, program or address to the system, as the shell's "open" does.
class TShellLauncher {
public:
    virtual ~TShellLauncher();
    // Opens file with the default program, or starts it with parameters when it is a program;
    // parameters are ignored for anything that is not started directly. Returns a code as
    // above; never waits for a started program to end.
    virtual int Execute(const std::string& file, const std::string& parameters) = 0;
};

// Splits parameters into words as a POSIX shell does, without expanding anything: blanks, tabs
// and line breaks separate words; '...' keeps everything literally; "..." keeps everything
// but a backslash before $ ` " \ or a line break; a backslash outside quotes keeps the next
// character (a backslash-newline pair vanishes; a backslash at the very end stays).
// $, ;, |, *, ~ and the like are plain characters. nullopt when a quote is not closed.
std::optional<std::vector<std::string>> SplitShellWords(std::string_view parameters);

} // namespace hv

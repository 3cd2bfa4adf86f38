#pragma once

#include "platform/ShellLauncher.h"

#include <optional>
#include <string>
#include <string_view>

namespace hv {

// Shell execution on a Linux desktop, without a shell:
// - a URI ("http:", "mailto:", "file:", ... a scheme of two or more characters), an existing
//   directory, or an existing file that is not executable goes to xdg-open (parameters are not
//   passed), whose end is awaited for at most XdgOpenTimeoutMs; later counts as success and it
//   is left running;
// - an executable file (a path, or a name found on the search path, else in the working
//   directory) is started directly with the parameters split by SplitShellWords, detached: a
//   failed start is reported, the program is never awaited; a file the system cannot execute
//   (no program format) goes to xdg-open after all.
// Codes: missing file or program 2, missing directory on the way 3, permission denied 5,
// xdg-open exit 2 gives 2, exit 3 or 4 or no usable xdg-open gives 31, anything else 8.
class TLinuxShellLauncher final : public TShellLauncher {
public:
    struct TOptions {
        // Where programs and xdg-open are looked for; nullopt: $PATH.
        std::optional<std::string> SearchPath;
        int XdgOpenTimeoutMs = 3000;
    };

    TLinuxShellLauncher() = default;
    explicit TLinuxShellLauncher(TOptions options) : m_Options(std::move(options)) {}

    int Execute(const std::string& file, const std::string& parameters) override;

    // Whether text begins with a URI scheme: a letter, then letters, digits, '+', '-' or '.',
    // at least two characters in all (so "C:\..." is a path), then ':'.
    static bool HasUriScheme(std::string_view text);
    // The code of an xdg-open exit status.
    static int CodeOfXdgOpenExit(int status);
    // The code of a failed start or a failed look-up of a file.
    static int CodeOfErrno(int error);

private:
    std::string SearchPath() const;
    int OpenWithXdg(const std::string& target) const;
    int Start(const std::string& path, const std::string& argv0, const std::string& parameters) const;

    TOptions m_Options;
};

} // namespace hv

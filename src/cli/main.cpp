#include "Command.h"
#include "document/HVDocument.h"

#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

// A line from the terminal with echo turned off, so a typed password is not shown.
bool ReadLineWithoutEcho(std::string& line) {
    termios saved{};
    const bool canHide = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (canHide) {
        termios hidden = saved;
        hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    }
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (canHide) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << '\n'; // the Enter the user typed was not echoed either
    }
    return read;
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // hvtool ends right after its command: the documents it read are left to the system.
    hv::SetFreeDocumentTrees(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    hv::cli::TCommandIO io{std::cout, std::cerr, std::cin, isatty(STDIN_FILENO) == 1, ReadLineWithoutEcho};
    int code = hv::cli::RunHvtool(args, io);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "標準出力に書き込めませんでした。\n";
        code = hv::cli::kExitFailure;
    }
    return code;
}

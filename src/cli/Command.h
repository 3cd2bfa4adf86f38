#pragma once

#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hv::cli {

// Exit codes of hvtool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Where a command reads and writes. main() wires the process's streams; tests pass string
// streams and decide whether standard input counts as a terminal.
struct TCommandIO {
    std::ostream& Out;
    std::ostream& Err;
    std::istream& In;
    bool InIsTerminal = false;
    // Reads one line of secret input (a password) from the terminal without echoing it; false
    // at the end of input. Empty: a plain line from In.
    std::function<bool(std::string&)> ReadSecretLine = {};
};

using TCommandArgs = std::span<const std::string>;
// A subcommand: its arguments (without the command name) and its streams; returns the exit code.
using TCommandFn = int (*)(TCommandArgs args, TCommandIO& io);

struct TCommandInfo {
    std::string_view Name;
    // The arguments after the command name, as the usage shows them.
    std::string_view Synopsis;
    // One line for the command list.
    std::string_view Summary;
    // Further lines shown by "hvtool help NAME" (may be empty).
    std::string_view Details;
    TCommandFn Run;
};

// Every command hvtool knows, in the order the usage lists them.
std::span<const TCommandInfo> CommandTable();
const TCommandInfo* FindCommand(std::string_view name);

// Runs hvtool with its arguments (without the program name).
int RunHvtool(const std::vector<std::string>& args, TCommandIO& io);

// The command's synopsis, summary and details.
void PrintCommandHelp(std::ostream& out, const TCommandInfo& command);

// Prints "message" and the command's short usage to io.Err; returns kExitUsage.
int UsageError(TCommandIO& io, std::string_view command, std::string_view message);

// The commands.
int RunDump(TCommandArgs args, TCommandIO& io);
int RunWrite(TCommandArgs args, TCommandIO& io);
int RunLs(TCommandArgs args, TCommandIO& io);
int RunFind(TCommandArgs args, TCommandIO& io);
int RunDups(TCommandArgs args, TCommandIO& io);
int RunLinks(TCommandArgs args, TCommandIO& io);
int RunImportLinks(TCommandArgs args, TCommandIO& io);
int RunImportBookmarks(TCommandArgs args, TCommandIO& io);
int RunExportBookmarks(TCommandArgs args, TCommandIO& io);
int RunDue(TCommandArgs args, TCommandIO& io);
int RunOpen(TCommandArgs args, TCommandIO& io);
int RunMerge(TCommandArgs args, TCommandIO& io);
int RunPasswd(TCommandArgs args, TCommandIO& io);
int RunInfo(TCommandArgs args, TCommandIO& io);
int RunHelp(TCommandArgs args, TCommandIO& io);
int RunImportFavorites(TCommandArgs args, TCommandIO& io);
int RunImportShortcuts(TCommandArgs args, TCommandIO& io);
int RunExportFavorites(TCommandArgs args, TCommandIO& io);
int RunExportHtml(TCommandArgs args, TCommandIO& io);
int RunBrowserUrl(TCommandArgs args, TCommandIO& io);
int RunCapture(TCommandArgs args, TCommandIO& io);

} // namespace hv::cli

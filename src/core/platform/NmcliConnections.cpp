#include "platform/NmcliConnections.h"

#include "platform/Process.h"
#include "platform/SafeFile.h"

#include <cerrno>
#include <cstring>

namespace hv {

namespace {

constexpr std::string_view kLoopbackType = "loopback";

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty()) {
            lines.push_back(line);
        }
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

} // namespace

std::vector<std::string> TNmcliConnections::SplitTerseLine(std::string_view line) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            fields.back() += line[++i];
        } else if (line[i] == ':') {
            fields.emplace_back();
        } else {
            fields.back() += line[i];
        }
    }
    return fields;
}

std::optional<std::string> TNmcliConnections::FindNmcli() const {
    return FindProgram("nmcli", m_Options.SearchPath ? *m_Options.SearchPath : DefaultSearchPath());
}

bool TNmcliConnections::IsConnected() {
    const std::optional<std::string> nmcli = FindNmcli();
    if (!nmcli) {
        return true;
    }
    const TCapturedRun run = RunCaptured(
        *nmcli, {"nmcli", "-t", "-f", "NAME,STATE,TYPE", "connection", "show", "--active"}, m_Options.QueryTimeoutMs);
    if (!run.Succeeded()) {
        return true; // NetworkManager is not there to ask
    }
    for (std::string_view line : Lines(run.Output)) {
        const std::vector<std::string> fields = SplitTerseLine(line);
        if (fields.size() < 3 || fields[2] != kLoopbackType) {
            return true;
        }
    }
    return false;
}

int TNmcliConnections::Dial(const std::string& entry) {
    const std::optional<std::string> nmcli = FindNmcli();
    if (!nmcli) {
        throw EDialUpError(DialApiMissingMessage(ENOENT, SystemErrorText(ENOENT)));
    }
    const TCapturedRun run = RunCaptured(*nmcli, {"nmcli", "connection", "up", "id", entry}, m_Options.DialTimeoutMs);
    if (run.StartErrno != 0) {
        throw EDialUpError(DialApiMissingMessage(run.StartErrno, SystemErrorText(run.StartErrno)));
    }
    return run.Succeeded() ? 0 : (run.Exited && run.ExitCode != 0 ? run.ExitCode : 1);
}

std::vector<std::string> TNmcliConnections::Entries() {
    std::vector<std::string> names;
    const std::optional<std::string> nmcli = FindNmcli();
    if (!nmcli) {
        return names;
    }
    const TCapturedRun run =
        RunCaptured(*nmcli, {"nmcli", "-t", "-f", "NAME", "connection", "show"}, m_Options.QueryTimeoutMs);
    if (!run.Succeeded()) {
        return names;
    }
    for (std::string_view line : Lines(run.Output)) {
        names.push_back(SplitTerseLine(line).front());
    }
    return names;
}

} // namespace hv

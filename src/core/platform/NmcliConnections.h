#pragma once

#include "platform/NetworkConnections.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

// NetworkManager through its command-line client nmcli:
// connected = at least one active connection other than the loopback one
//   ("nmcli -t -f NAME,STATE,TYPE connection show --active");
// dialling = "nmcli connection up id NAME"; the entries = "nmcli -t -f NAME connection show".
// Without nmcli (or without a running NetworkManager) the check says "connected", so launches
// are not held up, and dialling raises EDialUpError.
class TNmcliConnections final : public TNetworkConnections {
public:
    struct TOptions {
        // Where nmcli is looked for; nullopt: $PATH.
        std::optional<std::string> SearchPath;
        int QueryTimeoutMs = 10000;
        int DialTimeoutMs = 120000;
    };

    TNmcliConnections() = default;
    explicit TNmcliConnections(TOptions options) : m_Options(std::move(options)) {}

    bool IsConnected() override;
    int Dial(const std::string& entry) override;
    std::vector<std::string> Entries() override;

    // The fields of one line of nmcli's terse output (fields split at ':', "\:" and "\\"
    // standing for ':' and '\').
    static std::vector<std::string> SplitTerseLine(std::string_view line);

private:
    std::optional<std::string> FindNmcli() const;

    TOptions m_Options;
};

} // namespace hv

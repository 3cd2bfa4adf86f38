#pragma once

#include "platform/NetworkConnections.h"
#include "platform/ShellLauncher.h"

#include <string>
#include <utility>
#include <vector>

namespace hv::test {

// A shell that records what it was asked to open and answers Result.
class TFakeShell final : public TShellLauncher {
public:
    std::vector<std::pair<std::string, std::string>> Calls; // file, parameters
    int Result = kShellOk;

    int Execute(const std::string& file, const std::string& parameters) override {
        Calls.emplace_back(file, parameters);
        return Result;
    }
};

// Network connections that are as the test sets them: connected or not, a dial that answers
// DialResult (or finds no dial-up service when Missing), and what was dialled.
class TFakeNetwork final : public TNetworkConnections {
public:
    bool Connected = false;
    int DialResult = 0;
    bool Missing = false;
    std::vector<std::string> Dialled;
    std::vector<std::string> PhoneBook;
    int Checks = 0;

    bool IsConnected() override {
        ++Checks;
        return Connected;
    }
    int Dial(const std::string& entry) override {
        if (Missing) {
            throw EDialUpError(DialApiMissingMessage(2, "No such file or directory"));
        }
        Dialled.push_back(entry);
        return DialResult;
    }
    std::vector<std::string> Entries() override { return PhoneBook; }
};

} // namespace hv::test

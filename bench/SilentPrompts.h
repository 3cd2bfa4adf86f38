#pragma once

#include "platform/UserPrompts.h"

#include <optional>
#include <string>

namespace hv::bench {

// Answers every question with no and shows nothing, so a benchmark never waits for a user.
class TSilentPrompts final : public TUserPrompts {
public:
    void ShowMessage(TMessageKind, const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    TSaveAnswer AskSave(const std::string&, const std::string&) override { return TSaveAnswer::Cancel; }
    std::optional<std::string> AskPassword(const std::string&, const std::string&) override { return std::nullopt; }
};

} // namespace hv::bench

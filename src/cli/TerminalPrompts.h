#pragma once

#include "Command.h"
#include "platform/UserPrompts.h"

#include <optional>
#include <string>

namespace hv::cli {

// The program's messages and questions for hvtool. Messages go to standard error, except
// information messages once SetResultsToOut() was called: those are then the command's result
// (the completion of an import or an export) and go to standard output. A question
// is asked on the terminal when standard input is one; otherwise it takes its cautious answer
// (No, Cancel) unless --yes answers Yes (and "save") to all. A password is the one given with
// --password, else typed on the terminal without echo, else none.
class TTerminalPrompts final : public TUserPrompts {
public:
    TTerminalPrompts(TCommandIO& io, bool assumeYes, std::optional<std::string> password = std::nullopt)
        : m_IO(io), m_AssumeYes(assumeYes), m_Password(std::move(password)) {}

    void SetResultsToOut() { m_ResultsToOut = true; }

    void ShowMessage(TMessageKind kind, const std::string& text, const std::string& title) override;
    bool AskYesNo(const std::string& text, const std::string& title) override;
    TSaveAnswer AskSave(const std::string& text, const std::string& title) override;
    std::optional<std::string> AskPassword(const std::string& prompt, const std::string& title) override;

private:
    void WriteText(const std::string& text, const std::string& title);
    // One line typed on the terminal (without its line end); nullopt at the end of input.
    std::optional<std::string> ReadAnswer(bool secret);

    TCommandIO& m_IO;
    bool m_AssumeYes;
    std::optional<std::string> m_Password;
    bool m_ResultsToOut = false;
};

} // namespace hv::cli

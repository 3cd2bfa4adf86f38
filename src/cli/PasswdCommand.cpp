#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"

#include <ostream>

namespace hv::cli {

namespace {

// The password dialog on the terminal: the new password twice, asked again while the two differ.
std::optional<std::string> AskNewPassword(TCommandIO& io) {
    while (true) {
        const std::optional<std::string> first = ReadTerminalSecret(io, "新しいパスワード: ");
        const std::optional<std::string> second =
            first ? ReadTerminalSecret(io, "新しいパスワード (確認): ") : std::nullopt;
        if (!second) {
            return std::nullopt;
        }
        if (*first == *second) {
            return first;
        }
        io.Err << kPasswordMismatchMessage << '\n';
    }
}

} // namespace

int RunPasswd(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--password", true}, {"--new-password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("passwd"), kOptions, 1, 1, io, parsed)) {
        return *exit;
    }
    TDocumentPrompts prompts(io);
    THVDocument doc(prompts);
    if (!OpenDocument(doc, prompts, parsed.Positional[0], parsed.Value("--password"), io)) {
        return kExitFailure;
    }
    std::optional<std::string> password = parsed.Value("--new-password");
    if (!password && !io.InIsTerminal) {
        io.Err << "新しいパスワードを --new-password で指定してください (空にするとパスワードを削除します)。\n";
        return kExitFailure;
    }
    if (!password) {
        password = AskNewPassword(io);
        if (!password) {
            return kExitFailure; // cancelled: nothing changes
        }
    }
    if (std::string problem = PasswordProblem(*password); !problem.empty()) {
        io.Err << problem << '\n';
        return kExitFailure;
    }
    if (doc.SetPassword(*password) && !doc.Save()) {
        ReportErrorDetail(doc, io);
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace hv::cli

#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"
#include "FolderPath.h"
#include "TerminalPrompts.h"
#include "launch/LaunchSettings.h"
#include "platform/Clock.h"
#include "platform/LinuxShellLauncher.h"
#include "platform/NmcliConnections.h"
#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"

#include <ostream>

namespace hv::cli {

namespace {

// As the program's error handler shows an error: the message, a "." unless it ends with one,
// and the error's class in square brackets.
void ReportError(std::ostream& err, const EHVError& e) {
    const std::string message = e.what();
    err << message << (message.ends_with('.') || message.ends_with("。") ? "" : ".") << "\n[" << e.ClassName() << "]\n";
}

} // namespace

int RunOpen(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--yes", false}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("open"), kOptions, 3, 3, io, parsed)) {
        return *exit;
    }
    const std::string& path = parsed.Positional[0];
    std::optional<TLoadedDocument> doc = LoadDocument(path, parsed.Value("--password"), io);
    if (!doc) {
        return kExitFailure;
    }
    THVFolder* folder = SelectFolder(*doc->Root, parsed.Positional[1], io);
    if (folder == nullptr) {
        return kExitFailure;
    }
    THVItem* item = folder->List().FindByName(parsed.Positional[2]);
    if (item == nullptr) {
        io.Err << "アイテム '" << parsed.Positional[2] << "' が見つかりません。\n";
        return kExitFailure;
    }

    TTerminalPrompts prompts(io, parsed.Has("--yes"));
    TLinuxShellLauncher shell;
    TNmcliConnections network;
    const TClock& clock = Clock();
    try {
        // The settings are read as the program reads them, right before the launch; nothing is
        // written back, since opening an item changes no setting.
        TFileRegistryStore store(RegistryFilePath(), [&io](const std::string& message) { io.Err << message << '\n'; });
        TSettings settings(store);
        if (!OpenURL(item->GetURL(), LaunchOptionsFromSettings(settings), {prompts, shell, network, clock})) {
            return kExitFailure;
        }
        RecordAccess(*item, clock, nullptr);
        SaveDocumentFile(path, *doc->Root, doc->Password);
    } catch (const EHVError& e) {
        ReportError(io.Err, e);
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace hv::cli

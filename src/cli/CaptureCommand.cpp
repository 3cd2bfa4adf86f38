#include "Arguments.h"
#include "BrowserAccess.h"
#include "Command.h"
#include "FolderPath.h"
#include "ImportTarget.h"
#include "TerminalPrompts.h"
#include "UserSettings.h"
#include "importexport/ImpBrowser.h"
#include "model/HVFolder.h"
#include "settings/Settings.h"
#include "text/Encoding.h"

#include <ostream>

namespace hv::cli {

int RunCapture(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--folder", true}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("capture"), kOptions, 1, 1, io, parsed)) {
        return *exit;
    }
    bool nnFirst = false;
    if (!WithUserSettings(io, [&nnFirst](TRegistryStore&, TSettings& settings) {
            nnFirst = settings.Get(opt::Main::ImpBrowserNNFirst);
        })) {
        return kExitFailure;
    }
    const std::string& docPath = parsed.Positional[0];
    std::optional<TImportTarget> target = OpenImportTarget(parsed, io);
    if (!target) {
        return kExitFailure;
    }
    THVFolder* folder = target->Folder;
    TTerminalPrompts prompts(io, false);
    const auto conversation = MakeBrowserConversation();
    const THVItem* item = CaptureBrowserPage(*folder, *conversation, nnFirst, prompts);
    if (item == nullptr) {
        // Neither browser answered (already told), or the preferred one did not.
        return kExitFailure;
    }
    if (!SaveLoadedDocument(docPath, target->Doc, io)) {
        return kExitFailure;
    }
    io.Out << item->GetName() << '\t' << item->GetURL() << '\n';
    return kExitOk;
}

} // namespace hv::cli

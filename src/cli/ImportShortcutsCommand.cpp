#include "Arguments.h"
#include "Command.h"
#include "FolderPath.h"
#include "ImportTarget.h"
#include "TerminalPrompts.h"
#include "importexport/Shortcut.h"
#include "model/HVFolder.h"
#include "text/Encoding.h"

namespace hv::cli {

int RunImportShortcuts(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--folder", true}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("import-shortcuts"), kOptions, 2, SIZE_MAX, io, parsed)) {
        return *exit;
    }
    const std::string& docPath = parsed.Positional[0];
    std::optional<TImportTarget> target = OpenImportTarget(parsed, io);
    if (!target) {
        return kExitFailure;
    }
    THVFolder* folder = target->Folder;
    const std::vector<std::string> files(parsed.Positional.begin() + 1, parsed.Positional.end());
    TTerminalPrompts prompts(io, false);
    prompts.SetResultsToOut();
    const int count = ImportShortcuts(files, *folder, prompts);
    if ((target->Created || count > 0) && !SaveLoadedDocument(docPath, target->Doc, io)) {
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace hv::cli

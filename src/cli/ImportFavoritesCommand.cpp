#include "Arguments.h"
#include "Command.h"
#include "FolderPath.h"
#include "ImportTarget.h"
#include "TerminalPrompts.h"
#include "UserSettings.h"
#include "importexport/Favorites.h"
#include "model/HVFolder.h"
#include "text/Encoding.h"

namespace hv::cli {

int RunImportFavorites(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--folder", true}, {"--yes", false}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("import-favorites"), kOptions, 1, 2, io, parsed)) {
        return *exit;
    }
    std::string dir;
    if (parsed.Positional.size() > 1) {
        dir = parsed.Positional[1];
    } else if (!WithUserSettings(io, [&dir](TRegistryStore& store, TSettings&) {
                   dir = FindFavoritesFolder(store, HomeDirectory());
               })) {
        return kExitFailure;
    }
    const std::string& docPath = parsed.Positional[0];
    std::optional<TImportTarget> target = OpenImportTarget(parsed, io);
    if (!target) {
        return kExitFailure;
    }
    THVFolder* folder = target->Folder;
    if (!CanImportFavoritesInto(*folder)) {
        io.Err << kFavoritesHasSubfolders << '\n';
        return kExitFailure;
    }
    TTerminalPrompts prompts(io, parsed.Has("--yes"));
    prompts.SetResultsToOut();
    const bool modified = ImportFavorites(*folder, dir, prompts);
    if ((target->Created || modified) && !SaveLoadedDocument(docPath, target->Doc, io)) {
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace hv::cli

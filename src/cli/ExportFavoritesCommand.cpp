#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"
#include "FolderPath.h"
#include "TerminalPrompts.h"
#include "UserSettings.h"
#include "importexport/ExpFavorites.h"
#include "importexport/Favorites.h"
#include "model/HVFolder.h"
#include "text/Encoding.h"

#include <ostream>

namespace hv::cli {

int RunExportFavorites(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {
        {"--folder", true}, {"--clear", false}, {"--yes", false}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("export-favorites"), kOptions, 1, 2, io, parsed)) {
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
    std::optional<TLoadedDocument> doc = LoadDocument(parsed.Positional[0], parsed.Value("--password"), io);
    if (!doc) {
        return kExitFailure;
    }
    const THVFolder* source = SelectFolderOption(*doc->Root, parsed, io);
    if (source == nullptr) {
        return kExitFailure;
    }
    TTerminalPrompts prompts(io, parsed.Has("--yes"));
    prompts.SetResultsToOut();
    std::vector<std::string> errors;
    if (!ExportFavorites(*source, dir, parsed.Has("--clear"), prompts, errors)) {
        return kExitFailure;
    }
    for (const std::string& error : errors) {
        io.Err << error << '\n';
    }
    return errors.empty() ? kExitOk : kExitFailure;
}

} // namespace hv::cli

#include "Arguments.h"
#include "Command.h"
#include "FolderPath.h"
#include "ImportTarget.h"
#include "importexport/ImpHtml.h"
#include "text/Encoding.h"

#include <limits>
#include <ostream>

namespace hv::cli {

int RunImportLinks(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--folder", true}, {"--all", false}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("import-links"), kOptions, 2, std::numeric_limits<std::size_t>::max(),
                              io, parsed)) {
        return *exit;
    }
    const std::string& docPath = parsed.Positional[0];
    std::optional<TImportTarget> target = OpenImportTarget(parsed, io);
    if (!target) {
        return kExitFailure;
    }
    THVFolder* folder = target->Folder;

    std::vector<THtmlLink> links;
    for (std::size_t i = 1; i < parsed.Positional.size(); ++i) {
        try {
            ReadHtmlLinks(parsed.Positional[i], links);
        } catch (const std::exception& e) {
            io.Err << e.what() << '\n';
            return kExitFailure;
        }
    }
    const int count = ImportHtmlLinks(links, *folder, parsed.Has("--all"));
    if ((target->Created || count > 0) && !SaveLoadedDocument(docPath, target->Doc, io)) {
        return kExitFailure;
    }
    io.Out << LinksImportedMessage(count) << '\n';
    return kExitOk;
}

} // namespace hv::cli

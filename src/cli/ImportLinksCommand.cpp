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
    bool created = false;
    std::optional<TLoadedDocument> doc = OpenOrCreateDocument(docPath, parsed.Value("--password"), io, created);
    if (!doc) {
        return kExitFailure;
    }
    THVFolder* folder = SelectFolderOption(*doc->Root, parsed, io);
    if (folder == nullptr) {
        return kExitFailure;
    }

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
    if ((created || count > 0) && !SaveLoadedDocument(docPath, *doc, io)) {
        return kExitFailure;
    }
    io.Out << LinksImportedMessage(count) << '\n';
    return kExitOk;
}

} // namespace hv::cli

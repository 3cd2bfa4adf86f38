#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"

#include <ostream>

namespace hv::cli {

int RunInfo(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("info"), kOptions, 1, 1, io, parsed)) {
        return *exit;
    }
    const std::string& path = parsed.Positional[0];
    TDocumentPrompts prompts(io);
    THVDocument doc(prompts);
    // Only counts are printed: the order of the folders does not matter.
    if (!OpenDocument(doc, prompts, path, parsed.Value("--password"), io, false)) {
        return kExitFailure;
    }
    const TFileProperties properties = doc.Properties();
    io.Out << "file\t" << FullFileName(path) << '\n'
           << "version\t" << doc.FileVersion() << '\n'
           << "encoding\t" << (doc.FileEncoding() == TDocEncoding::Utf8 ? "UTF-8" : "CP932") << '\n'
           << "password\t" << (properties.HasPassword ? "true" : "false") << '\n'
           << "folders\t" << properties.FolderCount << '\n'
           << "items\t" << properties.ItemCount << '\n';
    return kExitOk;
}

} // namespace hv::cli

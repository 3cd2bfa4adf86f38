#include "Arguments.h"
#include "Command.h"
#include "FolderPath.h"
#include "ImportTarget.h"
#include "importexport/ImpBookmark.h"
#include "platform/SafeFile.h"
#include "text/Encoding.h"

#include <ostream>

namespace hv::cli {

int RunImportBookmarks(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--folder", true}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("import-bookmarks"), kOptions, 2, 2, io, parsed)) {
        return *exit;
    }
    const std::string& docPath = parsed.Positional[0];
    const std::string& bookmarks = parsed.Positional[1];
    if (!FileExists(bookmarks)) {
        io.Err << "ファイル \"" << bookmarks << "\" が見つかりません。\n";
        return kExitFailure;
    }
    std::optional<TImportTarget> target = OpenImportTarget(parsed, io);
    if (!target) {
        return kExitFailure;
    }
    THVFolder* folder = target->Folder;
    if (!CanImportBookmarksInto(*folder)) {
        io.Err << kBookmarkFolderHasSubfolders << '\n';
        return kExitFailure;
    }

    TBookmarkImportResult result;
    try {
        result = ImportBookmarkFile(bookmarks, *folder).value_or(TBookmarkImportResult{});
    } catch (const std::exception& e) {
        // Nothing is saved: the document file stays as it was.
        io.Err << e.what() << '\n';
        return kExitFailure;
    }
    if ((target->Created || result.Modified) && !SaveLoadedDocument(docPath, target->Doc, io)) {
        return kExitFailure;
    }
    io.Out << kBookmarkImportDone << '\n';
    return kExitOk;
}

} // namespace hv::cli

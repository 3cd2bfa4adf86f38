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
    bool created = false;
    std::optional<TLoadedDocument> doc = OpenOrCreateDocument(docPath, parsed.Value("--password"), io, created);
    if (!doc) {
        return kExitFailure;
    }
    THVFolder* folder = SelectFolderOption(*doc->Root, parsed, io);
    if (folder == nullptr) {
        return kExitFailure;
    }
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
    if ((created || result.Modified) && !SaveLoadedDocument(docPath, *doc, io)) {
        return kExitFailure;
    }
    io.Out << kBookmarkImportDone << '\n';
    return kExitOk;
}

} // namespace hv::cli

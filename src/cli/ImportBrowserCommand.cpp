#include "Arguments.h"
#include "Command.h"
#include "ImportTarget.h"
#include "importexport/BookmarkStore.h"
#include "importexport/BrowserStores.h"
#include "importexport/ImpBookmark.h"
#include "platform/SafeFile.h"

#include <ostream>
#include <sys/stat.h>

namespace hv::cli {

namespace {

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The store file the second argument names: a browser's profile, a store file, or a profile
// directory holding one. Reported on io.Err when there is none.
std::optional<std::string> StorePath(const std::string& argument, TCommandIO& io) {
    if (IsBrowserName(argument)) {
        const auto store = SelectBrowserStore(FindBrowserStores(TBrowserHome::FromEnvironment()), argument);
        if (!store) {
            io.Err << "ブラウザ \"" << argument << "\" のブックマークが見つかりません。\n";
            return std::nullopt;
        }
        return store->Path;
    }
    if (IsDirectory(argument)) {
        for (const char* name : {"/places.sqlite", "/Bookmarks"}) {
            struct stat st {};
            if (::stat((argument + name).c_str(), &st) == 0) {
                return argument + name;
            }
        }
    } else if (struct stat st{}; ::stat(argument.c_str(), &st) == 0) {
        return argument;
    }
    io.Err << "ファイル \"" << argument << "\" が見つかりません。\n";
    return std::nullopt;
}

} // namespace

int RunImportBrowser(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--folder", true}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("import-browser"), kOptions, 2, 2, io, parsed)) {
        return *exit;
    }
    const std::optional<std::string> path = StorePath(parsed.Positional[1], io);
    if (!path) {
        return kExitFailure;
    }
    std::optional<TImportTarget> target = OpenImportTarget(parsed, io);
    if (!target) {
        return kExitFailure;
    }
    if (!CanImportBookmarksInto(*target->Folder)) {
        io.Err << kBookmarkFolderHasSubfolders << '\n';
        return kExitFailure;
    }
    TBookmarkImportResult result;
    try {
        result = ImportBookmarkStore(*path, *target->Folder);
    } catch (const EBookmarkStoreError& e) {
        // Nothing is saved: the document file stays as it was.
        io.Err << e.what() << '\n';
        return kExitFailure;
    }
    if ((target->Created || result.Modified) && !SaveLoadedDocument(parsed.Positional[0], target->Doc, io)) {
        return kExitFailure;
    }
    io.Out << kBookmarkImportDone << '\n';
    return kExitOk;
}

} // namespace hv::cli

#include "Arguments.h"
#include "Command.h"
#include "importexport/BookmarkStore.h"
#include "importexport/BrowserStores.h"

#include <ostream>

namespace hv::cli {

int RunBrowsers(TCommandArgs args, TCommandIO& io) {
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("browsers"), {}, 0, 0, io, parsed)) {
        return *exit;
    }
    const std::vector<TBrowserStore> stores = FindBrowserStores(TBrowserHome::FromEnvironment());
    if (stores.empty()) {
        io.Err << kNoBrowserStores << '\n';
        return kExitFailure;
    }
    int exitCode = kExitOk;
    for (const TBrowserStore& store : stores) {
        try {
            const TBookmarkTree tree = ReadBookmarkStore(store.Path);
            io.Out << store.Browser << '\t' << store.Profile << '\t' << tree.ItemCount() << '\t' << store.Path << '\n';
        } catch (const EBookmarkStoreError& e) {
            // A store that cannot be read is named on stderr; the others are still listed.
            io.Err << e.what() << '\n';
            exitCode = kExitFailure;
        }
    }
    return exitCode;
}

} // namespace hv::cli

#include "Arguments.h"
#include "BrowserAccess.h"
#include "Command.h"
#include "importexport/ImpBrowser.h"

#include <ostream>

namespace hv::cli {

int RunBrowserUrl(TCommandArgs args, TCommandIO& io) {
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("browser-url"), {}, 0, 0, io, parsed)) {
        return *exit;
    }
    const auto conversation = MakeBrowserConversation();
    for (std::string_view service : {kIEService, kNNService}) {
        const TBrowserAnswer answer = QueryBrowser(*conversation, service);
        if (answer.Found) {
            io.Out << service << '\t' << answer.URL << '\t' << answer.Title << '\n';
        }
    }
    return kExitOk;
}

} // namespace hv::cli

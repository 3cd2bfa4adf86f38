#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"
#include "UserSettings.h"
#include "document/RecentFiles.h"
#include "model/HVFolder.h"

namespace hv::cli {

int RunMerge(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--password", true}, {"--other-password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("merge"), kOptions, 2, 2, io, parsed)) {
        return *exit;
    }
    TDocumentPrompts prompts(io);
    THVDocument doc(prompts);
    if (!OpenDocument(doc, prompts, parsed.Positional[0], parsed.Value("--password"), io)) {
        return kExitFailure;
    }
    prompts.SetPassword(parsed.Value("--other-password"));
    // Nothing is saved unless the whole merge succeeded: the file stays as it was otherwise.
    if (!doc.Merge(FullFileName(parsed.Positional[1]))) {
        ReportErrorDetail(doc, io);
        return kExitFailure;
    }
    // New folders take their place in name order with SortFolder, as in the window.
    if (UserSortsFolders(io)) {
        doc.Root().SortChildrenRecursive();
    }
    if (!doc.Save()) {
        ReportErrorDetail(doc, io);
        return kExitFailure;
    }
    prompts.PrintNotes(); // "マージが完了しました。", once the merged document is saved
    return kExitOk;
}

} // namespace hv::cli

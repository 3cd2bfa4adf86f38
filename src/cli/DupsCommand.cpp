#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"
#include "FolderPath.h"
#include "platform/Memory.h"
#include "search/DuplicateUrls.h"
#include "text/Encoding.h"

#include <filesystem>
#include <ostream>

namespace hv::cli {

int RunDups(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {
        {"--no-commands", false}, {"--folder", true}, {"--no-subfolders", false}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("dups"), kOptions, 1, 1, io, parsed)) {
        return *exit;
    }
    if (parsed.Has("--no-subfolders") && !parsed.Has("--folder")) {
        return UsageError(io, "dups", "--no-subfolders は --folder と一緒に指定してください。");
    }
    std::optional<TLoadedDocument> doc = LoadDocument(parsed.Positional[0], parsed.Value("--password"), io);
    if (!doc) {
        return kExitFailure;
    }
    THVFolder* start = doc->Root.get();
    if (auto folder = parsed.Value("--folder")) {
        start = SelectFolder(*doc->Root, DecodeUtf8(*folder), io);
        if (start == nullptr) {
            return kExitFailure;
        }
    }

    // The search keeps every URL and its folded key beside the tree: about the document's size.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(parsed.Positional[0], error);
    if (!error) {
        ReserveHeap(static_cast<std::size_t>(size));
    }
    TDupResults results;
    results.Search(*start, !parsed.Has("--no-subfolders"), !parsed.Has("--no-commands"));
    int group = -1;
    for (const TDupRow& row : results.Rows()) {
        if (group >= 0 && row.Group != group) {
            io.Out << '\n';
        }
        group = row.Group;
        io.Out << row.Name << '\t' << row.FolderPath() << '\t' << row.CommandTitle << '\t' << row.URL() << '\n';
    }
    return kExitOk;
}

} // namespace hv::cli

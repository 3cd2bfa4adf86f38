#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"
#include "model/FolderPath.h"
#include "platform/Clock.h"
#include "properties/Schedule.h"

#include <ostream>

namespace hv::cli {

int RunDue(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--at", true}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("due"), kOptions, 1, 1, io, parsed)) {
        return *exit;
    }
    TDateTime now = Clock().Now();
    if (std::optional<std::string> at = parsed.Value("--at")) {
        now = ParseDocDateTime(*at);
        if (now == 0) {
            return UsageError(io, "due", "--at の日時は \"yyyy/m/d h:nn\" の形で書いてください: " + *at);
        }
    }
    std::optional<TLoadedDocument> doc = LoadDocument(parsed.Positional[0], parsed.Value("--password"), io);
    if (!doc) {
        return kExitFailure;
    }
    TPathTracker paths;
    ForEachFolder(std::as_const(*doc->Root), [&](const THVFolder& folder, int level) {
        const std::string& path = paths.Enter(folder, level);
        for (const auto& item : folder.List()) {
            if (NeedToVisit(item->GetSchedule(), item->GetLastVisited(), now)) {
                io.Out << path << '\t' << item->GetName() << '\t' << item->GetURL() << '\n';
            }
        }
    });
    return kExitOk;
}

} // namespace hv::cli

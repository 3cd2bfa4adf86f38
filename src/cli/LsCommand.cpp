#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"
#include "Output.h"

#include <ostream>

namespace hv::cli {

namespace {

constexpr std::size_t kIndentPerLevel = 2;

void PrintTree(std::ostream& out, const THVFolder& root) {
    ForEachFolder(root, [&out](const THVFolder& folder, int level) {
        const auto depth = static_cast<std::size_t>(level);
        WriteSpaces(out, depth * kIndentPerLevel);
        out << folder.Name() << '\n';
        for (const auto& item : folder.List()) {
            WriteSpaces(out, (depth + 1) * kIndentPerLevel);
            out << item->GetName() << "  <" << item->GetURL() << ">\n";
        }
    });
}

} // namespace

int RunLs(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("ls"), kOptions, 1, 1, io, parsed)) {
        return *exit;
    }
    std::optional<TLoadedDocument> doc = LoadDocument(parsed.Positional[0], parsed.Value("--password"), io);
    if (!doc) {
        return kExitFailure;
    }
    PrintTree(io.Out, *doc->Root);
    return kExitOk;
}

} // namespace hv::cli

#include "Arguments.h"
#include "Command.h"
#include "importexport/ImpHtml.h"

#include <limits>
#include <ostream>

namespace hv::cli {

namespace {

void PrintLinks(std::ostream& out, const std::vector<THtmlLink>& links) {
    for (const THtmlLink& link : links) {
        out << (link.Checked ? '1' : '0') << '\t' << link.Title << '\t' << link.URL << '\t' << link.Source << '\n';
    }
}

} // namespace

int RunLinks(TCommandArgs args, TCommandIO& io) {
    TParsedArgs parsed;
    if (auto exit =
            ParseArgs(args, *FindCommand("links"), {}, 1, std::numeric_limits<std::size_t>::max(), io, parsed)) {
        return *exit;
    }
    std::vector<THtmlLink> links;
    for (const std::string& path : parsed.Positional) {
        try {
            ReadHtmlLinks(path, links);
        } catch (const std::exception& e) {
            // The links read so far stay listed, as in the import window.
            PrintLinks(io.Out, links);
            io.Err << e.what() << '\n';
            return kExitFailure;
        }
    }
    PrintLinks(io.Out, links);
    return kExitOk;
}

} // namespace hv::cli

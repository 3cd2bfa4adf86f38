// Link import from an HTML page: every imported name and URL is a single line, and the folder
// the links land in saves, reopens and saves to the same bytes.

#include "Errors.h"
#include "FuzzSupport.h"
#include "importexport/HtmlParse.h"
#include "importexport/ImpHtml.h"
#include "text/KanjiDetect.h"

#include <vector>

HV_FUZZ_TARGET(link_import) {
    using namespace hv;
    // As a file is loaded: its encoding found, decoded, line ends made CR LF.
    auto decoded = DecodeHtmlBytes(input, TLineEnds::CrLf);
    if (!decoded) {
        return;
    }
    std::vector<THtmlLink> links;
    try {
        ReadHtmlLinksFromText(std::move(decoded->Text), "fuzz.html", links);
    } catch (const EHVError&) {
        // The rows read before the fault stay.
    }
    THVFolder root("Hollyvine");
    ImportHtmlLinks(links, root, true);
    fuzz::CheckNoLineBreaks(root);
    fuzz::CheckSaveReopenSave(root, "");
}

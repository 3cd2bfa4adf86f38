// Bookmark file import, then the exports: the imported tree is sound and saves to stable bytes;
// exporting it as a bookmark file and importing that gives the same export again; the HTML page
// export takes any tree.

#include "Errors.h"
#include "FuzzSupport.h"
#include "importexport/ExpBm.h"
#include "importexport/ExpHtml.h"
#include "importexport/ImpBookmark.h"
#include "model/ItemOrder.h"

HV_FUZZ_TARGET(bookmarks) {
    using namespace hv;
    THVFolder root("Hollyvine");
    try {
        ImportBookmarks(input, root);
    } catch (const EHVError&) {
        // What was imported before the fault stays.
    }
    fuzz::CheckNoLineBreaks(root);
    fuzz::CheckSaveReopenSave(root, "");

    // An import cut short by a fault leaves its folders collapsed; an import that ends expands
    // them. That is view state, not data: compare the exports of expanded trees.
    root.SetExpandedRecursive(true);
    TExportBmOptions options;
    options.ItemsFirst = (input.size() & 1) != 0;
    const std::string exported = BuildBookmarkFile(root, options);
    THVFolder again("Hollyvine");
    ImportBookmarks(exported, again);
    HV_FUZZ_CHECK(BuildBookmarkFile(again, options) == exported);

    TExportHtmlOptions page;
    page.KanjiCode = static_cast<int>(input.size() % 4);
    (void)BuildHtmlPage(root, page, TItemOrder{});
}

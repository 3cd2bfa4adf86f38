// Record text merged into a tree (and read into a folder, as pasting does): the result still
// saves, reopens and saves to the same bytes.

#include "Errors.h"
#include "FuzzSupport.h"
#include "document/Merge.h"
#include "text/Encoding.h"

HV_FUZZ_TARGET(records) {
    using namespace hv;
    // Record text reaches the readers decoded, as from a document or the clipboard.
    const std::string text = DecodeUtf8(input);
    THVFolder root("Hollyvine");
    THVFolder* sub = root.AddChild("Sub");
    sub->List().Add("same")->SetURL("http://example.com/");
    root.AddChild("Other");
    try {
        TMergeStats stats;
        MergeRecords(text, root, (input.size() & 1) != 0, stats);
    } catch (const EHVError&) {
        // What was merged before the fault stays; it must still be a sound tree.
    }
    try {
        ReadRecords(text, *sub);
    } catch (const EHVError&) {
    }
    fuzz::CheckNoLineBreaks(root);
    fuzz::CheckSaveReopenSave(root, "");
}

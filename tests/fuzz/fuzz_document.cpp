// Document bytes as opening reads them (either header, with or without password and Encoding
// line): whatever is read saves, reopens and saves to the very same bytes.

#include "Errors.h"
#include "FuzzSupport.h"

HV_FUZZ_TARGET(document) {
    using namespace hv;
    fuzz::TReadDocument doc;
    try {
        doc = fuzz::ReadDocument(input);
    } catch (const EHVError&) {
        return; // not a document, or a bad level or memo: opening reports it
    }
    fuzz::CheckNoLineBreaks(*doc.Root);
    if (fuzz::HasLineBreak(doc.Text.Password)) {
        return; // a password line cannot hold a line break; the dialogs never make one
    }
    fuzz::CheckSaveReopenSave(*doc.Root, doc.Text.Password);
}

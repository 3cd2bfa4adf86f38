// hvtool's JSON reader (the input of "write"): whatever it accepts saves, reopens and saves to
// the same bytes, and the reopened document holds no raw line break.

#include "FuzzSupport.h"
#include "JsonDocumentReader.h"

HV_FUZZ_TARGET(hvtool_json) {
    using namespace hv;
    cli::TJsonDocument doc;
    try {
        doc = cli::ReadDocumentJson(input);
    } catch (const cli::EJsonDocumentError&) {
        return;
    }
    // JSON strings may hold line breaks; the record writer turns them into blanks, so the check
    // is on the document as reopened (inside CheckSaveReopenSave), not on the JSON's tree.
    const std::string password = doc.Password.value_or(std::string());
    if (fuzz::HasLineBreak(password)) {
        return;
    }
    fuzz::CheckSaveReopenSave(*doc.Root, password);
}

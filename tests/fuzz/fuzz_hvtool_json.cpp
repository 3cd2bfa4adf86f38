// hvtool's JSON reader (the input of "write"): whatever it accepts is a sound tree that saves,
// reopens and saves to the same bytes.

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
    fuzz::CheckNoLineBreaks(*doc.Root);
    const std::string password = doc.Password.value_or(std::string());
    if (fuzz::HasLineBreak(password)) {
        return;
    }
    fuzz::CheckSaveReopenSave(*doc.Root, password);
}

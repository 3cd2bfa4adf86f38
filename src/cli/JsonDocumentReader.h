#pragma once

#include "Errors.h"
#include "document/DocumentFile.h"
#include "model/HVFolder.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace hv::cli {

// JSON text that is not a document in the form dump writes; what() names the problem and where.
class EJsonDocumentError : public EHVError {
public:
    using EHVError::EHVError;
    const char* ClassName() const noexcept override { return "EJsonDocumentError"; }
};

// A document as read from its JSON form.
struct TJsonDocument {
    std::optional<int> Version;
    std::optional<std::string> Password;
    std::optional<TDocEncoding> Encoding;
    // The tree as a document read would give it: a root named "Hollyvine", same-named sibling
    // folders merged, "\" in folder names turned into "￥", item names made unique.
    std::unique_ptr<THVFolder> Root;
};

// Reads the JSON form of a document. Any nesting depth is read without recursion: the parser is
// driven event by event and the tree is built with an explicit stack. Keys may come in any order;
// unknown keys, repeated keys and values of the wrong type are errors, missing members take the
// value an empty record would give ("expanded" defaults to true, as after a read).
// Throws EJsonDocumentError.
TJsonDocument ReadDocumentJson(std::string_view text);

} // namespace hv::cli

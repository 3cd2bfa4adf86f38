#pragma once

#include "Command.h"
#include "DocumentLoader.h"

#include <optional>
#include <string>

namespace hv::cli {

// The document an import adds to: read from path, or a new empty one when no file is there
// (then with the given password, if any). Failures are reported on io.Err; nullopt then.
// created tells whether the document is new.
std::optional<TLoadedDocument> OpenOrCreateDocument(const std::string& path, const std::optional<std::string>& password,
                                                    TCommandIO& io, bool& created);

// Saves the document as the program does (safely, keeping its password); false, with the
// message on io.Err, when it cannot be written.
bool SaveLoadedDocument(const std::string& path, const TLoadedDocument& doc, TCommandIO& io);

struct TParsedArgs;

// The document (first argument, "--password") and the folder ("--folder") an import adds to.
struct TImportTarget {
    TLoadedDocument Doc;
    THVFolder* Folder = nullptr;
    bool Created = false;
};

// OpenOrCreateDocument and SelectFolderOption together; nullopt, reported on io.Err, when
// either fails.
std::optional<TImportTarget> OpenImportTarget(const TParsedArgs& parsed, TCommandIO& io);

} // namespace hv::cli

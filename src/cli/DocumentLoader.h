#pragma once

#include "Command.h"
#include "document/DocumentFile.h"
#include "model/HVFolder.h"

#include <memory>
#include <optional>
#include <string>

namespace hv::cli {

// The caption of the root folder, as the program shows it.
inline constexpr std::string_view kRootCaption = "Hollyvine";

// A document read from its file.
struct TLoadedDocument {
    int Version = 1;
    std::string Password;
    TDocEncoding Encoding = TDocEncoding::Cp932;
    std::unique_ptr<THVFolder> Root;
};

// Reads the document at path into a new root the way the program opens a file (folders in file
// order). A protected document needs its password: the given one, else one typed on the terminal
// when standard input is one. Every failure is reported on io.Err; nullopt then.
std::optional<TLoadedDocument> LoadDocument(const std::string& path, const std::optional<std::string>& password,
                                            TCommandIO& io);

} // namespace hv::cli

#pragma once

// What several fuzz targets share: reading a document as opening one does, and the property that
// no value of the tree holds a raw line break.

#include "FuzzTarget.h"
#include "document/DocumentFile.h"
#include "document/RecordReader.h"
#include "document/RecordWriter.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"

#include <memory>
#include <string>
#include <string_view>

namespace hv::fuzz {

inline bool HasLineBreak(std::string_view value) {
    return value.find_first_of("\r\n") != std::string_view::npos;
}

// Names, URLs, schedules, icons and command lines never hold a CR or LF (memos have their own
// encoding and may).
inline void CheckNoLineBreaks(const THVFolder& root) {
    ForEachFolder(root, [](const THVFolder& folder, int) {
        HV_FUZZ_CHECK(!HasLineBreak(folder.Name()) || folder.Parent() == nullptr);
        for (const auto& item : folder.List()) {
            HV_FUZZ_CHECK(!HasLineBreak(item->GetName()));
            HV_FUZZ_CHECK(!HasLineBreak(item->GetURL()));
            HV_FUZZ_CHECK(!HasLineBreak(item->GetSchedule()));
            HV_FUZZ_CHECK(!HasLineBreak(item->GetIconFile()));
            for (int i = 0; i < item->GetCommands().Count(); ++i) {
                HV_FUZZ_CHECK(!HasLineBreak(item->GetCommands().Items(i).Title));
                HV_FUZZ_CHECK(!HasLineBreak(item->GetCommands().Items(i).CommandLine));
            }
        }
    });
}

struct TReadDocument {
    TDocumentText Text;
    std::unique_ptr<THVFolder> Root;
};

// The document in bytes as opening reads it; throws what the reader throws.
inline TReadDocument ReadDocument(std::string_view bytes) {
    TReadDocument doc;
    doc.Text = ParseDocumentBytes(bytes);
    doc.Root = std::make_unique<THVFolder>("Hollyvine");
    ReadRecords(doc.Text.Body, *doc.Root);
    return doc;
}

// Saving a tree and opening the file gives the same characters; saving again gives the same bytes.
inline void CheckSaveReopenSave(const THVFolder& root, const std::string& password) {
    const std::string first = BuildDocumentBytes(root, password);
    TReadDocument again = ReadDocument(first);
    HV_FUZZ_CHECK(again.Text.Password == password);
    HV_FUZZ_CHECK(BuildDocumentBody(*again.Root) == BuildDocumentBody(root));
    const std::string second = BuildDocumentBytes(*again.Root, again.Text.Password);
    HV_FUZZ_CHECK(first == second);
    CheckNoLineBreaks(*again.Root);
}

} // namespace hv::fuzz

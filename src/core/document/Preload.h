#pragma once

#include "document/DocumentFile.h"
#include "platform/SafeFile.h"

#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace hv {

class THVFolder;

// A document's tree and header, read ahead.
struct TPreloadedDocument {
    std::unique_ptr<THVFolder> Root;
    TDocumentText Header;
};

// A document read on a thread of its own while the program starts, so that building the window
// and reading a large document share the wait. Only a read that went through whole is kept: a
// document with a password, one that is no document or that cannot be read is left to
// THVDocument::Open, which asks and reports as it always does.
class TDocumentPreload {
public:
    // Starts reading path (a full file name), with folders kept in name order when sortFolders.
    TDocumentPreload(std::string path, bool sortFolders);
    TDocumentPreload(const TDocumentPreload&) = delete;
    TDocumentPreload& operator=(const TDocumentPreload&) = delete;
    // Waits for the reading; a tree nobody took is freed.
    ~TDocumentPreload();

    // Waits for the reading, then hands over the tree when it is of path, read with the same
    // folder order, and the file has not changed since; nullopt otherwise (the tree is let go).
    // Hands it over once.
    std::optional<TPreloadedDocument> Take(const std::string& path, bool sortFolders);

private:
    void Read();

    const std::string m_Path;
    const bool m_SortFolders;
    std::optional<TFileStamp> m_Stamp; // the file's state while it was read; none unless read whole
    TPreloadedDocument m_Document;
    std::thread m_Thread;
};

} // namespace hv

#include "document/Preload.h"

#include "document/DocumentReader.h"
#include "document/HVDocument.h"
#include "document/RecordReader.h"
#include "model/HVFolder.h"

#include <utility>

namespace hv {

TDocumentPreload::TDocumentPreload(std::string path, bool sortFolders)
    : m_Path(std::move(path)), m_SortFolders(sortFolders), m_Thread([this] { Read(); }) {}

TDocumentPreload::~TDocumentPreload() {
    if (m_Thread.joinable()) {
        m_Thread.join();
    }
    DisposeDocumentTree(std::move(m_Document.Root));
}

void TDocumentPreload::Read() {
    try {
        const std::optional<TFileStamp> before = FileStampOf(m_Path);
        if (!before) {
            return;
        }
        TDocumentReader reader(m_Path);
        if (!reader.Password().empty()) {
            return;
        }
        std::unique_ptr<THVFolder> root = NewDocumentRoot();
        TReadOptions options;
        options.SortFolders = m_SortFolders;
        ReserveTreeMemory(reader.FileSize());
        ReadRecords(reader, *root, options);
        // A file written while it was read may have given a mix of both states.
        if (FileStampOf(m_Path) != before) {
            DisposeDocumentTree(std::move(root));
            return;
        }
        m_Document = {std::move(root), reader.Header()};
        m_Stamp = before;
    } catch (...) {
        // Read again by Open, which tells the user what is wrong.
        DisposeDocumentTree(std::move(m_Document.Root));
        m_Stamp.reset();
    }
}

std::optional<TPreloadedDocument> TDocumentPreload::Take(const std::string& path, bool sortFolders) {
    if (m_Thread.joinable()) {
        m_Thread.join();
    }
    const bool usable = m_Stamp && path == m_Path && sortFolders == m_SortFolders && FileStampOf(path) == m_Stamp;
    m_Stamp.reset();
    if (!usable) {
        DisposeDocumentTree(std::move(m_Document.Root));
        return std::nullopt;
    }
    return std::exchange(m_Document, {});
}

} // namespace hv

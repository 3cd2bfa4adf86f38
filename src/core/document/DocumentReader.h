#pragma once

#include "document/DocumentFile.h"

#include <memory>
#include <string>
#include <string_view>

namespace hv {

class TFileReader;

// A document file read record by record: the header first (version, password, encoding), then
// one record at a time, decoded to UTF-8. A large document so never stands in memory whole,
// neither as bytes nor as text.
class TDocumentReader {
public:
    // Reads the header of the file at path. Throws EFileError when the file cannot be read and
    // EInvalidDocument when it is no document.
    explicit TDocumentReader(const std::string& path);
    // The same over a document's bytes.
    static TDocumentReader FromBytes(std::string bytes);
    TDocumentReader(TDocumentReader&&) noexcept;
    ~TDocumentReader();

    int Version() const { return m_Header.Version; }
    const std::string& Password() const { return m_Header.Password; }
    TDocEncoding Encoding() const { return m_Header.Encoding; }
    // The size of the file, 0 when unknown.
    std::size_t FileSize() const;
    // Version, password and encoding (the body left empty).
    const TDocumentText& Header() const { return m_Header; }

    // The next record of the body, up to and including the empty line that closes it, decoded;
    // empty at the end. The text stays valid until the next call.
    std::string_view NextRecord();
    // The rest of the body, decoded.
    std::string ReadRest();

private:
    TDocumentReader() = default;
    void ReadHeader();
    // Reads another piece of the file; false at its end.
    bool ReadMore();
    // The offset of the next CR LF CR LF at or after from, reading on as needed; npos when the
    // file ends first.
    std::size_t FindBlockEnd(std::size_t from);
    void Decode(std::string_view bytes, std::string& out);

    std::unique_ptr<TFileReader> m_File; // none when reading bytes in memory
    std::string m_Buffer;                // the bytes not yet taken start at m_Pos
    std::size_t m_Pos = 0;
    bool m_End = false;
    TDocumentText m_Header;
    bool m_Marked = false; // kept bytes written as characters (kKeptBytesKey)
    std::string m_Plain;   // a record of a version 2 document with its bytes restored
    std::string m_Text;    // the record handed out
};

} // namespace hv

#pragma once

#include "Errors.h"
#include "platform/SafeFile.h"

#include <string>
#include <string_view>

namespace hv {

class THVFolder;

// The file is not a Hollyvine document.
class EInvalidDocument : public EHVError {
public:
    EInvalidDocument() : EHVError("Hollyvine のドキュメントではありません") {}
    const char* ClassName() const noexcept override { return "EInvalidDocument"; }
};

enum class TDocEncoding { Cp932, Utf8 };

inline constexpr std::string_view kDocumentHeader1 = "# Holly Vine Document 1";
inline constexpr std::string_view kDocumentHeader2 = "# Hollyvine Document 2";
inline constexpr std::size_t kMaxPasswordLength = 16;
// The header line "KeptBytes=U+F700" marks a UTF-8 document whose kept bytes are written as the
// characters U+F780..U+F7FF themselves, because writing them as raw bytes would let them fuse
// with their neighbours.
inline constexpr std::string_view kKeptBytesKey = "KeptBytes";
inline constexpr std::string_view kKeptBytesMarked = "U+F700";

// A document file taken apart: its version, password and encoding, and the record text of
// its body, decoded to UTF-8.
struct TDocumentText {
    int Version = 1;
    std::string Password;
    TDocEncoding Encoding = TDocEncoding::Cp932;
    std::string Body;
};

// Version 2 hides everything after the first line: each byte b >= 32 becomes 287 - b.
// The same call undoes it.
void Scramble(std::string& bytes, std::size_t from = 0);

// The text of a marked UTF-8 document (see kKeptBytesKey): as DecodeUtf8, with each written
// U+F780..U+F7FF read back as the kept byte it stands for.
std::string DecodeMarkedUtf8(std::string_view bytes);

// Splits a document's bytes into header and body; throws EInvalidDocument when the first
// line is neither document header.
TDocumentText ParseDocumentBytes(std::string_view bytes);

// The bytes of a document holding the tree of root: version 1 without a password, version 2
// with one. Shift_JIS (CP932) when every character has a form there, else UTF-8 with an
// "Encoding=UTF-8" header line; forceUtf8 chooses UTF-8 in any case.
std::string BuildDocumentBytes(const THVFolder& root, const std::string& password, bool forceUtf8 = false,
                               TDocEncoding* used = nullptr);

// A document's bytes in two parts.
struct TDocumentBytes {
    std::string Header; // the header block up to and including its closing empty line
    std::string Body;
    TDocEncoding Encoding = TDocEncoding::Cp932;
};
// The bytes BuildDocumentBytes gives, in two parts.
TDocumentBytes EncodeDocument(const THVFolder& root, const std::string& password, bool forceUtf8 = false);
// Writes the document at path safely (see WriteFileSafely), its body encoded piece by piece on
// the way to the file, so that it never stands in memory whole; the temporary file takes the
// document's name form unless options name one. The bytes are those of BuildDocumentBytes;
// returns the encoding they took.
TDocEncoding WriteDocumentFile(const std::string& path, const THVFolder& root, const std::string& password,
                               bool forceUtf8 = false, TSafeWriteOptions options = {});

// Writes the document safely (a temporary file beside it, renamed over it).
void SaveDocumentFile(const std::string& path, const THVFolder& root, const std::string& password,
                      bool forceUtf8 = false);

} // namespace hv

#include "document/DocumentFile.h"

#include "document/DocumentReader.h"
#include "document/RecordWriter.h"
#include "platform/SafeFile.h"
#include "text/Encoding.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <optional>

namespace hv {

namespace {

// True when utf8 holds a kept byte (U+F780..U+F7FF, EF 9E/9F xx).
bool HasKeptBytes(std::string_view utf8) {
    for (std::size_t i = utf8.find('\xEF'); i != std::string_view::npos; i = utf8.find('\xEF', i + 1)) {
        if (i + 1 < utf8.size() && (utf8[i + 1] == '\x9E' || utf8[i + 1] == '\x9F')) {
            return true;
        }
    }
    return false;
}

// How a document's text goes to bytes: the first of CP932, UTF-8 and marked UTF-8 from which
// reading gives back the very same text. Kept bytes are the only characters that can come back
// changed, fused with a neighbour into another character, so only text holding them is checked.
enum class TTextForm { Cp932, Utf8, Marked };

// Appends text in form to out; false when reading it back would not give the same text.
bool AppendInForm(TTextForm form, std::string_view text, std::string& out) {
    const std::size_t from = out.size();
    switch (form) {
    case TTextForm::Cp932:
        if (!EncodeCp932Append(text, out)) {
            return false;
        }
        return !HasKeptBytes(text) || DecodeCp932(std::string_view(out).substr(from)) == text;
    case TTextForm::Utf8:
        EncodeUtf8Append(text, out);
        return !HasKeptBytes(text) || DecodeUtf8(std::string_view(out).substr(from)) == text;
    case TTextForm::Marked:
        out += text;
        return true;
    }
    return false;
}

// The body is encoded piece by piece straight into the one buffer that is written. Pieces end
// with a record, in ASCII, so no character straddles two of them and each piece reads back on
// its own exactly when the whole does.
bool EncodeBodyInForm(TTextForm form, const THVFolder& root, const std::string& password, TDocumentBytes& out) {
    out.Body.clear();
    out.Header.clear();
    if (!AppendInForm(form, password, out.Header)) {
        return false;
    }
    return ForEachBodyPiece(root, [&](std::string_view piece) { return AppendInForm(form, piece, out.Body); });
}

} // namespace

void Scramble(std::string& bytes, std::size_t from) {
    for (std::size_t i = from; i < bytes.size(); ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 32) {
            bytes[i] = static_cast<char>(287 - b);
        }
    }
}

// DecodeUtf8 turns the three bytes of a U+F780..U+F7FF into three kept bytes; in a marked file
// they stand for one kept byte, so each such triple is joined again. The triple's bytes form a
// well-formed sequence, so DecodeUtf8 never makes it out of bytes that were invalid in the file.
std::string DecodeMarkedUtf8(std::string_view bytes) {
    const std::string decoded = DecodeUtf8(bytes);
    constexpr std::string_view keptEf = "\xEF\x9F\xAF";
    std::string out;
    out.reserve(decoded.size());
    std::size_t from = 0;
    for (std::size_t i = decoded.find(keptEf); i != std::string::npos; i = decoded.find(keptEf, i + 1)) {
        if (i < from || i + 9 > decoded.size()) {
            continue;
        }
        const std::string_view next(decoded.data() + i + 3, 6);
        const auto second = static_cast<unsigned char>(next[2]);
        const auto third = static_cast<unsigned char>(next[5]);
        if (next[0] != '\xEF' || next[1] != '\x9E' || (second != 0x9E && second != 0x9F) || next[3] != '\xEF' ||
            next[4] != '\x9E' || third < 0x80 || third > 0xBF) {
            continue;
        }
        out.append(decoded, from, i - from);
        out += '\xEF';
        out += static_cast<char>(second);
        out += static_cast<char>(third);
        from = i + 9;
    }
    out.append(decoded, from);
    return out;
}

TDocumentText ParseDocumentBytes(std::string_view bytes) {
    TDocumentReader reader = TDocumentReader::FromBytes(std::string(bytes));
    TDocumentText doc = reader.Header();
    doc.Body = reader.ReadRest();
    return doc;
}

namespace {

// The header block of a document in form, scrambled when it has a password.
std::string DocumentHeader(TTextForm form, const std::string& password, std::string_view encodedPassword) {
    std::string header;
    const bool protectedDoc = !password.empty();
    header += protectedDoc ? kDocumentHeader2 : kDocumentHeader1;
    header += "\r\n";
    const std::size_t scrambleFrom = header.size();
    if (protectedDoc) {
        header += "Password=";
        header += encodedPassword;
        header += "\r\n";
    }
    if (form != TTextForm::Cp932) {
        header += "Encoding=UTF-8\r\n";
    }
    if (form == TTextForm::Marked) {
        header += kKeptBytesKey;
        header += '=';
        header += kKeptBytesMarked;
        header += "\r\n";
    }
    header += "\r\n"; // the empty line that closes the header block
    if (protectedDoc) {
        Scramble(header, scrambleFrom);
    }
    return header;
}

TTextForm NextForm(TTextForm form) {
    return form == TTextForm::Cp932 ? TTextForm::Utf8 : TTextForm::Marked;
}

TDocEncoding EncodingOf(TTextForm form) {
    return form == TTextForm::Cp932 ? TDocEncoding::Cp932 : TDocEncoding::Utf8;
}

// Thrown out of a file being written when its text turns out to have no form in the encoding
// being written; the file is then written again in the next one.
struct TFormRefused {};

} // namespace

TDocumentBytes EncodeDocument(const THVFolder& root, const std::string& password, bool forceUtf8) {
    TDocumentBytes out;
    TTextForm form = forceUtf8 ? TTextForm::Utf8 : TTextForm::Cp932;
    while (!EncodeBodyInForm(form, root, password, out)) {
        form = NextForm(form);
    }
    out.Encoding = EncodingOf(form);
    out.Header = DocumentHeader(form, password, out.Header);
    if (!password.empty()) {
        Scramble(out.Body);
    }
    return out;
}

std::string BuildDocumentBytes(const THVFolder& root, const std::string& password, bool forceUtf8, TDocEncoding* used) {
    TDocumentBytes bytes = EncodeDocument(root, password, forceUtf8);
    if (used != nullptr) {
        *used = bytes.Encoding;
    }
    bytes.Header += bytes.Body;
    return std::move(bytes.Header);
}

TDocEncoding WriteDocumentFile(const std::string& path, const THVFolder& root, const std::string& password,
                               bool forceUtf8, TSafeWriteOptions options) {
    if (!options.TempName) {
        options.TempName = DocumentTempName;
    }
    // The body goes to the file piece by piece as it is encoded. The first form that holds the
    // whole text is written; a piece it cannot hold abandons that file (the old one stays) and
    // the next form is tried, which only documents with characters outside CP932 meet.
    for (TTextForm form = forceUtf8 ? TTextForm::Utf8 : TTextForm::Cp932;; form = NextForm(form)) {
        try {
            WriteFileSafely(
                path,
                [&](TByteSink& sink) {
                    std::string encoded;
                    if (!AppendInForm(form, password, encoded)) {
                        throw TFormRefused{};
                    }
                    sink.Write(DocumentHeader(form, password, encoded));
                    const bool written = ForEachBodyPiece(root, [&](std::string_view piece) {
                        encoded.clear();
                        if (!AppendInForm(form, piece, encoded)) {
                            return false;
                        }
                        if (!password.empty()) {
                            Scramble(encoded);
                        }
                        sink.Write(encoded);
                        return true;
                    });
                    if (!written) {
                        throw TFormRefused{};
                    }
                },
                options);
            return EncodingOf(form);
        } catch (const TFormRefused&) {
            if (form == TTextForm::Marked) {
                throw; // cannot happen: the marked form holds any text
            }
        }
    }
}

void SaveDocumentFile(const std::string& path, const THVFolder& root, const std::string& password, bool forceUtf8) {
    WriteDocumentFile(path, root, password, forceUtf8);
    RemoveLeftoverDocumentTempFiles(path);
}

} // namespace hv

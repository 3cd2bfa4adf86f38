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
struct TEncodedText {
    TDocEncoding Encoding = TDocEncoding::Cp932;
    bool Marked = false;
    std::string Body;
    std::string Password;
};

TEncodedText EncodeDocumentText(const std::string& body, const std::string& password, bool forceUtf8) {
    const bool kept = HasKeptBytes(body) || HasKeptBytes(password);
    TEncodedText out;
    if (!forceUtf8) {
        std::optional<std::string> encodedBody = EncodeCp932(body);
        std::optional<std::string> encodedPassword = encodedBody ? EncodeCp932(password) : std::nullopt;
        if (encodedBody && encodedPassword &&
            (!kept || (DecodeCp932(*encodedBody) == body && DecodeCp932(*encodedPassword) == password))) {
            out.Body = std::move(*encodedBody);
            out.Password = std::move(*encodedPassword);
            return out;
        }
    }
    out.Encoding = TDocEncoding::Utf8;
    out.Body = EncodeUtf8(body);
    out.Password = EncodeUtf8(password);
    if (kept && (DecodeUtf8(out.Body) != body || DecodeUtf8(out.Password) != password)) {
        out.Marked = true;
        out.Body = body;
        out.Password = password;
    }
    return out;
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

std::string BuildDocumentBytes(const THVFolder& root, const std::string& password, bool forceUtf8, TDocEncoding* used) {
    const TEncodedText text = EncodeDocumentText(BuildDocumentBody(root), password, forceUtf8);
    const bool utf8 = text.Encoding == TDocEncoding::Utf8;
    if (used != nullptr) {
        *used = text.Encoding;
    }

    std::string out;
    out.reserve(text.Body.size() + 64);
    const bool protectedDoc = !password.empty();
    out += protectedDoc ? kDocumentHeader2 : kDocumentHeader1;
    out += "\r\n";
    const std::size_t scrambleFrom = out.size();
    if (protectedDoc) {
        out += "Password=";
        out += text.Password;
        out += "\r\n";
    }
    if (utf8) {
        out += "Encoding=UTF-8\r\n";
    }
    if (text.Marked) {
        out += kKeptBytesKey;
        out += '=';
        out += kKeptBytesMarked;
        out += "\r\n";
    }
    out += "\r\n"; // the empty line that closes the header block
    out += text.Body;
    if (protectedDoc) {
        Scramble(out, scrambleFrom);
    }
    return out;
}

void SaveDocumentFile(const std::string& path, const THVFolder& root, const std::string& password, bool forceUtf8) {
    TSafeWriteOptions options;
    options.TempName = DocumentTempName;
    WriteFileSafely(path, BuildDocumentBytes(root, password, forceUtf8), options);
    RemoveLeftoverDocumentTempFiles(path);
}

} // namespace hv

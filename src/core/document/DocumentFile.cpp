#include "document/DocumentFile.h"

#include "document/RecordWriter.h"
#include "platform/SafeFile.h"
#include "text/Encoding.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <optional>

namespace hv {

namespace {

constexpr std::size_t kHeaderProbeSize = 256;
constexpr std::string_view kEncodingUtf8 = "UTF-8";

std::string DecodeAs(TDocEncoding encoding, std::string_view bytes) {
    return encoding == TDocEncoding::Utf8 ? DecodeUtf8(bytes) : DecodeCp932(bytes);
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

TDocumentText ParseDocumentBytes(std::string_view bytes) {
    std::string_view probe = bytes.substr(0, std::min(bytes.size(), kHeaderProbeSize));
    std::size_t firstEnd = probe.find("\r\n");
    std::string_view firstLine = firstEnd == std::string_view::npos ? std::string_view() : probe.substr(0, firstEnd);

    TDocumentText doc;
    if (firstLine == kDocumentHeader1) {
        doc.Version = 1;
    } else if (firstLine == kDocumentHeader2) {
        doc.Version = 2;
    } else {
        throw EInvalidDocument();
    }

    // The header block runs from the end of the first line up to the first empty line.
    std::size_t blockEnd = bytes.find("\r\n\r\n", firstEnd);
    std::string_view headerBytes;
    std::string_view bodyBytes;
    if (blockEnd == std::string_view::npos) {
        headerBytes = bytes.substr(firstEnd + 2);
    } else {
        headerBytes = blockEnd > firstEnd ? bytes.substr(firstEnd + 2, blockEnd - firstEnd - 2) : std::string_view();
        bodyBytes = bytes.substr(blockEnd + 4);
    }
    std::string header(headerBytes);
    std::string unscrambledBody;
    if (doc.Version == 2) {
        Scramble(header);
        unscrambledBody = std::string(bodyBytes);
        Scramble(unscrambledBody);
        bodyBytes = unscrambledBody;
    }

    // Header lines: "Password" (version 2) and our "Encoding"; other lines are ignored.
    std::optional<std::string_view> passwordBytes;
    std::string_view rest = header;
    while (!rest.empty()) {
        std::size_t brk = rest.find_first_of("\r\n");
        std::string_view line = rest.substr(0, brk);
        rest = brk == std::string_view::npos ? std::string_view() : rest.substr(brk + 1);
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        std::string_view key = line.substr(0, eq);
        std::string_view value = line.substr(eq + 1);
        if (AsciiSameText(key, "Encoding")) {
            doc.Encoding = AsciiSameText(value, kEncodingUtf8) ? TDocEncoding::Utf8 : TDocEncoding::Cp932;
        } else if (doc.Version == 2 && AsciiSameText(key, "Password") && !passwordBytes) {
            passwordBytes = value;
        }
    }
    doc.Password = DecodeAs(doc.Encoding, passwordBytes.value_or(std::string_view()));
    doc.Body = DecodeAs(doc.Encoding, bodyBytes);
    return doc;
}

std::string BuildDocumentBytes(const THVFolder& root, const std::string& password, bool forceUtf8, TDocEncoding* used) {
    const std::string body = BuildDocumentBody(root);
    std::optional<std::string> encodedBody;
    std::optional<std::string> encodedPassword;
    if (!forceUtf8) {
        encodedBody = EncodeCp932(body);
        if (encodedBody) {
            encodedPassword = EncodeCp932(password);
        }
    }
    const bool utf8 = !encodedBody || !encodedPassword;
    if (utf8) {
        encodedBody = EncodeUtf8(body);
        encodedPassword = EncodeUtf8(password);
    }
    if (used != nullptr) {
        *used = utf8 ? TDocEncoding::Utf8 : TDocEncoding::Cp932;
    }

    std::string out;
    out.reserve(encodedBody->size() + 64);
    const bool protectedDoc = !password.empty();
    out += protectedDoc ? kDocumentHeader2 : kDocumentHeader1;
    out += "\r\n";
    const std::size_t scrambleFrom = out.size();
    if (protectedDoc) {
        out += "Password=";
        out += *encodedPassword;
        out += "\r\n";
    }
    if (utf8) {
        out += "Encoding=UTF-8\r\n";
    }
    out += "\r\n"; // the empty line that closes the header block
    out += *encodedBody;
    if (protectedDoc) {
        Scramble(out, scrambleFrom);
    }
    return out;
}

void SaveDocumentFile(const std::string& path, const THVFolder& root, const std::string& password, bool forceUtf8) {
    TSafeWriteOptions options;
    options.TempName = DocumentTempName;
    WriteFileSafely(path, BuildDocumentBytes(root, password, forceUtf8), options);
}

} // namespace hv

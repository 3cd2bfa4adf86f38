#include "document/DocumentFile.h"

#include "document/DocumentReader.h"
#include "document/RecordWriter.h"
#include "platform/SafeFile.h"
#include "text/Encoding.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <optional>

namespace hv {

void Scramble(std::string& bytes, std::size_t from) {
    for (std::size_t i = from; i < bytes.size(); ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 32) {
            bytes[i] = static_cast<char>(287 - b);
        }
    }
}

TDocumentText ParseDocumentBytes(std::string_view bytes) {
    TDocumentReader reader = TDocumentReader::FromBytes(std::string(bytes));
    TDocumentText doc = reader.Header();
    doc.Body = reader.ReadRest();
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

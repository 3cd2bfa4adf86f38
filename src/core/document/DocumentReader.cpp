#include "document/DocumentReader.h"

#include "platform/SafeFile.h"
#include "text/Encoding.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <optional>

namespace hv {

namespace {

// The first line must lie within the first bytes of the file.
constexpr std::size_t kHeaderProbeSize = 256;
// The piece of the file read at a time.
constexpr std::size_t kChunkSize = 64 << 10;
constexpr std::string_view kBlockEnd = "\r\n\r\n";
constexpr std::string_view kEncodingUtf8 = "UTF-8";

} // namespace

TDocumentReader::TDocumentReader(const std::string& path) : m_File(std::make_unique<TFileReader>(path)) {
    m_Buffer.reserve(std::min(m_File->SizeHint(), kChunkSize) + kChunkSize);
    ReadHeader();
}

TDocumentReader TDocumentReader::FromBytes(std::string bytes) {
    TDocumentReader reader;
    reader.m_Buffer = std::move(bytes);
    reader.m_End = true;
    reader.ReadHeader();
    return reader;
}

TDocumentReader::TDocumentReader(TDocumentReader&&) noexcept = default;
TDocumentReader::~TDocumentReader() = default;

std::size_t TDocumentReader::FileSize() const {
    return m_File ? m_File->SizeHint() : m_Buffer.size();
}

bool TDocumentReader::ReadMore() {
    if (m_End) {
        return false;
    }
    // What was taken is dropped once it is most of the buffer, so the buffer stays near one piece.
    if (m_Pos > 0 && m_Pos >= m_Buffer.size() / 2) {
        m_Buffer.erase(0, m_Pos);
        m_Pos = 0;
    }
    const std::size_t old = m_Buffer.size();
    m_Buffer.resize(old + kChunkSize);
    const std::size_t n = m_File->Read(m_Buffer.data() + old, kChunkSize);
    m_Buffer.resize(old + n);
    m_End = n == 0;
    return n > 0;
}

std::size_t TDocumentReader::FindBlockEnd(std::size_t from) {
    std::size_t searched = from; // offsets from m_Pos, which ReadMore may move
    while (true) {
        const std::size_t found = m_Buffer.find(kBlockEnd, m_Pos + searched);
        if (found != std::string::npos) {
            return found - m_Pos;
        }
        // A block end may straddle the end of what has been read.
        searched = std::max(searched, m_Buffer.size() - m_Pos >= 3 ? m_Buffer.size() - m_Pos - 3 : 0);
        if (!ReadMore()) {
            return std::string::npos;
        }
    }
}

void TDocumentReader::Decode(std::string_view bytes, std::string& out) {
    out.clear();
    if (m_Header.Encoding == TDocEncoding::Utf8 && m_Marked) {
        out = DecodeMarkedUtf8(bytes);
    } else if (m_Header.Encoding == TDocEncoding::Utf8) {
        DecodeUtf8Append(bytes, out);
    } else {
        DecodeCp932Append(bytes, out);
    }
}

void TDocumentReader::ReadHeader() {
    while (m_Buffer.size() < kHeaderProbeSize && ReadMore()) {
    }
    const std::string_view probe = std::string_view(m_Buffer).substr(0, kHeaderProbeSize);
    const std::size_t firstEnd = probe.find("\r\n");
    const std::string_view firstLine =
        firstEnd == std::string_view::npos ? std::string_view() : probe.substr(0, firstEnd);
    if (firstLine == kDocumentHeader1) {
        m_Header.Version = 1;
    } else if (firstLine == kDocumentHeader2) {
        m_Header.Version = 2;
    } else {
        throw EInvalidDocument();
    }

    // The header block runs from the end of the first line up to the first empty line.
    const std::size_t blockEnd = FindBlockEnd(firstEnd);
    std::string header;
    if (blockEnd == std::string::npos) {
        header = m_Buffer.substr(firstEnd + 2);
        m_Pos = m_Buffer.size();
    } else {
        header = blockEnd > firstEnd ? m_Buffer.substr(firstEnd + 2, blockEnd - firstEnd - 2) : std::string();
        m_Pos = blockEnd + 4;
    }
    if (m_Header.Version == 2) {
        Scramble(header);
    }

    // Header lines: "Password" (version 2) and our "Encoding"; other lines are ignored.
    std::optional<std::string_view> passwordBytes;
    std::string_view rest = header;
    while (!rest.empty()) {
        const std::size_t brk = rest.find_first_of("\r\n");
        const std::string_view line = rest.substr(0, brk);
        rest = brk == std::string_view::npos ? std::string_view() : rest.substr(brk + 1);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(0, eq);
        const std::string_view value = line.substr(eq + 1);
        if (AsciiSameText(key, "Encoding")) {
            m_Header.Encoding = AsciiSameText(value, kEncodingUtf8) ? TDocEncoding::Utf8 : TDocEncoding::Cp932;
        } else if (AsciiSameText(key, kKeptBytesKey)) {
            m_Marked = AsciiSameText(value, kKeptBytesMarked);
        } else if (m_Header.Version == 2 && AsciiSameText(key, "Password") && !passwordBytes) {
            passwordBytes = value;
        }
    }
    Decode(passwordBytes.value_or(std::string_view()), m_Header.Password);
}

std::string_view TDocumentReader::NextRecord() {
    const std::size_t end = FindBlockEnd(0);
    const std::size_t size = end == std::string::npos ? m_Buffer.size() - m_Pos : end + kBlockEnd.size();
    std::string_view raw(m_Buffer.data() + m_Pos, size);
    m_Pos += size;
    if (m_Header.Version == 2) {
        // Scrambling leaves the bytes below 32 alone, so the record ends where it ends unscrambled.
        m_Plain.assign(raw);
        Scramble(m_Plain);
        raw = m_Plain;
    }
    Decode(raw, m_Text);
    return m_Text;
}

std::string TDocumentReader::ReadRest() {
    while (ReadMore()) {
    }
    std::string_view raw(m_Buffer.data() + m_Pos, m_Buffer.size() - m_Pos);
    m_Pos = m_Buffer.size();
    if (m_Header.Version == 2) {
        m_Plain.assign(raw);
        Scramble(m_Plain);
        raw = m_Plain;
    }
    std::string text;
    Decode(raw, text);
    return text;
}

} // namespace hv

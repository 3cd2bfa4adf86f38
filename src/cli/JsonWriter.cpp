#include "JsonWriter.h"

#include "Output.h"

#include <ostream>

namespace hv::cli {

namespace {

constexpr std::size_t kFlushSize = 64 * 1024;
// Indentation up to this size is buffered; longer runs are written straight to the stream.
constexpr std::size_t kBufferedIndent = 512;

} // namespace

TJsonWriter::TJsonWriter(std::ostream& out, int indent) : m_Out(out), m_Indent(indent) {}

TJsonWriter::~TJsonWriter() {
    Flush();
}

void TJsonWriter::Flush() {
    if (!m_Buffer.empty()) {
        m_Out.write(m_Buffer.data(), static_cast<std::streamsize>(m_Buffer.size()));
        m_Buffer.clear();
    }
}

void TJsonWriter::Put(std::string_view text) {
    m_Buffer += text;
    if (m_Buffer.size() >= kFlushSize) {
        Flush();
    }
}

void TJsonWriter::PutEscaped(std::string_view text) {
    // As nlohmann's dump escapes: the quote, the backslash, the short forms of five controls and
    // \u00xx for the other characters below 32; everything else (valid UTF-8) as it is.
    m_Buffer += '"';
    std::size_t run = 0; // start of the characters not yet copied
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        m_Buffer.append(text.substr(run, i - run));
        run = i + 1;
        switch (c) {
        case '"':
            m_Buffer += "\\\"";
            break;
        case '\\':
            m_Buffer += "\\\\";
            break;
        case '\b':
            m_Buffer += "\\b";
            break;
        case '\f':
            m_Buffer += "\\f";
            break;
        case '\n':
            m_Buffer += "\\n";
            break;
        case '\r':
            m_Buffer += "\\r";
            break;
        case '\t':
            m_Buffer += "\\t";
            break;
        default: {
            static constexpr char kHex[] = "0123456789abcdef";
            const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
            m_Buffer.append(escape, sizeof escape);
        }
        }
    }
    m_Buffer.append(text.substr(run));
    m_Buffer += '"';
    if (m_Buffer.size() >= kFlushSize) {
        Flush();
    }
}

void TJsonWriter::NewLine(std::size_t depth) {
    if (m_Indent < 0) {
        return;
    }
    m_Buffer += '\n';
    const std::size_t blanks = depth * static_cast<std::size_t>(m_Indent);
    if (blanks <= kBufferedIndent) {
        m_Buffer.append(blanks, ' ');
        if (m_Buffer.size() >= kFlushSize) {
            Flush();
        }
    } else {
        Flush();
        WriteSpaces(m_Out, blanks);
    }
}

void TJsonWriter::BeforeValue() {
    if (m_AfterKey) {
        m_AfterKey = false;
        return;
    }
    if (m_Empty.empty()) {
        return;
    }
    if (!m_Empty.back()) {
        Put(",");
    }
    m_Empty.back() = false;
    NewLine(m_Empty.size());
}

void TJsonWriter::Close(char bracket) {
    const bool empty = m_Empty.back();
    m_Empty.pop_back();
    if (!empty) {
        NewLine(m_Empty.size());
    }
    Put(std::string_view(&bracket, 1));
}

void TJsonWriter::BeginObject() {
    BeforeValue();
    Put("{");
    m_Empty.push_back(true);
}

void TJsonWriter::EndObject() {
    Close('}');
}

void TJsonWriter::BeginArray() {
    BeforeValue();
    Put("[");
    m_Empty.push_back(true);
}

void TJsonWriter::EndArray() {
    Close(']');
}

void TJsonWriter::Key(std::string_view key) {
    BeforeValue();
    PutEscaped(key);
    Put(m_Indent < 0 ? ":" : ": ");
    m_AfterKey = true;
}

void TJsonWriter::String(std::string_view value) {
    BeforeValue();
    PutEscaped(value);
}

void TJsonWriter::Int(std::int64_t value) {
    BeforeValue();
    Put(std::to_string(value));
}

void TJsonWriter::Bool(bool value) {
    BeforeValue();
    Put(value ? "true" : "false");
}

void TJsonWriter::Null() {
    BeforeValue();
    Put("null");
}

} // namespace hv::cli

#include "JsonWriter.h"

#include "Output.h"

#include <nlohmann/json.hpp>

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
    Put(nlohmann::json(std::string(text)).dump());
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

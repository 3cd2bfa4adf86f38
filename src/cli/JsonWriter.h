#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace hv::cli {

// Writes JSON text event by event, in the layout nlohmann::json::dump(indent) gives ("key": value,
// each member on its own line, empty containers as {} and []), or compact when indent is negative.
// It keeps only one flag per open container, so documents of any nesting depth are written
// without recursion. Strings must be valid UTF-8; they are escaped as nlohmann::json::dump escapes them.
class TJsonWriter {
public:
    TJsonWriter(std::ostream& out, int indent);
    TJsonWriter(const TJsonWriter&) = delete;
    TJsonWriter& operator=(const TJsonWriter&) = delete;
    ~TJsonWriter();

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next member of the current object.
    void Key(std::string_view key);
    void String(std::string_view value);
    void Int(std::int64_t value);
    void Bool(bool value);
    void Null();
    // Hands the buffered text to the stream.
    void Flush();

private:
    void BeforeValue();
    void Close(char bracket);
    void NewLine(std::size_t depth);
    void Put(std::string_view text);
    void PutEscaped(std::string_view text);

    std::ostream& m_Out;
    int m_Indent;
    std::string m_Buffer;
    // For each open container: whether it has no member yet.
    std::vector<bool> m_Empty;
    bool m_AfterKey = false;
};

} // namespace hv::cli

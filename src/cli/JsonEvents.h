#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hv::cli {

// What a JSON text holds, value by value, in the order of the text. Each call returns false to
// stop the reading.
class TJsonHandler {
public:
    virtual ~TJsonHandler() = default;
    virtual bool Null() = 0;
    virtual bool Boolean(bool value) = 0;
    // A number without fraction or exponent; outOfRange when it does not fit (value is then the
    // nearest limit).
    virtual bool Integer(std::int64_t value, bool outOfRange) = 0;
    // A number with a fraction or an exponent.
    virtual bool Float() = 0;
    // The string's text, decoded; the handler may take it (move from it).
    virtual bool String(std::string& value) = 0;
    virtual bool Key(std::string& name) = 0;
    virtual bool StartObject() = 0;
    virtual bool EndObject() = 0;
    virtual bool StartArray() = 0;
    virtual bool EndArray() = 0;
};

struct TJsonReadResult {
    enum TKind { Ok, Stopped, SyntaxError } Kind = Ok;
    // For a syntax error: the byte where the text stops being JSON, counted from 1.
    std::size_t Position = 0;
};

// Reads text as one JSON value (RFC 8259: strings of valid UTF-8, surrogates only in pairs,
// nothing but white space after the value; a UTF-8 byte order mark at the start is skipped) and
// tells handler what it holds. Nesting of any depth is read without recursion, and strings are
// handed over without copying the text around them.
TJsonReadResult ReadJson(std::string_view text, TJsonHandler& handler);

} // namespace hv::cli

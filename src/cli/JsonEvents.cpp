#include "JsonEvents.h"

#include <charconv>
#include <vector>

namespace hv::cli {

namespace {

class TJsonReader {
public:
    TJsonReader(std::string_view text, TJsonHandler& handler)
        : m_Text(text), m_Bytes(reinterpret_cast<const unsigned char*>(text.data())), m_Size(text.size()),
          m_Handler(handler) {}

    TJsonReadResult Read();

private:
    enum class TExpect { Value, Key, AfterValue };

    static bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    static bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
    static bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

    void SkipSpace() {
        while (m_Pos < m_Size && IsSpace(m_Bytes[m_Pos])) {
            ++m_Pos;
        }
    }
    unsigned char At(std::size_t pos) const { return pos < m_Size ? m_Bytes[pos] : 0; }

    bool ReadString(std::string& out);
    bool ReadEscape(std::string& out);
    bool ReadHex4(unsigned& value);
    std::size_t Utf8SequenceLength(std::size_t pos) const;
    bool ReadNumber(bool& handled);
    bool ReadLiteral(std::string_view word);
    bool StartContainer(char open);
    bool EndContainer();

    std::string_view m_Text;
    const unsigned char* m_Bytes;
    std::size_t m_Size;
    std::size_t m_Pos = 0;
    TJsonHandler& m_Handler;
    std::vector<char> m_Open; // the open containers, '{' or '['
    std::string m_String;
    bool m_Stopped = false;
};

// The length of the well-formed UTF-8 sequence starting at pos, 0 when there is none.
std::size_t TJsonReader::Utf8SequenceLength(std::size_t pos) const {
    const unsigned char b = m_Bytes[pos];
    const unsigned char c1 = At(pos + 1);
    if (b >= 0xC2 && b <= 0xDF) {
        return IsContinuation(c1) ? 2 : 0;
    }
    const unsigned char c2 = At(pos + 2);
    if (b >= 0xE0 && b <= 0xEF) {
        const unsigned char low = b == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = b == 0xED ? 0x9F : 0xBF;
        return c1 >= low && c1 <= high && IsContinuation(c2) ? 3 : 0;
    }
    const unsigned char c3 = At(pos + 3);
    if (b >= 0xF0 && b <= 0xF4) {
        const unsigned char low = b == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = b == 0xF4 ? 0x8F : 0xBF;
        return c1 >= low && c1 <= high && IsContinuation(c2) && IsContinuation(c3) ? 4 : 0;
    }
    return 0;
}

bool TJsonReader::ReadHex4(unsigned& value) {
    value = 0;
    for (int k = 0; k < 4; ++k) {
        const unsigned char c = At(m_Pos);
        unsigned digit = 0;
        if (IsDigit(c)) {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return false;
        }
        value = value * 16 + digit;
        ++m_Pos;
    }
    return true;
}

// At the byte after a backslash.
bool TJsonReader::ReadEscape(std::string& out) {
    const unsigned char c = At(m_Pos);
    const char* simple = nullptr;
    switch (c) {
    case '"':
        simple = "\"";
        break;
    case '\\':
        simple = "\\";
        break;
    case '/':
        simple = "/";
        break;
    case 'b':
        simple = "\b";
        break;
    case 'f':
        simple = "\f";
        break;
    case 'n':
        simple = "\n";
        break;
    case 'r':
        simple = "\r";
        break;
    case 't':
        simple = "\t";
        break;
    case 'u':
        break;
    default:
        return false;
    }
    ++m_Pos;
    if (simple != nullptr) {
        out += *simple;
        return true;
    }
    unsigned cp = 0;
    if (!ReadHex4(cp) || (cp >= 0xDC00 && cp <= 0xDFFF)) {
        return false;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        unsigned low = 0;
        if (At(m_Pos) != '\\' || At(m_Pos + 1) != 'u') {
            return false;
        }
        m_Pos += 2;
        if (!ReadHex4(low) || low < 0xDC00 || low > 0xDFFF) {
            return false;
        }
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
    }
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return true;
}

// At the opening quote; on failure m_Pos is at the offending byte.
bool TJsonReader::ReadString(std::string& out) {
    out.clear();
    std::size_t run = ++m_Pos;
    while (true) {
        while (m_Pos < m_Size) {
            const unsigned char c = m_Bytes[m_Pos];
            if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80) {
                break;
            }
            ++m_Pos;
        }
        if (m_Pos >= m_Size) {
            return false;
        }
        const unsigned char c = m_Bytes[m_Pos];
        if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(m_Pos);
            if (length == 0) {
                return false;
            }
            m_Pos += length;
            continue;
        }
        if (c < 0x20) {
            return false;
        }
        out.append(m_Text.substr(run, m_Pos - run));
        if (c == '"') {
            ++m_Pos;
            return true;
        }
        ++m_Pos;
        if (!ReadEscape(out)) {
            return false;
        }
        run = m_Pos;
    }
}

// handled tells whether the handler was called (false: a syntax error at m_Pos).
bool TJsonReader::ReadNumber(bool& handled) {
    handled = false;
    const std::size_t start = m_Pos;
    if (At(m_Pos) == '-') {
        ++m_Pos;
    }
    if (At(m_Pos) == '0') {
        ++m_Pos;
    } else if (IsDigit(At(m_Pos))) {
        while (IsDigit(At(m_Pos))) {
            ++m_Pos;
        }
    } else {
        return false;
    }
    bool integer = true;
    if (At(m_Pos) == '.') {
        ++m_Pos;
        if (!IsDigit(At(m_Pos))) {
            return false;
        }
        while (IsDigit(At(m_Pos))) {
            ++m_Pos;
        }
        integer = false;
    }
    if (At(m_Pos) == 'e' || At(m_Pos) == 'E') {
        ++m_Pos;
        if (At(m_Pos) == '+' || At(m_Pos) == '-') {
            ++m_Pos;
        }
        if (!IsDigit(At(m_Pos))) {
            return false;
        }
        while (IsDigit(At(m_Pos))) {
            ++m_Pos;
        }
        integer = false;
    }
    handled = true;
    if (!integer) {
        return m_Handler.Float();
    }
    std::int64_t value = 0;
    const char* first = m_Text.data() + start;
    const auto [end, error] = std::from_chars(first, m_Text.data() + m_Pos, value);
    if (error == std::errc::result_out_of_range) {
        const bool negative = *first == '-';
        return m_Handler.Integer(negative ? INT64_MIN : INT64_MAX, true);
    }
    return m_Handler.Integer(value, false);
}

bool TJsonReader::ReadLiteral(std::string_view word) {
    for (const char c : word) {
        if (At(m_Pos) != static_cast<unsigned char>(c)) {
            return false;
        }
        ++m_Pos;
    }
    return true;
}

TJsonReadResult TJsonReader::Read() {
    if (m_Text.starts_with("\xEF\xBB\xBF")) {
        m_Pos = 3;
    }
    TExpect expect = TExpect::Value;
    const auto syntaxError = [this] { return TJsonReadResult{TJsonReadResult::SyntaxError, m_Pos + 1}; };
    const auto stopped = [] { return TJsonReadResult{TJsonReadResult::Stopped, 0}; };
    while (true) {
        SkipSpace();
        if (expect == TExpect::AfterValue && m_Open.empty()) {
            return m_Pos == m_Size ? TJsonReadResult{} : syntaxError();
        }
        if (m_Pos >= m_Size) {
            return syntaxError();
        }
        const unsigned char c = m_Bytes[m_Pos];
        if (expect == TExpect::Key) {
            if (c != '"' || !ReadString(m_String)) {
                return syntaxError();
            }
            SkipSpace();
            if (At(m_Pos) != ':') {
                return syntaxError();
            }
            ++m_Pos;
            if (!m_Handler.Key(m_String)) {
                return stopped();
            }
            expect = TExpect::Value;
            continue;
        }
        if (expect == TExpect::AfterValue) {
            const char open = m_Open.back();
            if (c == ',') {
                ++m_Pos;
                expect = open == '{' ? TExpect::Key : TExpect::Value;
                continue;
            }
            if (c != (open == '{' ? '}' : ']')) {
                return syntaxError();
            }
            ++m_Pos;
            m_Open.pop_back();
            if (!(open == '{' ? m_Handler.EndObject() : m_Handler.EndArray())) {
                return stopped();
            }
            continue;
        }
        // A value.
        bool going = true;
        switch (c) {
        case '{':
        case '[': {
            ++m_Pos;
            if (!(c == '{' ? m_Handler.StartObject() : m_Handler.StartArray())) {
                return stopped();
            }
            m_Open.push_back(static_cast<char>(c));
            SkipSpace();
            const char close = c == '{' ? '}' : ']';
            if (At(m_Pos) == static_cast<unsigned char>(close)) {
                // Empty: closed at once, and read on after it.
                expect = TExpect::AfterValue;
                continue;
            }
            expect = c == '{' ? TExpect::Key : TExpect::Value;
            continue;
        }
        case '"':
            if (!ReadString(m_String)) {
                return syntaxError();
            }
            going = m_Handler.String(m_String);
            break;
        case 't':
        case 'f':
            if (!ReadLiteral(c == 't' ? "true" : "false")) {
                return syntaxError();
            }
            going = m_Handler.Boolean(c == 't');
            break;
        case 'n':
            if (!ReadLiteral("null")) {
                return syntaxError();
            }
            going = m_Handler.Null();
            break;
        default: {
            bool handled = false;
            going = ReadNumber(handled);
            if (!handled) {
                return syntaxError();
            }
            break;
        }
        }
        if (!going) {
            return stopped();
        }
        expect = TExpect::AfterValue;
    }
}

} // namespace

TJsonReadResult ReadJson(std::string_view text, TJsonHandler& handler) {
    return TJsonReader(text, handler).Read();
}

} // namespace hv::cli

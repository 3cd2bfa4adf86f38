#include "importexport/HtmlParse.h"

#include "platform/SafeFile.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace hv {

namespace {

constexpr std::string_view kTagNotClosed = "タグが終了していません";
constexpr std::string_view kStringNotClosed = "文字列が終了していません";
// How far into a file a <meta> charset declaration is looked for.
constexpr std::size_t kCharsetScanLimit = 4096;

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsTagNameChar(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Bytes that end an attribute name.
bool EndsAttrName(char c) {
    return IsBlank(c) || c == '/' || c == '>' || c == '=' || c == '"' || c == '\'';
}

// Position of marker in text at or after from, ASCII letters compared case-insensitively.
std::size_t FindNoCase(std::string_view text, std::string_view marker, std::size_t from) {
    if (marker.empty() || marker.size() > text.size()) {
        return std::string_view::npos;
    }
    const char first = AsciiLower(marker.front());
    const std::size_t last = text.size() - marker.size();
    for (std::size_t i = from; i <= last; ++i) {
        if (AsciiLower(text[i]) == first && AsciiSameText(text.substr(i, marker.size()), marker)) {
            return i;
        }
    }
    return std::string_view::npos;
}

struct TCharsetName {
    std::string_view Name;
    TKanjiCode Code;
};

constexpr std::array kCharsetNames = {
    TCharsetName{"utf-8", TKanjiCode::kcUtf8},
    TCharsetName{"utf8", TKanjiCode::kcUtf8},
    TCharsetName{"unicode-1-1-utf-8", TKanjiCode::kcUtf8},
    TCharsetName{"shift_jis", TKanjiCode::kcSjis},
    TCharsetName{"shift-jis", TKanjiCode::kcSjis},
    TCharsetName{"sjis", TKanjiCode::kcSjis},
    TCharsetName{"x-sjis", TKanjiCode::kcSjis},
    TCharsetName{"ms_kanji", TKanjiCode::kcSjis},
    TCharsetName{"csshiftjis", TKanjiCode::kcSjis},
    TCharsetName{"windows-31j", TKanjiCode::kcSjis},
    TCharsetName{"cp932", TKanjiCode::kcSjis},
    TCharsetName{"x-ms-cp932", TKanjiCode::kcSjis},
    TCharsetName{"euc-jp", TKanjiCode::kcEuc},
    TCharsetName{"eucjp", TKanjiCode::kcEuc},
    TCharsetName{"x-euc-jp", TKanjiCode::kcEuc},
    TCharsetName{"cseucpkdfmtjapanese", TKanjiCode::kcEuc},
    TCharsetName{"iso-2022-jp", TKanjiCode::kcJis},
    TCharsetName{"csiso2022jp", TKanjiCode::kcJis},
};

// The encoding named by the first <meta ... charset=NAME> (either form) among the first bytes.
std::optional<TKanjiCode> DeclaredCharset(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, kCharsetScanLimit);
    std::size_t meta = FindNoCase(head, "<meta", 0);
    while (meta != std::string_view::npos) {
        const std::size_t close = head.find('>', meta);
        const std::string_view tag =
            head.substr(meta, close == std::string_view::npos ? head.size() - meta : close - meta);
        std::size_t pos = FindNoCase(tag, "charset", 0);
        if (pos != std::string_view::npos) {
            pos += 7;
            while (pos < tag.size() && IsBlank(tag[pos])) {
                ++pos;
            }
            if (pos < tag.size() && tag[pos] == '=') {
                ++pos;
                while (pos < tag.size() && (IsBlank(tag[pos]) || tag[pos] == '"' || tag[pos] == '\'')) {
                    ++pos;
                }
                std::size_t end = pos;
                while (end < tag.size() && !IsBlank(tag[end]) && tag[end] != '"' && tag[end] != '\'' &&
                       tag[end] != ';' && tag[end] != '/') {
                    ++end;
                }
                const std::string_view name = tag.substr(pos, end - pos);
                for (const TCharsetName& known : kCharsetNames) {
                    if (AsciiSameText(name, known.Name)) {
                        return known.Code;
                    }
                }
                return std::nullopt; // another charset: the bytes decide
            }
        }
        if (close == std::string_view::npos) {
            break;
        }
        meta = FindNoCase(head, "<meta", close);
    }
    return std::nullopt;
}

std::string_view UpToNul(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

} // namespace

EHtmlParseError::EHtmlParseError(std::string_view message, int line)
    : EHVError(std::string(message) + "(行番号: " + std::to_string(line) + ")"), m_Line(line) {}

// --- THtmlTag ----------------------------------------------------------------------------------

bool THtmlTag::IsTag(std::string_view name) const {
    return AsciiSameText(m_Name, name);
}

bool THtmlTag::HasAttr(std::string_view name) const {
    return std::any_of(m_Attrs.begin(), m_Attrs.end(),
                       [name](const THtmlTagAttr& a) { return AsciiSameText(a.Name, name); });
}

std::string_view THtmlTag::GetAttr(std::string_view name) const {
    for (const THtmlTagAttr& attr : m_Attrs) {
        if (AsciiSameText(attr.Name, name)) {
            return attr.Value;
        }
    }
    return {};
}

// --- THtmlParser -------------------------------------------------------------------------------

THtmlParser::THtmlParser(std::string text) : m_Text(std::move(text)) {
    m_End = std::min(m_Text.find('\0'), m_Text.size());
}

void THtmlParser::Fail(std::string_view message) const {
    throw EHtmlParseError(message, m_Line);
}

void THtmlParser::CountLines(std::size_t from, std::size_t to) {
    m_Line += static_cast<int>(std::count(m_Text.data() + from, m_Text.data() + to, '\n'));
}

bool THtmlParser::StartsMarkup(std::size_t pos) const {
    if (m_Text[pos] != '<' || pos + 1 >= m_End) {
        return false;
    }
    const char b = m_Text[pos + 1];
    if (b == '/') {
        return pos + 2 < m_End;
    }
    return IsAsciiLetter(b) || b == '!' || b == '?';
}

bool THtmlParser::Next() {
    m_TokenText = {};
    if (m_Pos >= m_End) {
        return false;
    }
    m_Tag.Clear();
    const std::size_t start = m_Pos;
    if (!StartsMarkup(m_Pos)) {
        m_Kind = THtmlTokenKind::Text;
        ScanText();
    } else {
        const char b = m_Text[m_Pos + 1];
        if (b == '!' || b == '?' || (b == '/' && !IsAsciiLetter(m_Text[m_Pos + 2]))) {
            m_Kind = THtmlTokenKind::Comment;
            ++m_Pos;
            SkipPast(b == '!' && std::string_view(m_Text).substr(m_Pos, 3) == "!--" ? "-->" : ">");
        } else {
            m_Kind = THtmlTokenKind::Tag;
            ReadTag();
        }
    }
    m_TokenText = std::string_view(m_Text).substr(start, m_Pos - start);
    return true;
}

void THtmlParser::ScanText() {
    const char* data = m_Text.data();
    std::size_t p = m_Pos + 1;
    while (p < m_End) {
        const void* hit = std::memchr(data + p, '<', m_End - p);
        if (hit == nullptr) {
            p = m_End;
            break;
        }
        p = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        if (StartsMarkup(p)) {
            break;
        }
        ++p;
    }
    CountLines(m_Pos, p);
    m_Pos = p;
}

void THtmlParser::ReadTag() {
    ++m_Pos; // "<"
    m_Tag.m_IsStart = m_Text[m_Pos] != '/';
    if (!m_Tag.m_IsStart) {
        ++m_Pos;
    }
    const std::size_t nameStart = m_Pos;
    while (m_Pos < m_End && IsTagNameChar(m_Text[m_Pos])) {
        ++m_Pos;
    }
    m_Tag.m_Name = std::string_view(m_Text).substr(nameStart, m_Pos - nameStart);
    ReadAttributes();
    if (m_Tag.m_IsStart && m_Tag.IsTag("script")) {
        SkipScript();
    }
}

void THtmlParser::SkipBlanks() {
    while (m_Pos < m_End && IsBlank(m_Text[m_Pos])) {
        if (m_Text[m_Pos] == '\n') {
            ++m_Line;
        }
        ++m_Pos;
    }
}

void THtmlParser::ReadAttributes() {
    const std::string_view text(m_Text.data(), m_End);
    while (true) {
        SkipBlanks();
        if (m_Pos >= m_End) {
            Fail(kTagNotClosed);
        }
        const char c = text[m_Pos];
        if (c == '>') {
            ++m_Pos;
            return;
        }
        if (c == '/') {
            ++m_Pos; // "/>" ends the tag; a "/" elsewhere means nothing
            if (m_Pos < m_End && text[m_Pos] == '>') {
                ++m_Pos;
                return;
            }
            continue;
        }
        THtmlTagAttr attr;
        if (c == '"' || c == '\'') {
            // A quoted text where a name belongs: a value without a name.
            attr.Value = ReadQuoted();
            m_Tag.m_Attrs.push_back(attr);
            continue;
        }
        const std::size_t nameStart = m_Pos;
        while (m_Pos < m_End && !EndsAttrName(text[m_Pos])) {
            ++m_Pos;
        }
        attr.Name = text.substr(nameStart, m_Pos - nameStart);
        SkipBlanks();
        if (m_Pos < m_End && text[m_Pos] == '=') {
            ++m_Pos;
            SkipBlanks();
            if (m_Pos >= m_End) {
                Fail(kTagNotClosed);
            }
            if (text[m_Pos] == '"' || text[m_Pos] == '\'') {
                attr.Value = ReadQuoted();
            } else {
                const std::size_t valueStart = m_Pos;
                while (m_Pos < m_End && !IsBlank(text[m_Pos]) && text[m_Pos] != '>') {
                    ++m_Pos;
                }
                attr.Value = text.substr(valueStart, m_Pos - valueStart);
            }
        }
        m_Tag.m_Attrs.push_back(attr);
    }
}

std::string_view THtmlParser::ReadQuoted() {
    const char quote = m_Text[m_Pos];
    const std::size_t start = ++m_Pos;
    const char* data = m_Text.data();
    std::size_t p = start;
    while (true) {
        const void* hit = p < m_End ? std::memchr(data + p, quote, m_End - p) : nullptr;
        if (hit == nullptr) {
            CountLines(start, m_End);
            m_Pos = m_End;
            Fail(kStringNotClosed);
        }
        p = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        // A quote right after a backslash belongs to the value.
        if (p > start && data[p - 1] == '\\') {
            ++p;
            continue;
        }
        break;
    }
    CountLines(start, p);
    m_Pos = p + 1;
    return std::string_view(m_Text).substr(start, p - start);
}

void THtmlParser::SkipPast(std::string_view marker) {
    const std::string_view text(m_Text.data(), m_End);
    const std::size_t hit = text.find(marker, m_Pos);
    const std::size_t end = hit == std::string_view::npos ? m_End : hit + marker.size();
    CountLines(m_Pos, end);
    m_Pos = end;
}

void THtmlParser::SkipScript() {
    const std::string_view text(m_Text.data(), m_End);
    std::size_t p = m_Pos;
    while (true) {
        p = text.find("</", p);
        if (p == std::string_view::npos) {
            CountLines(m_Pos, m_End);
            m_Pos = m_End;
            return;
        }
        const std::size_t after = p + 8;
        if (after <= m_End && AsciiSameText(text.substr(p + 2, 6), "script") &&
            (after == m_End || IsBlank(text[after]) || text[after] == '>' || text[after] == '/')) {
            CountLines(m_Pos, p);
            m_Pos = p;
            SkipPast(">");
            return;
        }
        p += 2;
    }
}

// --- loading -----------------------------------------------------------------------------------

std::optional<TKanjiCode> DetectHtmlEncoding(std::string_view bytes) {
    bytes = UpToNul(bytes);
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return TKanjiCode::kcUtf8;
    }
    if (const auto declared = DeclaredCharset(bytes)) {
        return declared;
    }
    const bool nonAscii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    if (nonAscii && IsValidUtf8(bytes)) {
        return TKanjiCode::kcUtf8;
    }
    return DetectKanjiCode(bytes);
}

std::optional<TDecodedText> DecodeHtmlBytes(std::string_view bytes, TLineEnds lineEnds) {
    bytes = UpToNul(bytes);
    const std::optional<TKanjiCode> code = DetectHtmlEncoding(bytes);
    if (!code) {
        return std::nullopt;
    }
    return DecodeKanjiText(bytes, *code, lineEnds);
}

std::string LoadHtmlFile(const std::string& fileName, int& lineCount) {
    lineCount = 0;
    const std::string bytes = ReadFileBytes(fileName);
    std::optional<TDecodedText> decoded = DecodeHtmlBytes(bytes, TLineEnds::CrLf);
    if (!decoded) {
        return {};
    }
    lineCount = static_cast<int>(decoded->LineBreaks);
    return std::move(decoded->Text);
}

} // namespace hv

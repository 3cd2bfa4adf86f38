#pragma once

#include "Errors.h"
#include "text/KanjiDetect.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading HTML files: the loader that turns a file of any of the usual Japanese encodings or UTF-8
// into UTF-8 text, and a small forgiving tokenizer that yields text runs, tags with their
// attributes, and skipped comments and declarations. It keeps no element stack and decodes no
// character references; callers pick the elements they need by name.

namespace hv {

// The text ended inside a tag or inside a quoted attribute value. The message ends in
// "(行番号: %d)" with the line where reading stopped.
class EHtmlParseError : public EHVError {
public:
    EHtmlParseError(std::string_view message, int line);
    int Line() const { return m_Line; }
    const char* ClassName() const noexcept override { return "EHtmlParseError"; }

private:
    int m_Line;
};

// One attribute as written: the name with its letter case, the value raw (no references decoded,
// nothing trimmed). Both point into the parser's text and stay valid while the parser lives.
struct THtmlTagAttr {
    std::string_view Name;
    std::string_view Value;
};

class THtmlTag {
public:
    // As written; empty for text, comments and declarations.
    std::string_view Name() const { return m_Name; }
    // Start tag or end tag ("</name>"); keeps its value across tokens that are no tags.
    bool IsStart() const { return m_IsStart; }
    // In source order, duplicates kept.
    const std::vector<THtmlTagAttr>& Attrs() const { return m_Attrs; }

    // Names compare with ASCII letters case-insensitive. IsTag("") is true for text and comments.
    bool IsTag(std::string_view name) const;
    bool HasAttr(std::string_view name) const;
    // The value of the first attribute of that name, or "".
    std::string_view GetAttr(std::string_view name) const;

private:
    friend class THtmlParser;
    void Clear() {
        m_Name = {};
        m_Attrs.clear();
    }

    std::string_view m_Name;
    bool m_IsStart = false;
    std::vector<THtmlTagAttr> m_Attrs;
};

enum class THtmlTokenKind { Text, Tag, Comment };

// Walks UTF-8 text one token at a time. Rules, as browsers read pages:
// - "<" starts a tag only before an ASCII letter ("<b>") or "/" + letter ("</b>"); "<!--" runs
//   to "-->", any other "<!", "<?" or "</" + something else to the next ">"; every other "<" is text.
// - Tag names are runs of ASCII letters, digits, "_" and "-". Attribute names run up to a blank,
//   "/", ">", "=" or a quote; blanks may stand around "="; values are double-quoted, single-quoted
//   (a backslash before the closing quote keeps it in the value) or run to a blank or ">";
//   a "/" before ">" ends the tag.
// - The content of a "script" element is skipped up to its end tag, which gives no token either.
// - Line counts every LF (CR LF counts once).
// - A NUL in the text ends it.
class THtmlParser {
public:
    explicit THtmlParser(std::string text);
    THtmlParser(const THtmlParser&) = delete;
    THtmlParser& operator=(const THtmlParser&) = delete;

    // Reads one token; false (and an empty TokenText) at the end of the text. Throws
    // EHtmlParseError when the text ends inside a tag or a quoted value.
    bool Next();

    // The line where the last token ended, counted from 1.
    int Line() const { return m_Line; }
    // The source of the last token ("<" to ">" for a tag).
    std::string_view TokenText() const { return m_TokenText; }
    THtmlTokenKind Kind() const { return m_Kind; }
    bool IsText() const { return m_Kind == THtmlTokenKind::Text; }
    // The last tag; cleared for every token.
    const THtmlTag& Tag() const { return m_Tag; }
    bool Eof() const { return m_Pos >= m_End; }
    std::size_t Position() const { return m_Pos; }
    std::size_t Size() const { return m_End; }

private:
    bool StartsMarkup(std::size_t pos) const;
    void ScanText();
    void ReadTag();
    void ReadAttributes();
    std::string_view ReadQuoted();
    void SkipBlanks();
    void SkipPast(std::string_view marker);
    void SkipScript();
    void CountLines(std::size_t from, std::size_t to);
    [[noreturn]] void Fail(std::string_view message) const;

    std::string m_Text;
    std::size_t m_End = 0;
    std::size_t m_Pos = 0;
    int m_Line = 1;
    std::string_view m_TokenText;
    THtmlTokenKind m_Kind = THtmlTokenKind::Text;
    THtmlTag m_Tag;
};

// The encoding a browser reads these bytes in: UTF-8 after a UTF-8 byte order mark; else the
// charset of a <meta> in the first 4 KB when it names UTF-8, Shift_JIS, EUC-JP or ISO-2022-JP;
// else UTF-8 when the bytes are valid UTF-8 with at least one non-ASCII character; else
// DetectKanjiCode (nullopt when it rejects the bytes). Bytes from a NUL on are not looked at.
std::optional<TKanjiCode> DetectHtmlEncoding(std::string_view bytes);

// The bytes up to the first NUL decoded to UTF-8 in the encoding DetectHtmlEncoding chooses;
// nullopt when it rejects them.
std::optional<TDecodedText> DecodeHtmlBytes(std::string_view bytes, TLineEnds lineEnds);

// Reads a whole HTML file into UTF-8 text with CR LF line ends; lineCount is its number of line
// breaks. An empty or rejected file gives "" (no error). Throws EFileError when the file cannot
// be read.
std::string LoadHtmlFile(const std::string& fileName, int& lineCount);

} // namespace hv

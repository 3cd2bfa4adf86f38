#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The Japanese encodings of files read and written as HTML: telling them apart, and converting
// them to and from the program's UTF-8. Shift_JIS is code page 932 (text/Encoding.h); EUC-JP and
// JIS (ISO-2022-JP) go through Shift_JIS by the published arithmetic on JIS X 0208 codes.

namespace hv {

// kcNone: only 7-bit bytes. kcUtf8 is never the answer of DetectKanjiCode; the HTML loader
// decides it from the file's declaration or its bytes.
enum class TKanjiCode { kcNone, kcJis, kcSjis, kcEuc, kcUtf8 };

// Decides between kcNone, kcJis, kcSjis and kcEuc in one pass over bytes (stopping at the first
// NUL): an ESC before any 8-bit byte means JIS, 0x80..0xA0 Shift_JIS, bytes above 0xFC EUC-JP,
// and so on; when nothing decides, the share of bytes 0xA1..0xDF decides (at most 5 %:
// Shift_JIS). nullopt rejects the data: a control byte other than TAB, LF, CR and ESC came
// before the decision, or an ESC after an 8-bit byte.
std::optional<TKanjiCode> DetectKanjiCode(std::string_view bytes);

// True when bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// JIS X 0208 row/cell bytes (each 0x21..0x7E) to the Shift_JIS pair (lead << 8 | trail).
std::uint16_t JisToSjis(unsigned c1, unsigned c2);
// A Shift_JIS pair to the JIS X 0208 bytes (c1 << 8 | c2).
std::uint16_t SjisToJis(unsigned s1, unsigned s2);

enum class TLineEnds {
    Keep, // every byte of a line end stays as it is
    CrLf  // LF, CR LF and a lone CR each become CR LF
};

struct TDecodedText {
    std::string Text; // UTF-8
    // Line breaks: LF, CR LF and lone CR, each counted once.
    std::size_t LineBreaks = 0;
};

// Bytes in the given encoding to UTF-8. A byte that is no character there becomes U+F700 + byte
// (text/Encoding.h), so nothing is lost. kcNone reads as Shift_JIS; a UTF-8 byte order mark is
// dropped. JIS: ESC "$@" and ESC "$B" switch to JIS X 0208, ESC "(I" to half-width katakana, any
// other three-byte escape back to one byte per character. EUC-JP: 0x8E b is half-width katakana,
// 0x8F b1 b2 a JIS X 0212 character.
TDecodedText DecodeKanjiText(std::string_view bytes, TKanjiCode code, TLineEnds lineEnds);

// Called with a character that has no form in the target encoding; appends what to write instead.
using TUnmappableFn = std::function<void(std::string& out, char32_t cp)>;

// UTF-8 to bytes of the given encoding (kcNone and kcSjis: Shift_JIS). U+F780..U+F7FF are written
// as the bytes 0x80..0xFF in every encoding. A character without a form (outside CP932; for JIS
// and EUC-JP also the CP932 vendor extensions, user-defined characters and, for JIS, half-width
// katakana) goes to unmappable; without one it is written as a numeric character reference
// "&#NNN;". JIS starts in one-byte mode and returns to it at the end (ESC "(B").
std::string EncodeKanjiText(std::string_view utf8, TKanjiCode code, const TUnmappableFn& unmappable = {});

} // namespace hv

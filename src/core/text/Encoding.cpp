#include "text/Encoding.h"

#include "Errors.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <vector>

namespace hv {

namespace {

// Invalid bytes are carried as U+F700 + byte; only 0x80..0xFF can be invalid.
constexpr char32_t EscapeBase = 0xF700;
constexpr char32_t FirstEscape = 0xF780;
constexpr char32_t LastEscape = 0xF7FF;

bool IsEscape(char32_t cp) {
    return cp >= FirstEscape && cp <= LastEscape;
}

// One BMP character in UTF-8, padded to four bytes so that the hot loops copy it with one store.
struct TUtf8Unit {
    char Bytes[3] = {};
    std::uint8_t Len = 0;
};
static_assert(sizeof(TUtf8Unit) == 4);

TUtf8Unit MakeUnit(char32_t cp) {
    TUtf8Unit unit;
    if (cp < 0x80) {
        unit.Bytes[0] = static_cast<char>(cp);
        unit.Len = 1;
    } else if (cp < 0x800) {
        unit.Bytes[0] = static_cast<char>(0xC0 | (cp >> 6));
        unit.Bytes[1] = static_cast<char>(0x80 | (cp & 0x3F));
        unit.Len = 2;
    } else {
        unit.Bytes[0] = static_cast<char>(0xE0 | (cp >> 12));
        unit.Bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        unit.Bytes[2] = static_cast<char>(0x80 | (cp & 0x3F));
        unit.Len = 3;
    }
    return unit;
}

const std::uint8_t* Bytes(std::string_view s) {
    return reinterpret_cast<const std::uint8_t*>(s.data());
}

bool IsContinuation(std::uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at p (1..4) and its code point, or 0 when the byte at p
// does not start one (the ranges of the Unicode standard's table of well-formed byte sequences).
inline std::size_t Utf8SequenceAt(const std::uint8_t* p, std::size_t avail, char32_t& cp) {
    const std::uint8_t b0 = p[0];
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    if (b0 < 0xC2) {
        return 0;
    }
    if (b0 < 0xE0) {
        if (avail < 2 || !IsContinuation(p[1])) {
            return 0;
        }
        cp = (char32_t(b0 & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    if (b0 < 0xF0) {
        const std::uint8_t lo = b0 == 0xE0 ? 0xA0 : 0x80; // no overlongs
        const std::uint8_t hi = b0 == 0xED ? 0x9F : 0xBF; // no surrogates
        if (avail < 3 || p[1] < lo || p[1] > hi || !IsContinuation(p[2])) {
            return 0;
        }
        cp = (char32_t(b0 & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        return 3;
    }
    if (b0 < 0xF5) {
        const std::uint8_t lo = b0 == 0xF0 ? 0x90 : 0x80; // no overlongs
        const std::uint8_t hi = b0 == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
        if (avail < 4 || p[1] < lo || p[1] > hi || !IsContinuation(p[2]) || !IsContinuation(p[3])) {
            return 0;
        }
        cp = (char32_t(b0 & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
        return 4;
    }
    return 0;
}

// End of the run of ASCII bytes that starts at i, eight bytes at a time.
inline std::size_t AsciiRunEnd(const std::uint8_t* p, std::size_t i, std::size_t n) {
    while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        const std::uint64_t high = word & 0x8080808080808080ULL;
        if (high != 0) {
            if constexpr (std::endian::native == std::endian::little) {
                return i + static_cast<std::size_t>(std::countr_zero(high) / 8);
            }
            break;
        }
        i += 8;
    }
    while (i < n && p[i] < 0x80) {
        ++i;
    }
    return i;
}

// ---- CP932 tables --------------------------------------------------------------------------------

bool IsCp932Lead(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsCp932Trail(unsigned b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

class TIconv {
public:
    TIconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) {
            throw EHVError(std::string("The conversion from ") + from + " to " + to + " is not available (iconv).");
        }
    }
    ~TIconv() { iconv_close(m_cd); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    // The whole of in converted, or nullopt when iconv refuses any of it.
    std::optional<std::string> Convert(std::string_view in) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[32];
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = buffer;
        std::size_t outLeft = sizeof(buffer);
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
            return std::nullopt;
        }
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        return std::string(buffer, static_cast<std::size_t>(outPtr - buffer));
    }

private:
    iconv_t m_cd;
};

struct TCp932Tables {
    std::array<TUtf8Unit, 256> Single{}; // characters of one byte; Len 0 for the others
    std::array<TUtf8Unit, 256> Escape{}; // U+F700 + byte for 0x80..0xFF
    std::vector<TUtf8Unit> Pair;         // index lead << 8 | trail; Len 0 when not a character
    std::vector<std::uint16_t> Encode;   // BMP code point to its code (< 0x100: one byte); 0 = none
};

// Asks iconv once for every single byte and every lead/trail pair, keeping a code only when its
// character converts back to exactly that code. So decoding and encoding are inverse on the table.
TCp932Tables BuildCp932Tables() {
    TCp932Tables t;
    t.Pair.resize(0x10000);
    t.Encode.assign(0x10000, 0);
    TIconv toUtf8("UTF-8", "CP932");
    TIconv fromUtf8("CP932", "UTF-8");

    auto tryAdd = [&](std::string_view code) -> std::optional<char32_t> {
        const auto utf8 = toUtf8.Convert(code);
        if (!utf8 || utf8->empty()) {
            return std::nullopt;
        }
        char32_t cp = 0;
        if (Utf8SequenceAt(Bytes(*utf8), utf8->size(), cp) != utf8->size() || cp < 0x80 || cp > 0xFFFF ||
            (cp >= EscapeBase && cp <= LastEscape) || t.Encode[cp] != 0) {
            return std::nullopt;
        }
        if (fromUtf8.Convert(*utf8) != code) {
            return std::nullopt;
        }
        return cp;
    };

    for (unsigned b = 0; b < 0x80; ++b) {
        t.Single[b] = MakeUnit(b);
    }
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        const char code = static_cast<char>(b);
        if (const auto cp = tryAdd(std::string_view(&code, 1))) {
            t.Single[b] = MakeUnit(*cp);
            t.Encode[*cp] = static_cast<std::uint16_t>(b);
        }
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932Lead(lead)) {
            continue;
        }
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!IsCp932Trail(trail)) {
                continue;
            }
            const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            if (const auto cp = tryAdd(std::string_view(code, 2))) {
                t.Pair[(lead << 8) | trail] = MakeUnit(*cp);
                t.Encode[*cp] = static_cast<std::uint16_t>((lead << 8) | trail);
            }
        }
    }
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        t.Escape[b] = MakeUnit(EscapeBase + b);
        t.Encode[EscapeBase + b] = static_cast<std::uint16_t>(b);
    }
    return t;
}

const TCp932Tables& Cp932Tables() {
    static const TCp932Tables tables = BuildCp932Tables();
    return tables;
}

// Encodes utf8 into out (which must hold utf8.size() bytes) or only checks it when out is null.
// Returns the number of bytes written, or nullopt when a character has no CP932 form.
std::optional<std::size_t> EncodeCp932Into(std::string_view utf8, char* out) {
    const TCp932Tables& t = Cp932Tables();
    const std::uint8_t* p = Bytes(utf8);
    const std::size_t n = utf8.size();
    char* o = out;
    std::size_t i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            const std::size_t end = AsciiRunEnd(p, i, n);
            if (out != nullptr) {
                std::memcpy(o, p + i, end - i);
                o += end - i;
            }
            i = end;
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = Utf8SequenceAt(p + i, n - i, cp);
        if (len == 0 || cp > 0xFFFF) {
            return std::nullopt;
        }
        const std::uint16_t code = t.Encode[cp];
        if (code == 0) {
            return std::nullopt;
        }
        if (out != nullptr) {
            if (code >= 0x100) {
                *o++ = static_cast<char>(code >> 8);
            }
            *o++ = static_cast<char>(code & 0xFF);
        }
        i += len;
    }
    return static_cast<std::size_t>(o - out);
}

} // namespace

namespace {

// Every byte gives at most three bytes of UTF-8; one more for the four-byte stores.
std::size_t Cp932DecodedBound(std::size_t n) {
    return n * 3 + 4;
}

// Decodes bytes into start, which holds Cp932DecodedBound(bytes.size()) bytes; returns how many
// it wrote.
std::size_t DecodeCp932Into(std::string_view bytes, char* const start) {
    const TCp932Tables& t = Cp932Tables();
    const std::uint8_t* p = Bytes(bytes);
    const std::size_t n = bytes.size();
    char* o = start;
    std::size_t i = 0;
    while (i < n) {
        const std::uint8_t b = p[i];
        if (b < 0x80) {
            const std::size_t end = AsciiRunEnd(p, i, n);
            std::memcpy(o, p + i, end - i);
            o += end - i;
            i = end;
            continue;
        }
        const TUtf8Unit* unit = &t.Single[b];
        std::size_t used = 1;
        if (unit->Len == 0) {
            // Pair entries of bytes that are no lead are empty, so no lead test is needed here.
            const TUtf8Unit* pair = i + 1 < n ? &t.Pair[(unsigned(b) << 8) | p[i + 1]] : nullptr;
            if (pair != nullptr && pair->Len != 0) {
                unit = pair;
                used = 2;
            } else {
                unit = &t.Escape[b];
            }
        }
        std::memcpy(o, unit, sizeof(TUtf8Unit));
        o += unit->Len;
        i += used;
    }
    return static_cast<std::size_t>(o - start);
}

} // namespace

std::string DecodeCp932(std::string_view bytes) {
    // The scratch buffer is left uninitialised: zero-filling three times the input costs more than
    // the decoding itself on large documents.
    std::unique_ptr<char[]> buffer(new char[Cp932DecodedBound(bytes.size())]);
    return std::string(buffer.get(), DecodeCp932Into(bytes, buffer.get()));
}

void DecodeCp932Append(std::string_view bytes, std::string& out) {
    const std::size_t old = out.size();
    out.resize(old + Cp932DecodedBound(bytes.size()));
    out.resize(old + DecodeCp932Into(bytes, out.data() + old));
}

std::optional<std::string> EncodeCp932(std::string_view utf8) {
    // CP932 never needs more bytes than UTF-8 for the same character.
    std::string out(utf8.size(), '\0');
    const auto len = EncodeCp932Into(utf8, out.data());
    if (!len) {
        return std::nullopt;
    }
    out.resize(*len);
    return out;
}

bool HasCp932Form(std::string_view utf8) {
    return EncodeCp932Into(utf8, nullptr).has_value();
}

std::string DecodeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    DecodeUtf8Append(bytes, out);
    return out;
}

void DecodeUtf8Append(std::string_view bytes, std::string& out) {
    const std::uint8_t* p = Bytes(bytes);
    const std::size_t n = bytes.size();
    std::size_t runStart = 0; // start of the well-formed bytes not yet copied
    std::size_t i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            i = AsciiRunEnd(p, i, n);
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = Utf8SequenceAt(p + i, n - i, cp);
        if (len != 0 && !IsEscape(cp)) {
            i += len;
            continue;
        }
        // An invalid byte, or a real U+F780..U+F7FF whose bytes must survive EncodeUtf8.
        out.append(bytes.substr(runStart, i - runStart));
        const std::size_t count = len != 0 ? len : 1;
        for (std::size_t k = 0; k < count; ++k) {
            const TUtf8Unit unit = MakeUnit(EscapeBase + p[i + k]);
            out.append(unit.Bytes, unit.Len);
        }
        i += count;
        runStart = i;
    }
    out.append(bytes.substr(runStart));
}

std::string EncodeUtf8(std::string_view utf8) {
    const std::uint8_t* p = Bytes(utf8);
    const std::size_t n = utf8.size();
    std::string out;
    out.reserve(n);
    std::size_t runStart = 0;
    std::size_t i = 0;
    // U+F780..U+F7FF are EF 9E 80..EF 9F BF; EF is never a continuation byte, so search for it.
    while (i < n) {
        const void* hit = std::memchr(p + i, 0xEF, n - i);
        if (hit == nullptr) {
            break;
        }
        const std::size_t k = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - p);
        if (k + 2 < n && (p[k + 1] == 0x9E || p[k + 1] == 0x9F) && IsContinuation(p[k + 2])) {
            out.append(utf8.substr(runStart, k - runStart));
            out.push_back(static_cast<char>(0x80 + (((p[k + 1] & 1) << 6) | (p[k + 2] & 0x3F))));
            i = k + 3;
            runStart = i;
        } else {
            i = k + 1;
        }
    }
    out.append(utf8.substr(runStart));
    return out;
}

} // namespace hv

#include "text/Encoding.h"

#include "Errors.h"
#include "text/Utf8.h"

#include <algorithm>
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
    if (cp > 0xFFFF) {
        cp = kReplacementChar; // the tables hold BMP characters only
    }
    char bytes[4];
    const std::size_t length = EncodeUtf8Char(cp, bytes);
    TUtf8Unit unit;
    std::copy_n(bytes, length, unit.Bytes);
    unit.Len = static_cast<std::uint8_t>(length);
    return unit;
}

const std::uint8_t* Bytes(std::string_view s) {
    return reinterpret_cast<const std::uint8_t*>(s.data());
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
            throw EHVError(std::string("文字コードを ") + from + " から " + to +
                           " に変換できません (iconv にその変換がありません)。");
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

// The decoding tables. Pairs are kept in one row of 256 trail bytes for each lead byte; row 0
// stands for the bytes that are no lead and stays empty.
struct TCp932Tables {
    std::array<TUtf8Unit, 256> Single{}; // characters of one byte; Len 0 for the others
    std::array<TUtf8Unit, 256> Escape{}; // U+F700 + byte for 0x80..0xFF
    std::array<std::uint8_t, 256> Row{}; // the row of each lead byte, 0 for the others
    std::vector<TUtf8Unit> Pair;         // index row << 8 | trail; Len 0 when not a character

    const TUtf8Unit& PairOf(std::uint8_t lead, std::uint8_t trail) const {
        return Pair[(unsigned(Row[lead]) << 8) | trail];
    }
};

// The character of code, when iconv reads it as one BMP character outside the escapes.
std::optional<char32_t> DecodeWithIconv(TIconv& toUtf8, std::string_view code) {
    const auto utf8 = toUtf8.Convert(code);
    if (!utf8 || utf8->empty()) {
        return std::nullopt;
    }
    char32_t cp = 0;
    if (Utf8SequenceAt(Bytes(*utf8), utf8->size(), cp) != utf8->size() || cp < 0x80 || cp > 0xFFFF ||
        (cp >= EscapeBase && cp <= LastEscape)) {
        return std::nullopt;
    }
    return cp;
}

// Asks iconv once for every single byte and every lead/trail pair. Every code iconv reads is
// decoded, the duplicate codes included (Windows gives several characters two codes each: the NEC
// row 13 copies of JIS characters, the NEC-selected IBM extensions beside the IBM ones).
TCp932Tables BuildCp932Tables() {
    TCp932Tables t;
    TIconv toUtf8("UTF-8", "CP932");
    for (unsigned b = 0; b < 0x80; ++b) {
        t.Single[b] = MakeUnit(b);
    }
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        const char code = static_cast<char>(b);
        if (const auto cp = DecodeWithIconv(toUtf8, std::string_view(&code, 1))) {
            t.Single[b] = MakeUnit(*cp);
        }
    }
    unsigned rows = 1;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (IsCp932Lead(lead)) {
            t.Row[lead] = static_cast<std::uint8_t>(rows++);
        }
    }
    t.Pair.resize(std::size_t(rows) << 8);
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (t.Row[lead] == 0) {
            continue;
        }
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!IsCp932Trail(trail)) {
                continue;
            }
            const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            if (const auto cp = DecodeWithIconv(toUtf8, std::string_view(code, 2))) {
                t.Pair[(unsigned(t.Row[lead]) << 8) | trail] = MakeUnit(*cp);
            }
        }
    }
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        t.Escape[b] = MakeUnit(EscapeBase + b);
    }
    return t;
}

const TCp932Tables& Cp932Tables() {
    static const TCp932Tables tables = BuildCp932Tables();
    return tables;
}

// BMP code point to its code (< 0x100: one byte); 0 for none. Each character is encoded with the
// one code iconv writes for it, which is the code Windows writes. Made on the first encoding, so
// that programs which only read never build it.
std::vector<std::uint16_t> BuildCp932Encoding() {
    const TCp932Tables& t = Cp932Tables();
    std::vector<std::uint16_t> encode(0x10000, 0);
    TIconv fromUtf8("CP932", "UTF-8");
    // Records code as the code of unit's character when it is the one iconv writes for it. "¥",
    // which iconv writes as 0x5C by best fit, so gets none: it has no CP932 form.
    auto prefer = [&](const TUtf8Unit& unit, std::string_view code, std::uint16_t value) {
        char32_t cp = 0;
        if (unit.Len == 0 || Utf8SequenceAt(reinterpret_cast<const std::uint8_t*>(unit.Bytes), unit.Len, cp) == 0) {
            return;
        }
        if (encode[cp] == 0 && fromUtf8.Convert(std::string_view(unit.Bytes, unit.Len)) == code) {
            encode[cp] = value;
        }
    };
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        const char code = static_cast<char>(b);
        prefer(t.Single[b], std::string_view(&code, 1), static_cast<std::uint16_t>(b));
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (t.Row[lead] == 0) {
            continue;
        }
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            prefer(t.PairOf(static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)),
                   std::string_view(code, 2), static_cast<std::uint16_t>((lead << 8) | trail));
        }
    }
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        encode[EscapeBase + b] = static_cast<std::uint16_t>(b);
    }
    return encode;
}

const std::vector<std::uint16_t>& Cp932Encoding() {
    static const std::vector<std::uint16_t> encode = BuildCp932Encoding();
    return encode;
}

// Encodes utf8 into out (which must hold utf8.size() bytes) or only checks it when out is null.
// Returns the number of bytes written, or nullopt when a character has no CP932 form.
std::optional<std::size_t> EncodeCp932Into(std::string_view utf8, char* out) {
    const std::vector<std::uint16_t>& encode = Cp932Encoding();
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
        const std::uint16_t code = encode[cp];
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
            // Bytes that are no lead find the empty row, so no lead test is needed here.
            const TUtf8Unit* pair = i + 1 < n ? &t.PairOf(b, p[i + 1]) : nullptr;
            if (pair != nullptr && pair->Len != 0) {
                unit = pair;
                used = 2;
            } else if (pair != nullptr && IsCp932Lead(b) && IsCp932Trail(p[i + 1])) {
                // A well-formed pair without a character: both bytes are kept, so the trail byte is
                // never read as the lead of the next character.
                std::memcpy(o, &t.Escape[b], sizeof(TUtf8Unit));
                o += t.Escape[b].Len;
                unit = p[i + 1] < 0x80 ? &t.Single[p[i + 1]] : &t.Escape[p[i + 1]];
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

bool EncodeCp932Append(std::string_view utf8, std::string& out) {
    const std::size_t old = out.size();
    // The string grows geometrically, so appending piece by piece stays linear.
    if (out.capacity() < old + utf8.size()) {
        out.reserve(std::max(old + utf8.size(), out.capacity() * 2));
    }
    out.resize(old + utf8.size());
    const auto len = EncodeCp932Into(utf8, out.data() + old);
    out.resize(len ? old + *len : old);
    return len.has_value();
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
    std::string out;
    out.reserve(utf8.size());
    EncodeUtf8Append(utf8, out);
    return out;
}

void EncodeUtf8Append(std::string_view utf8, std::string& out) {
    const std::uint8_t* p = Bytes(utf8);
    const std::size_t n = utf8.size();
    std::size_t runStart = 0;
    std::size_t i = 0;
    // U+F780..U+F7FF are EF 9E 80..EF 9F BF; EF is never a continuation byte, so search for it.
    while (i < n) {
        const void* hit = std::memchr(p + i, 0xEF, n - i);
        if (hit == nullptr) {
            break;
        }
        const std::size_t k = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - p);
        if (k + 2 < n && (p[k + 1] == 0x9E || p[k + 1] == 0x9F) && IsUtf8Continuation(p[k + 2])) {
            out.append(utf8.substr(runStart, k - runStart));
            out.push_back(static_cast<char>(0x80 + (((p[k + 1] & 1) << 6) | (p[k + 2] & 0x3F))));
            i = k + 3;
            runStart = i;
        } else {
            i = k + 1;
        }
    }
    out.append(utf8.substr(runStart));
}

} // namespace hv

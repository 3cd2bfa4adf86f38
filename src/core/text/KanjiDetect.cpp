#include "text/KanjiDetect.h"

#include "text/CharRefs.h"
#include "text/Encoding.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iconv.h>

namespace hv {

namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr char32_t kEscapeBase = 0xF700;

bool IsRejectedControl(unsigned b) {
    return (b >= 0x01 && b <= 0x08) || b == 0x0B || b == 0x0C || (b >= 0x0E && b <= 0x1A) || (b >= 0x1C && b <= 0x1F);
}

const unsigned char* Bytes(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

// Writes a line end found at p[i] (CR or LF) and returns the index after it.
std::size_t PutLineEnd(const unsigned char* p, std::size_t i, std::size_t n, TLineEnds lineEnds, std::string& out,
                       std::size_t& count) {
    const bool crlf = p[i] == '\r' && i + 1 < n && p[i + 1] == '\n';
    const std::size_t length = crlf ? 2 : 1;
    if (lineEnds == TLineEnds::CrLf) {
        out += "\r\n";
    } else {
        out.append(reinterpret_cast<const char*>(p + i), length);
    }
    ++count;
    return i + length;
}

// The bytes with their line ends converted (or kept) and counted.
std::string ConvertLineEnds(std::string_view bytes, TLineEnds lineEnds, std::size_t& count) {
    const unsigned char* p = Bytes(bytes);
    const std::size_t n = bytes.size();
    std::string out;
    out.reserve(n + n / 32);
    // The next LF and the next CR at or after i, searched again only once passed.
    auto find = [&](unsigned char c, std::size_t from) {
        const void* hit = std::memchr(p + from, c, n - from);
        return hit == nullptr ? n : static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - p);
    };
    std::size_t nextLf = find('\n', 0);
    std::size_t nextCr = find('\r', 0);
    std::size_t i = 0;
    while (i < n) {
        if (nextLf < i) {
            nextLf = find('\n', i);
        }
        if (nextCr < i) {
            nextCr = find('\r', i);
        }
        const std::size_t next = std::min(nextLf, nextCr);
        out.append(bytes.substr(i, next - i));
        if (next == n) {
            break;
        }
        i = PutLineEnd(p, next, n, lineEnds, out, count);
    }
    return out;
}

void AppendEscapedByte(std::string& out, unsigned char b) {
    AppendUtf8(out, kEscapeBase + b);
}

// Collects Shift_JIS bytes and turns them into UTF-8 in one go; bytes that must not pair with
// their neighbours are put straight into the output after a flush.
class TSjisCollector {
public:
    explicit TSjisCollector(std::string& out) : m_Out(out) {}
    void Byte(unsigned b) { m_Sjis.push_back(static_cast<char>(b)); }
    void Pair(std::uint16_t code) {
        m_Sjis.push_back(static_cast<char>(code >> 8));
        m_Sjis.push_back(static_cast<char>(code & 0xFF));
    }
    std::string& Sjis() { return m_Sjis; }
    void Flush() {
        if (!m_Sjis.empty()) {
            m_Out += DecodeCp932(m_Sjis);
            m_Sjis.clear();
        }
    }
    std::string& Direct() {
        Flush();
        return m_Out;
    }

private:
    std::string& m_Out;
    std::string m_Sjis;
};

// One JIS X 0212 character of EUC-JP (0x8F b1 b2) through iconv; nothing when it has no Unicode form.
std::string DecodeEucJis0212(std::string_view three) {
    iconv_t cd = iconv_open("UTF-8", "EUC-JP");
    if (cd == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) {
        return {};
    }
    char buffer[16];
    char* in = const_cast<char*>(three.data());
    std::size_t inLeft = three.size();
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1) || inLeft != 0) {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(outPtr - buffer));
}

bool IsEucByte(unsigned b) {
    return b >= 0xA1 && b <= 0xFE;
}

TDecodedText DecodeEuc(std::string_view bytes, TLineEnds lineEnds) {
    TDecodedText result;
    TSjisCollector sjis(result.Text);
    const unsigned char* p = Bytes(bytes);
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned b = p[i];
        if (b == '\r' || b == '\n') {
            i = PutLineEnd(p, i, n, lineEnds, sjis.Sjis(), result.LineBreaks);
        } else if (b < 0x80) {
            sjis.Byte(b);
            ++i;
        } else if (b == 0x8E && i + 1 < n && p[i + 1] >= 0xA1 && p[i + 1] <= 0xDF) {
            sjis.Byte(p[i + 1]); // half-width katakana
            i += 2;
        } else if (b == 0x8F && i + 2 < n && IsEucByte(p[i + 1]) && IsEucByte(p[i + 2])) {
            const std::string character = DecodeEucJis0212(bytes.substr(i, 3));
            std::string& out = sjis.Direct();
            if (character.empty()) {
                for (std::size_t k = 0; k < 3; ++k) {
                    AppendEscapedByte(out, p[i + k]);
                }
            } else {
                out += character;
            }
            i += 3;
        } else if (IsEucByte(b) && i + 1 < n && IsEucByte(p[i + 1])) {
            sjis.Pair(JisToSjis(b - 0x80, p[i + 1] - 0x80u));
            i += 2;
        } else {
            AppendEscapedByte(sjis.Direct(), static_cast<unsigned char>(b));
            ++i;
        }
    }
    sjis.Flush();
    return result;
}

bool IsJisByte(unsigned b) {
    return b >= 0x21 && b <= 0x7E;
}

TDecodedText DecodeJis(std::string_view bytes, TLineEnds lineEnds) {
    enum class TMode { OneByte, Kanji, Kana };
    TDecodedText result;
    TSjisCollector sjis(result.Text);
    const unsigned char* p = Bytes(bytes);
    const std::size_t n = bytes.size();
    TMode mode = TMode::OneByte;
    std::size_t i = 0;
    while (i < n) {
        const unsigned b = p[i];
        if (b == kEsc) {
            const std::string_view sequence = bytes.substr(i + 1, 2);
            if (sequence == "$@" || sequence == "$B") {
                mode = TMode::Kanji;
            } else if (sequence == "(I") {
                mode = TMode::Kana;
            } else {
                mode = TMode::OneByte;
            }
            i = std::min(n, i + 3);
        } else if (b == '\r' || b == '\n') {
            i = PutLineEnd(p, i, n, lineEnds, sjis.Sjis(), result.LineBreaks);
        } else if (b >= 0x80) {
            // Eight-bit bytes have no place in JIS; a pair that reads as EUC-JP is taken as such.
            if (IsEucByte(b) && i + 1 < n && IsEucByte(p[i + 1])) {
                sjis.Pair(JisToSjis(b - 0x80, p[i + 1] - 0x80u));
                i += 2;
            } else {
                AppendEscapedByte(sjis.Direct(), static_cast<unsigned char>(b));
                ++i;
            }
        } else if (mode == TMode::Kanji && IsJisByte(b) && i + 1 < n && IsJisByte(p[i + 1])) {
            sjis.Pair(JisToSjis(b, p[i + 1]));
            i += 2;
        } else if (mode == TMode::Kana && b >= 0x21 && b <= 0x5F) {
            sjis.Byte(b + 0x80);
            ++i;
        } else {
            sjis.Byte(b);
            ++i;
        }
    }
    sjis.Flush();
    return result;
}

// The code point of the UTF-8 sequence at s[i] and its length; a byte that starts no valid
// sequence gives U+FFFD and length 1.
std::size_t NextChar(std::string_view s, std::size_t i, char32_t& cp) {
    if (const std::size_t length = Utf8SequenceAt(s, i, cp)) {
        return length;
    }
    cp = kReplacementChar;
    return 1;
}

// Lead bytes of CP932 whose pairs are JIS X 0208 codes (rows 1..88; NEC row 13 included).
bool HasJisForm(unsigned lead) {
    return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEC);
}

} // namespace

std::optional<TKanjiCode> DetectKanjiCode(std::string_view bytes) {
    bool ascii = true;
    bool odd = false;
    bool e = false;
    std::size_t katakana = 0;
    std::size_t scanned = 0;
    for (const char c : bytes) {
        const unsigned b = static_cast<unsigned char>(c);
        if (b == 0) {
            break;
        }
        ++scanned;
        if (b == kEsc) {
            if (ascii) {
                return TKanjiCode::kcJis;
            }
            return std::nullopt;
        }
        if (IsRejectedControl(b)) {
            return std::nullopt;
        }
        if (b < 0x80) {
            if (odd) {
                return TKanjiCode::kcSjis;
            }
            if (e && b < 0x40) {
                return TKanjiCode::kcEuc;
            }
            e = false;
            continue;
        }
        if (b <= 0xA0) {
            return TKanjiCode::kcSjis;
        }
        if (b > 0xFC || (b >= 0xF0 && e)) {
            return TKanjiCode::kcEuc;
        }
        ascii = false;
        odd = !odd;
        if (b < 0xE0) {
            if (!e) {
                ++katakana;
            }
            e = false;
        } else {
            e = !e;
        }
    }
    if (ascii) {
        return TKanjiCode::kcNone;
    }
    return static_cast<double>(katakana) / static_cast<double>(scanned) <= 0.05 ? TKanjiCode::kcSjis
                                                                                : TKanjiCode::kcEuc;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t length = NextChar(bytes, i, cp);
        if (length == 1) {
            return false;
        }
        i += length;
    }
    return true;
}

std::uint16_t JisToSjis(unsigned c1, unsigned c2) {
    unsigned trail = 0;
    if ((c1 & 1) != 0) {
        trail = c2 + 0x1F;
        if (trail >= 0x7F) {
            ++trail;
        }
    } else {
        trail = c2 + 0x7E;
    }
    unsigned lead = ((c1 - 0x21) >> 1) + 0x81;
    if (lead >= 0xA0) {
        lead += 0x40;
    }
    return static_cast<std::uint16_t>(((lead & 0xFF) << 8) | (trail & 0xFF));
}

std::uint16_t SjisToJis(unsigned s1, unsigned s2) {
    if (s1 >= 0xE0) {
        s1 -= 0x40;
    }
    const unsigned r = s1 - 0x81;
    unsigned c1 = 0;
    unsigned c2 = 0;
    if (s2 >= 0x9F) {
        c1 = 2 * r + 0x22;
        c2 = s2 - 0x7E;
    } else {
        if (s2 >= 0x80) {
            --s2;
        }
        c1 = 2 * r + 0x21;
        c2 = s2 - 0x1F;
    }
    return static_cast<std::uint16_t>(((c1 & 0xFF) << 8) | (c2 & 0xFF));
}

TDecodedText DecodeKanjiText(std::string_view bytes, TKanjiCode code, TLineEnds lineEnds) {
    switch (code) {
    case TKanjiCode::kcEuc:
        return DecodeEuc(bytes, lineEnds);
    case TKanjiCode::kcJis:
        return DecodeJis(bytes, lineEnds);
    case TKanjiCode::kcUtf8: {
        if (bytes.starts_with("\xEF\xBB\xBF")) {
            bytes.remove_prefix(3);
        }
        TDecodedText result;
        result.Text = DecodeUtf8(ConvertLineEnds(bytes, lineEnds, result.LineBreaks));
        return result;
    }
    case TKanjiCode::kcNone:
    case TKanjiCode::kcSjis:
        break;
    }
    TDecodedText result;
    result.Text = DecodeCp932(ConvertLineEnds(bytes, lineEnds, result.LineBreaks));
    return result;
}

std::string EncodeKanjiText(std::string_view utf8, TKanjiCode code, const TUnmappableFn& unmappable) {
    if (code == TKanjiCode::kcUtf8) {
        return EncodeUtf8(utf8);
    }
    const bool sjis = code == TKanjiCode::kcSjis || code == TKanjiCode::kcNone;
    if (sjis) {
        if (auto bytes = EncodeCp932(utf8)) {
            return *bytes;
        }
    }
    std::string out;
    out.reserve(utf8.size() + 8);
    bool kanjiMode = false;
    auto toOneByte = [&] {
        if (kanjiMode) {
            out += "\x1B(B";
            kanjiMode = false;
        }
    };
    auto fail = [&](char32_t cp) {
        toOneByte();
        if (unmappable) {
            unmappable(out, cp);
        } else {
            out += NumericCharRef(cp);
        }
    };
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const std::size_t length = NextChar(utf8, i, cp);
        const std::string_view character = utf8.substr(i, length);
        i += length;
        if (cp < 0x80) {
            toOneByte();
            out.push_back(static_cast<char>(cp));
            continue;
        }
        if (cp >= kEscapeBase + 0x80 && cp <= kEscapeBase + 0xFF) {
            toOneByte();
            out.push_back(static_cast<char>(cp - kEscapeBase));
            continue;
        }
        const std::optional<std::string> encoded = cp == 0xFFFD && length == 1 ? std::nullopt : EncodeCp932(character);
        if (!encoded || encoded->empty()) {
            fail(cp);
            continue;
        }
        const auto lead = static_cast<unsigned char>((*encoded)[0]);
        if (sjis) {
            out += *encoded;
        } else if (encoded->size() == 1) {
            if (code == TKanjiCode::kcEuc) {
                out.push_back('\x8E');
                out.push_back(static_cast<char>(lead));
            } else {
                fail(cp);
            }
        } else if (!HasJisForm(lead)) {
            fail(cp);
        } else {
            const std::uint16_t jis = SjisToJis(lead, static_cast<unsigned char>((*encoded)[1]));
            if (code == TKanjiCode::kcEuc) {
                out.push_back(static_cast<char>((jis >> 8) | 0x80));
                out.push_back(static_cast<char>((jis & 0xFF) | 0x80));
            } else {
                if (!kanjiMode) {
                    out += "\x1B$B";
                    kanjiMode = true;
                }
                out.push_back(static_cast<char>(jis >> 8));
                out.push_back(static_cast<char>(jis & 0xFF));
            }
        }
    }
    toOneByte();
    return out;
}

} // namespace hv

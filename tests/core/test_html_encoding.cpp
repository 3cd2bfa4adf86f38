#include "BookmarkTestSupport.h"
#include "importexport/HtmlParse.h"
#include "text/Encoding.h"
#include "text/KanjiDetect.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace hv {
namespace {

// Kanji, hiragana, full-width and half-width katakana, a symbol, NEC's circled one, and ASCII.
const std::string kJapanese = "日本語のテキスト、ｶﾀｶﾅとカタカナ ①【記号】 abc";

TEST(DetectKanjiCode, Decides) {
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::optional<TKanjiCode> Expected;
    };
    const TCase cases[] = {
        {"Ascii", "plain\r\n\ttext", TKanjiCode::kcNone},
        {"EscapeBeforeEightBit", "a\x1B$B$\"\x1B(B\xA4", TKanjiCode::kcJis},
        {"EscapeAfterEightBit", "\xA4\xA2\x1B$B", std::nullopt},
        {"SjisLeadByte", "x\x85\x40", TKanjiCode::kcSjis},
        {"ByteAboveFC", "\xFD", TKanjiCode::kcEuc},
        {"EucKanji", "\xC6\xFC\xCB\xDC", TKanjiCode::kcEuc},
        {"SjisKanjiWithAsciiTrail", "\xE3\x41", TKanjiCode::kcSjis},
        {"FewKatakanaAreSjis", std::string(40, 'a') + "\xB1", TKanjiCode::kcSjis},
        {"ControlByteRejects", "a\x01\x85", std::nullopt},
        {"ControlAfterDecisionIsNotSeen", "\x85\x40\x01", TKanjiCode::kcSjis},
        {"NulStopsScanning", "abc\0\x85"s, TKanjiCode::kcNone},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(DetectKanjiCode(c.Bytes), c.Expected) << c.Name;
    }
}

TEST(JisArithmetic, SjisToJisUndoesJisToSjisForEveryCode) {
    for (unsigned c1 = 0x21; c1 <= 0x7E; ++c1) {
        for (unsigned c2 = 0x21; c2 <= 0x7E; ++c2) {
            const std::uint16_t sjis = JisToSjis(c1, c2);
            ASSERT_EQ(SjisToJis(sjis >> 8, sjis & 0xFF), (c1 << 8) | c2) << std::hex << c1 << ' ' << c2;
        }
    }
    EXPECT_EQ(JisToSjis(0x46, 0x7C), 0x93FA); // 日
    EXPECT_EQ(JisToSjis(0x24, 0x22), 0x82A0); // あ
}

struct TEncodedCase {
    const char* Name;
    TKanjiCode Code;
    std::string Bytes; // "日本" written in that encoding
};

class TKanjiTextTest : public ::testing::TestWithParam<TEncodedCase> {};

TEST_P(TKanjiTextTest, KnownBytesDecodeAndEncodingAndDecodingGiveTheTextBack) {
    const TKanjiCode code = GetParam().Code;
    EXPECT_EQ(DecodeKanjiText(GetParam().Bytes, code, TLineEnds::Keep).Text, "日本");
    const std::string text = code == TKanjiCode::kcJis ? "日本語 ①、カナ abc" : kJapanese;
    EXPECT_EQ(DecodeKanjiText(EncodeKanjiText(text, code), code, TLineEnds::Keep).Text, text);
    EXPECT_EQ(EncodeKanjiText("日本", code), GetParam().Bytes);
}

INSTANTIATE_TEST_SUITE_P(Encodings, TKanjiTextTest,
                         ::testing::Values(TEncodedCase{"Sjis", TKanjiCode::kcSjis, "\x93\xFA\x96\x7B"},
                                           TEncodedCase{"Euc", TKanjiCode::kcEuc, "\xC6\xFC\xCB\xDC"},
                                           TEncodedCase{"Jis", TKanjiCode::kcJis, "\x1B$BF|K\\\x1B(B"},
                                           TEncodedCase{"Utf8", TKanjiCode::kcUtf8, "日本"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(KanjiText, CharactersWithoutAFormBecomeReferences) {
    EXPECT_EQ(EncodeKanjiText("a😀髙", TKanjiCode::kcSjis), "a&#128512;\xFB\xFC");
    // The IBM extensions have no JIS X 0208 code; JIS has no half-width katakana.
    EXPECT_EQ(EncodeKanjiText("髙ｱ", TKanjiCode::kcEuc), "&#39641;\x8E\xB1");
    EXPECT_EQ(EncodeKanjiText("漢ｱ", TKanjiCode::kcJis), "\x1B$B4A\x1B(B&#65393;");
    EXPECT_EQ(EncodeKanjiText("€", TKanjiCode::kcEuc, [](std::string& out, char32_t) { out += '?'; }), "?");
}

TEST(KanjiText, JisEscapesSwitchModesAndEucSpecialFormsDecode) {
    // ESC $ @ is JIS X 0208 too; ESC ( I gives half-width katakana; ESC ( J is one-byte again.
    EXPECT_EQ(DecodeKanjiText("\x1B$@F|\x1B(I1\x1B(Jx", TKanjiCode::kcJis, TLineEnds::Keep).Text, "日ｱx");
    // A first escape back to ASCII must not switch on two-byte mode.
    EXPECT_EQ(DecodeKanjiText("\x1B(Bab\x1B$BF|\x1B(B", TKanjiCode::kcJis, TLineEnds::Keep).Text, "ab日");
    EXPECT_EQ(DecodeKanjiText("\x8E\xB1\x8F\xB0\xA1x", TKanjiCode::kcEuc, TLineEnds::Keep).Text, "ｱ丂x");
    // A stray byte is kept as its private-use character.
    EXPECT_EQ(DecodeKanjiText("a\xA4", TKanjiCode::kcEuc, TLineEnds::Keep).Text, "a\xEF\x9E\xA4");
}

TEST(KanjiText, LineEndsBecomeCrLfAndAreCounted) {
    for (TKanjiCode code : {TKanjiCode::kcSjis, TKanjiCode::kcEuc, TKanjiCode::kcJis, TKanjiCode::kcUtf8}) {
        const TDecodedText crlf = DecodeKanjiText("a\nb\r\nc\rd\r\r\n", code, TLineEnds::CrLf);
        EXPECT_EQ(crlf.Text, "a\r\nb\r\nc\r\nd\r\n\r\n");
        EXPECT_EQ(crlf.LineBreaks, 5u);
        const TDecodedText kept = DecodeKanjiText("a\nb\r\nc\rd", code, TLineEnds::Keep);
        EXPECT_EQ(kept.Text, "a\nb\r\nc\rd");
        EXPECT_EQ(kept.LineBreaks, 3u);
    }
}

class TLoadHtmlFileTest : public test::TDirTest {
protected:
    std::string Load(const std::string& bytes, int* lines = nullptr) {
        int count = -1;
        std::string text = LoadHtmlFile(Put("page.html", bytes), count);
        if (lines != nullptr) {
            *lines = count;
        }
        return text;
    }
};

TEST_F(TLoadHtmlFileTest, GeneratedFilesOfEveryEncodingReadTheSame) {
    // No half-width katakana: their EUC-JP prefix 0x8E reads as Shift_JIS to the detection.
    const std::string words = "日本語のテキスト、カタカナ ①【記号】 abc";
    const std::string page = "<html><body>\n<a href=\"x\">" + words + "</a>\n" + words + "\n</body></html>\n";
    const std::string expected =
        "<html><body>\r\n<a href=\"x\">" + words + "</a>\r\n" + words + "\r\n</body></html>\r\n";
    for (TKanjiCode code : {TKanjiCode::kcSjis, TKanjiCode::kcEuc, TKanjiCode::kcUtf8}) {
        int lines = 0;
        EXPECT_EQ(Load(EncodeKanjiText(page, code), &lines), expected) << static_cast<int>(code);
        EXPECT_EQ(lines, 4);
    }
    const std::string jisPage = "<p>日本語のテキスト</p>\r\n<p>カタカナ①</p>";
    EXPECT_EQ(Load(EncodeKanjiText(jisPage, TKanjiCode::kcJis)), jisPage);
}

TEST_F(TLoadHtmlFileTest, DeclaredCharsetIsBelieved) {
    // These bytes are valid UTF-8 ("ﾃ" is EF BE 83), yet the page says Shift_JIS.
    const std::string sjis = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\xEF\xBE\x83";
    EXPECT_EQ(Load(sjis), DecodeCp932(sjis));
    const std::string euc = "<META charset='EUC-JP'>\xA4\xA2";
    EXPECT_EQ(Load(euc), "<META charset='EUC-JP'>あ");
    // An encoding we do not read leaves the decision to the bytes.
    EXPECT_EQ(Load("<meta charset=\"koi8-r\">日本"), "<meta charset=\"koi8-r\">日本");
}

TEST_F(TLoadHtmlFileTest, ByteOrderMarkIsDroppedAndRejectedEmptyOrMissingFilesGiveNoText) {
    EXPECT_EQ(Load("\xEF\xBB\xBFok"), "ok");
    int lines = -1;
    EXPECT_EQ(Load("a\nb\x01\x02", &lines), "");
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(Load("", &lines), "");
    EXPECT_EQ(Load("\0abc"s, &lines), "");
    EXPECT_THROW(LoadHtmlFile(PathOf("none.html"), lines), EFileError);
}

} // namespace
} // namespace hv

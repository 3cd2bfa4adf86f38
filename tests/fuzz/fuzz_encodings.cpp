// Encodings: any bytes read in UTF-8 write back to the very same bytes; bytes read in CP932 write
// back to bytes that read as the same text (the same bytes, but for twin codes, which are written
// with the code Windows writes); the program's text is always valid UTF-8; detection and the
// legacy Japanese encodings take any bytes.

#include "FuzzTarget.h"
#include "text/Encoding.h"
#include "text/KanjiDetect.h"

HV_FUZZ_TARGET(encodings) {
    using namespace hv;
    const std::string cp932 = DecodeCp932(input);
    HV_FUZZ_CHECK(IsValidUtf8(cp932));
    const auto back = EncodeCp932(cp932);
    HV_FUZZ_CHECK(back && back->size() == input.size() && DecodeCp932(*back) == cp932);

    const std::string utf8 = DecodeUtf8(input);
    HV_FUZZ_CHECK(IsValidUtf8(utf8));
    HV_FUZZ_CHECK(EncodeUtf8(utf8) == input);

    (void)DetectKanjiCode(input);
    for (TKanjiCode code : {TKanjiCode::kcSjis, TKanjiCode::kcEuc, TKanjiCode::kcJis, TKanjiCode::kcUtf8}) {
        const TDecodedText decoded = DecodeKanjiText(input, code, TLineEnds::CrLf);
        HV_FUZZ_CHECK(IsValidUtf8(decoded.Text));
        (void)EncodeKanjiText(decoded.Text, code);
    }
    if (IsValidUtf8(input)) {
        (void)EncodeKanjiText(input, TKanjiCode::kcJis, [](std::string& out, char32_t) { out += '?'; });
    }
}

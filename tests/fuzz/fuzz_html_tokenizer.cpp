// The HTML tokenizer over any text: positions only move forward, tokens are never empty, and the
// decoding of bytes in any detected encoding gives valid UTF-8.

#include "Errors.h"
#include "FuzzTarget.h"
#include "importexport/HtmlParse.h"
#include "text/KanjiDetect.h"

#include <string>

HV_FUZZ_TARGET(html_tokenizer) {
    using namespace hv;
    if (const auto decoded = DecodeHtmlBytes(input, TLineEnds::Keep)) {
        HV_FUZZ_CHECK(IsValidUtf8(decoded->Text));
    }
    THtmlParser parser{std::string(input)};
    std::size_t last = 0;
    int line = 1;
    try {
        while (parser.Next()) {
            HV_FUZZ_CHECK(parser.Position() >= last);
            HV_FUZZ_CHECK(parser.Position() <= parser.Size());
            HV_FUZZ_CHECK(parser.Line() >= line);
            HV_FUZZ_CHECK(!parser.TokenText().empty());
            if (parser.Kind() == THtmlTokenKind::Tag) {
                HV_FUZZ_CHECK(parser.TokenText().front() == '<');
                HV_FUZZ_CHECK(!parser.Tag().Name().empty());
            }
            last = parser.Position();
            line = parser.Line();
        }
    } catch (const EHtmlParseError&) {
    }
}

// Character references: decoding gives valid UTF-8 from valid UTF-8, and escaping then decoding
// is the identity.

#include "FuzzTarget.h"
#include "text/CharRefs.h"
#include "text/HtmlEscape.h"
#include "text/KanjiDetect.h"

HV_FUZZ_TARGET(charrefs) {
    using namespace hv;
    const std::string text = DecodeCharRefs(input, TCharRefContext::Text);
    const std::string attribute = DecodeCharRefs(input, TCharRefContext::Attribute);
    if (IsValidUtf8(input)) {
        HV_FUZZ_CHECK(IsValidUtf8(text));
        HV_FUZZ_CHECK(IsValidUtf8(attribute));
    }
    const std::string escaped = EscapeHtml(input);
    HV_FUZZ_CHECK(DecodeCharRefs(escaped, TCharRefContext::Text) == input);
    HV_FUZZ_CHECK(DecodeCharRefs(escaped, TCharRefContext::Attribute) == input);
}

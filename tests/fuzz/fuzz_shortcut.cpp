// Internet shortcut files: the URL read is one line, and a shortcut written for it reads back
// to the same URL. A URL holding bytes kept from an undecodable CP932 file is the exception
// where its CP932 form happens to be valid UTF-8: the format has no encoding mark, so such a
// file reads as UTF-8; only that it is written at all is checked then. Readers take at most
// kShortcutUrlLimit bytes of the value: a URL read from CP932 may grow past that in UTF-8, and
// then reads back as its beginning.

#include "FuzzTarget.h"
#include "importexport/Shortcut.h"

namespace {

bool HasKeptBytes(std::string_view text) {
    return text.find("\xEF\x9E") != std::string_view::npos || text.find("\xEF\x9F") != std::string_view::npos;
}

} // namespace

HV_FUZZ_TARGET(shortcut) {
    using namespace hv;
    const std::string url = ParseShortcutURL(input);
    HV_FUZZ_CHECK(url.find_first_of("\r\n") == std::string::npos);
    const std::string written = BuildShortcutFile(url);
    if (!HasKeptBytes(url)) {
        const std::string back = ParseShortcutURL(written);
        if (url.size() <= kShortcutUrlLimit) {
            HV_FUZZ_CHECK(back == url);
        } else {
            HV_FUZZ_CHECK(url.starts_with(back) && !back.empty());
        }
    }
}

// Internet shortcut files: the URL read is one line, and a shortcut written for it reads back
// to the same URL.

#include "FuzzTarget.h"
#include "importexport/Shortcut.h"

HV_FUZZ_TARGET(shortcut) {
    using namespace hv;
    const std::string url = ParseShortcutURL(input);
    HV_FUZZ_CHECK(url.find_first_of("\r\n") == std::string::npos);
    HV_FUZZ_CHECK(ParseShortcutURL(BuildShortcutFile(url)) == url);
}

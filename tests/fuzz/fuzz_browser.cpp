// The browser answers: the session store (mozLz4 and its JSON) and the debugging endpoint's page
// list. An answer is always the one-line form "URL","Title".

#include "FuzzTarget.h"
#include "platform/BrowserConversation.h"

#include <optional>
#include <string>

namespace {

void CheckAnswer(const std::optional<std::string>& answer) {
    if (answer) {
        HV_FUZZ_CHECK(answer->size() >= 5 && answer->front() == '"' && answer->back() == '"');
        HV_FUZZ_CHECK(answer->find_first_of("\r\n") == std::string::npos);
    }
}

} // namespace

HV_FUZZ_TARGET(browser) {
    using namespace hv;
    if (const auto json = DecodeMozLz4(input)) {
        HV_FUZZ_CHECK(json->size() <= 64u * 1024u * 1024u);
        CheckAnswer(SessionStoreAnswer(*json));
    }
    CheckAnswer(SessionStoreAnswer(input));
    CheckAnswer(DebuggerListAnswer(input));
}

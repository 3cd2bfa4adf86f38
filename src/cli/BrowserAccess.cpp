#include "BrowserAccess.h"

#include "UserSettings.h"

#include <cstdlib>
#include <string>

namespace hv::cli {

std::unique_ptr<TBrowserConversation> MakeBrowserConversation() {
    int port = 9222;
    if (const char* text = std::getenv("HOLLYVINE_BROWSER_DEBUG_PORT"); text != nullptr && *text != '\0') {
        port = std::atoi(text);
    }
    return std::make_unique<TLinuxBrowserConversation>(HomeDirectory(), port);
}

} // namespace hv::cli

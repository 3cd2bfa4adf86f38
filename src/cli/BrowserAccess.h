#pragma once

#include "platform/BrowserConversation.h"

#include <memory>

namespace hv::cli {

// The browser conversations of this desktop: the Mozilla session store under $HOME and the
// remote-debugging endpoint on 127.0.0.1, port 9222 unless HOLLYVINE_BROWSER_DEBUG_PORT names
// another.
std::unique_ptr<TBrowserConversation> MakeBrowserConversation();

} // namespace hv::cli

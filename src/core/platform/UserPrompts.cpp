#include "platform/UserPrompts.h"

namespace hv {

TUserPrompts::~TUserPrompts() = default;

TYesNoCancel TUserPrompts::AskYesNoCancel(const std::string& text, const std::string& title) {
    return AskYesNo(text, title) ? TYesNoCancel::Yes : TYesNoCancel::Cancel;
}

} // namespace hv

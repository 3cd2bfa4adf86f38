#include "platform/UserPrompts.h"

namespace hv {

TUserPrompts::~TUserPrompts() = default;

} // namespace hv

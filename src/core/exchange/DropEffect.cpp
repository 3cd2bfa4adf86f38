#include "exchange/DropEffect.h"

#include "model/HVFolder.h"
#include "text/TextUtil.h"

namespace hv {

TDropEffect KeyEffect(bool ctrl, bool shift) {
    if (ctrl) {
        return shift ? TDropEffect::Link : TDropEffect::Copy;
    }
    return TDropEffect::Move;
}

TDropEffect DropEffect(TDragOrigin origin, const THVFolder* target, const THVFolder* selected, TDropFormat format,
                       bool ctrl, bool shift) {
    const TDropEffect keys = KeyEffect(ctrl, shift);
    switch (origin) {
    case TDragOrigin::FolderFromThisTree:
        if (selected == nullptr || target == nullptr) {
            return TDropEffect::None;
        }
        if (target == selected->Parent()) {
            return TDropEffect::None;
        }
        if (target->IsInside(selected)) {
            return TDropEffect::Copy;
        }
        return keys;
    case TDragOrigin::ItemsFromThisList:
        if (target == nullptr || target == selected) {
            return TDropEffect::None;
        }
        return keys;
    case TDragOrigin::Elsewhere:
        break;
    }
    switch (format) {
    case TDropFormat::Own:
        return shift ? keys : TDropEffect::Copy;
    case TDropFormat::Link:
    case TDropFormat::Files:
        return TDropEffect::Link;
    case TDropFormat::None:
        break;
    }
    return TDropEffect::None;
}

bool IsBrowserWindowClass(std::string_view windowClass) {
    const std::string lower = AsciiLowerCase(windowClass);
    for (const char* name : {"firefox", "chromium", "chrome", "brave", "vivaldi", "opera", "epiphany"}) {
        if (lower.find(name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace hv

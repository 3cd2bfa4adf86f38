#include "model/ItemOrder.h"

#include "model/HVItems.h"
#include "text/TextUtil.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <cmath>
#include <memory>

namespace hv {

namespace {

icu::Collator* NameCollator() {
    // One per thread: an ICU collator must not be used by two threads at once.
    thread_local std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale::getDefault(), status));
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            c.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        }
        return c;
    }();
    return collator.get();
}

icu::UnicodeString LoweredName(std::string_view name) {
    icu::UnicodeString s =
        icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
    s.toLower(icu::Locale::getDefault());
    return s;
}

int Sign(double d) {
    return (d > 0) - (d < 0);
}

} // namespace

int CompareNames(std::string_view a, std::string_view b) {
    icu::Collator* collator = NameCollator();
    if (collator == nullptr) {
        return AsciiCompareText(a, b);
    }
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult r = collator->compare(LoweredName(a), LoweredName(b), status);
    if (U_FAILURE(status)) {
        return AsciiCompareText(a, b);
    }
    return static_cast<int>(r);
}

std::string NameSortKey(std::string_view name) {
    icu::Collator* collator = NameCollator();
    if (collator == nullptr) {
        return AsciiLowerCase(name);
    }
    icu::UnicodeString lowered = LoweredName(name);
    std::string key(64, '\0');
    int32_t length =
        collator->getSortKey(lowered, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
    if (length > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(length));
        length = collator->getSortKey(lowered, reinterpret_cast<uint8_t*>(key.data()), length);
    }
    key.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0); // drop the terminating zero
    return key;
}

int CompareItems(const THVItem& a, const THVItem& b, const TItemOrder& order) {
    int result = 0;
    switch (order.SortType) {
    case TItemOrder::ByName:
        result = CompareNames(a.GetName(), b.GetName());
        break;
    case TItemOrder::ByURL:
        result = a.GetURL().compare(b.GetURL());
        result = (result > 0) - (result < 0);
        break;
    case TItemOrder::ByLastVisited: {
        // Whole minutes, half to even; never-visited items go last when NewItemAtBottom.
        double minutes = std::nearbyint((a.GetLastVisited() - b.GetLastVisited()) * 1440.0);
        result = Sign(minutes);
        if (order.NewItemAtBottom && (a.GetLastVisited() == 0 || b.GetLastVisited() == 0)) {
            result = -result;
        }
        break;
    }
    default:
        break;
    }
    if (order.SortDescending) {
        result = -result;
    }
    if (result == 0) {
        result = AsciiCompareText(a.GetName(), b.GetName());
    }
    return result;
}

} // namespace hv

#include "launch/AccessRestriction.h"

#include "Errors.h"
#include "properties/TimeLine.h"
#include "text/Utf8.h"

#include <algorithm>
#include <string>

namespace hv {

namespace {

// The UTF-8 characters first .. first+count-1 (0-based) of text, as far as there are any.
std::string_view Characters(std::string_view text, std::size_t first, std::size_t count) {
    std::size_t begin = text.size();
    std::size_t end = text.size();
    std::size_t index = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsUtf8Continuation(text[i])) {
            continue; // inside a character
        }
        if (index == first) {
            begin = i;
        }
        if (index == first + count) {
            end = i;
            break;
        }
        ++index;
    }
    return begin >= end ? std::string_view() : text.substr(begin, end - begin);
}

// A signed decimal number, or 0 when the text is not one.
int NumberOrZero(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        pos = 1;
    }
    if (pos >= text.size()) {
        return 0;
    }
    int value = 0;
    for (; pos < text.size(); ++pos) {
        if (text[pos] < '0' || text[pos] > '9') {
            return 0;
        }
        value = value * 10 + (text[pos] - '0');
    }
    return negative ? -value : value;
}

int TimeOfDay(std::string_view restrictTime, int hour, int minute) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        throw EConvertError("アクセス制限の時間帯 \"" + std::string(restrictTime) + "\" の時刻が正しくありません");
    }
    return (hour * 60 + minute) * 60000;
}

} // namespace

TRestrictRange ParseRestrictTime(std::string_view restrictTime) {
    TRestrictRange range;
    range.StartMSec = TimeOfDay(restrictTime, NumberOrZero(Characters(restrictTime, 0, 2)),
                                NumberOrZero(Characters(restrictTime, 2, 2)));
    range.EndMSec = TimeOfDay(restrictTime, NumberOrZero(Characters(restrictTime, 5, 2)),
                              NumberOrZero(Characters(restrictTime, 7, 2)));
    return range;
}

bool IsAccessAllowed(int restriction, std::string_view restrictTime, TDateTime now) {
    if (restriction == 0) {
        return true;
    }
    const TRestrictRange range = ParseRestrictTime(restrictTime);
    const std::int64_t nowMs = ToTimeLine(now).value_or(0);
    const std::int64_t timeOfDay = nowMs - TimeLineDay(nowMs) * kMSecsPerDay;
    const int low = std::min(range.StartMSec, range.EndMSec);
    const int high = std::max(range.StartMSec, range.EndMSec);
    const bool inRange = timeOfDay >= low && timeOfDay <= high;
    return restriction == 1 ? !inRange : inRange;
}

} // namespace hv

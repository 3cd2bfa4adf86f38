#pragma once

#include "model/DateTime.h"

#include <string>

namespace hv {

// The date settings of access-time texts.
struct TAccessTimeOptions {
    // 0: date and time; any other value: days elapsed ("今日の", "昨日の", "%d日前(%d/%d)の").
    int DateStrType = 0;
    // Only the last two digits of the year.
    bool YearTwoDigit = true;
    // Between year, month and day; may be empty.
    std::string DateSeparator = "/";
    // Day-of-week label: 0 none, 1 Japanese "(日)", 2 English "(Sun)"; other values none.
    int DayOfWeek = 1;
    // 24-hour clock; false: " AM"/" PM" before a 12-hour time.
    bool Hour24 = true;
};

// The text of an access time as the item list shows it, relative to now for the elapsed style:
// "24/03/05(火) 13:05", "2024-03-05(Tue) PM 01:05", "今日の 13:05", "3日前(3/2)の 09:00".
// A zero time (never visited) and a value that is no date give the empty text.
std::string AccessTimeText(TDateTime when, TDateTime now, const TAccessTimeOptions& options);

} // namespace hv

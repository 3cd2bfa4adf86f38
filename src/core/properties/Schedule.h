#pragma once

#include "model/DateTime.h"

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace hv {

class THVItem;
class TClock;

// Whether the day list of a schedule names days of the week or days of the month.
enum TScheduleMode : std::uint8_t { smWeekDays = 0, smMonthDays = 1 };

// A schedule's day list: members 1..31 (days of the week: 1 = Sunday .. 7 = Saturday).
using TScheduleDays = std::bitset<32>;

// A schedule text taken apart by ParseSchedule.
struct TScheduleRec {
    TScheduleMode Mode = smWeekDays;
    TScheduleDays Days;
    std::uint8_t Hour = 0;        // 0..23
    std::uint8_t Minute = 0;      // 0..59
    std::uint8_t PeriodDays = 0;  // 0..30
    std::uint8_t PeriodHours = 0; // 0..23
};

// What the schedule page of the item properties dialog holds when it writes the item back:
// the ticked weekdays (bits 1..7) or the month days as the user typed them.
struct TScheduleForm {
    TScheduleMode Mode = smWeekDays;
    TScheduleDays WeekDays;
    std::string MonthDays;
    int Hour = 0;
    int Minute = 0;
    int PeriodDays = 30;
    int PeriodHours = 0;
};

// The schedule shown for an item that has none; not stored while no day is chosen.
inline constexpr std::string_view kDefaultSchedule = "W  0:00 30,0";

// "MODE DAYS H:MM D,H". Never fails: a number that cannot be read, or lies outside its field's
// range, counts as 0; day numbers outside 1..31 are dropped.
TScheduleRec ParseSchedule(std::string_view text);

// The schedule text of the dialog's controls, or the empty text when no day is chosen (which
// removes the schedule). Month days keep only their digits and commas, unchecked.
std::string FormatSchedule(const TScheduleForm& form);

// Whether an item with this schedule and last visit is due at now: a scheduled moment (a chosen
// day at the chosen time) lies inside the period before now and the item was not visited at or
// after it. An empty schedule is never due.
bool NeedToVisit(std::string_view schedule, TDateTime lastVisited, TDateTime now);
bool NeedToVisit(const THVItem& item, const TClock& clock);

// The settings the colour key of an item row reads.
struct TItemColorOptions {
    // Colour of due items, 0x00BBGGRR.
    std::uint32_t NeedToVisitColor = 255;
    // Minutes after a visit during which the item is drawn greyed; 0 turns greying off.
    int GrayItemTime = 1440;
};

// Which colour an item row's text gets.
enum class TItemColorKind {
    Normal, // the list's own font colour
    Gray,   // the system's colour for greyed text
    Due,    // TItemTextColor::Color
};

struct TItemTextColor {
    TItemColorKind Kind = TItemColorKind::Normal;
    // The due colour (0x00BBGGRR) when Kind is Due, else 0.
    std::uint32_t Color = 0;
    // Whether the row gets a colour of its own instead of the list's.
    bool Special() const { return Kind != TItemColorKind::Normal; }
};

// The colour key of an item row: grey while the last visit is more recent than the grey time
// (even when the item is also due), else the due colour when NeedToVisit, else normal.
TItemTextColor GetItemTextColor(std::string_view schedule, TDateTime lastVisited, TDateTime now,
                                const TItemColorOptions& options);
TItemTextColor GetItemTextColor(const THVItem& item, const TClock& clock, const TItemColorOptions& options);

// The parts of a 0x00BBGGRR colour.
constexpr int ColorRed(std::uint32_t color) {
    return static_cast<int>(color & 0xFF);
}
constexpr int ColorGreen(std::uint32_t color) {
    return static_cast<int>((color >> 8) & 0xFF);
}
constexpr int ColorBlue(std::uint32_t color) {
    return static_cast<int>((color >> 16) & 0xFF);
}

} // namespace hv

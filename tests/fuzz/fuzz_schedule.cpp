// Schedules and the document's date-times: any schedule text parses into fields inside their
// ranges and the due test answers for any moment; a date-time that reads back formats to a text
// that reads to the same moment.

#include "Errors.h"
#include "FuzzTarget.h"
#include "model/DateTime.h"
#include "properties/Schedule.h"

#include <cstdint>
#include <cstring>

HV_FUZZ_TARGET(schedule) {
    using namespace hv;
    const TScheduleRec rec = ParseSchedule(input);
    HV_FUZZ_CHECK(rec.Hour <= 23 && rec.Minute <= 59 && rec.PeriodDays <= 30 && rec.PeriodHours <= 23);
    HV_FUZZ_CHECK(!rec.Days.test(0));

    // Moments as documents hold them: 1899-12-30 to 9999-12-31, to the millisecond.
    std::uint32_t raw[2] = {0, 0};
    if (input.size() >= sizeof raw) {
        std::memcpy(raw, input.data(), sizeof raw);
    }
    constexpr double kLastDay = 2958465;
    const TDateTime last = static_cast<double>(raw[0]) / UINT32_MAX * kLastDay;
    const TDateTime now = static_cast<double>(raw[1]) / UINT32_MAX * kLastDay;
    (void)NeedToVisit(input, last, now);
    (void)NeedToVisit(input, 45000.5, 45001.25);

    try {
        const TDateTime when = ParseDocDateTime(input);
        const std::string text = FormatDocDateTime(when);
        HV_FUZZ_CHECK(FormatDocDateTime(ParseDocDateTime(text)) == text);
    } catch (const EConvertError&) {
    }
}

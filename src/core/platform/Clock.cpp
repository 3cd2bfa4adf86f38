#include "platform/Clock.h"

#include <atomic>
#include <cstdlib>
#include <ctime>

namespace hv {

namespace {

TSystemClock g_SystemClock;
std::atomic<TClock*> g_Clock{nullptr};

} // namespace

TClock::~TClock() = default;

TDateTime TSystemClock::Now() const {
    if (const char* pinned = std::getenv("HOLLYVINE_NOW")) {
        const TDateTime value = ParseDocDateTime(pinned);
        if (value != 0) {
            return value;
        }
    }
    std::timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    const long msec = ts.tv_nsec / 1000000;
    return DateTimeFromUnix(static_cast<std::int64_t>(ts.tv_sec)) + static_cast<double>(msec) / MSecsPerDay;
}

TClock& Clock() {
    TClock* clock = g_Clock.load(std::memory_order_acquire);
    return clock != nullptr ? *clock : g_SystemClock;
}

void SetClock(TClock* clock) {
    g_Clock.store(clock, std::memory_order_release);
}

TScopedClock::TScopedClock(TClock& clock) : m_Previous(g_Clock.load(std::memory_order_acquire)) {
    SetClock(&clock);
}

TScopedClock::~TScopedClock() {
    SetClock(m_Previous);
}

} // namespace hv

#pragma once

#include "model/DateTime.h"

namespace hv {

// Where the program reads the current local date-time. Code asks Clock() instead of the
// system, so tests and checks can run at a chosen moment.
class TClock {
public:
    virtual ~TClock();
    virtual TDateTime Now() const = 0;
};

// The real local time with milliseconds, unless HOLLYVINE_NOW ("yyyy/m/d h:nn") pins it.
// An unreadable HOLLYVINE_NOW is ignored. The variable is read on every call.
class TSystemClock final : public TClock {
public:
    TDateTime Now() const override;
};

// A clock that stands still until told otherwise.
class TTestClock final : public TClock {
public:
    explicit TTestClock(TDateTime now = 0) : m_Now(now) {}
    TDateTime Now() const override { return m_Now; }
    void Set(TDateTime now) { m_Now = now; }
    void Advance(double days) { m_Now += days; }
    void AdvanceMinutes(int minutes) { m_Now += minutes / MinutesPerDay; }

private:
    TDateTime m_Now;
};

// The process-wide clock; a TSystemClock unless SetClock installed another.
TClock& Clock();
// Installs a clock the caller keeps alive; nullptr restores the system clock.
void SetClock(TClock* clock);

// Installs a clock for the lifetime of this object and restores the previous one afterwards.
class TScopedClock {
public:
    explicit TScopedClock(TClock& clock);
    TScopedClock(const TScopedClock&) = delete;
    TScopedClock& operator=(const TScopedClock&) = delete;
    ~TScopedClock();

private:
    TClock* m_Previous;
};

} // namespace hv

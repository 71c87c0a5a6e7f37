// The fixed clock behind FixedClock: counts in microseconds, ticks frozen.
#include "framework/fixed_clock.h"

#include <math.h>

#include "framework/scene_clock.h"

namespace {

LONGLONG fixedCounter = 0;

LONGLONG FixedCounter()
{
    return fixedCounter;
}

LONGLONG FixedFrequency()
{
    return 1000000;
}

DWORD FixedTicks()
{
    return static_cast<DWORD>(20041 + fixedCounter / 1000);  // milliseconds move with the counter
}

const ClockSource FIXED_CLOCK = {FixedCounter, FixedFrequency, FixedTicks};

}  // namespace

FixedClock::FixedClock()
{
    fixedCounter = 0;
    UseClockSource(&FIXED_CLOCK);
}

FixedClock::~FixedClock()
{
    UseClockSource(nullptr);
}

void FixedClock::SetSeconds(double seconds)
{
    fixedCounter = llround(seconds * 1000000.0);
}

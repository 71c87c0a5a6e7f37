// The clock source behind the scenes: the system's performance counter and tick count unless replaced.
#include "scene_clock.h"

namespace {

LONGLONG SystemCounter()
{
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

LONGLONG SystemFrequency()
{
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
}

DWORD SystemTicks()
{
    return GetTickCount();
}

const ClockSource SYSTEM_CLOCK = {SystemCounter, SystemFrequency, SystemTicks};
const ClockSource* activeClock = &SYSTEM_CLOCK;

}  // namespace

LONGLONG ReadClockCounter()
{
    return activeClock->counter();
}

LONGLONG ReadClockFrequency()
{
    return activeClock->frequency();
}

DWORD ReadClockTicks()
{
    return activeClock->ticks();
}

void UseClockSource(const ClockSource* source)
{
    activeClock = source != nullptr ? source : &SYSTEM_CLOCK;
}

float SecondsBetween(LONGLONG from, LONGLONG to, LONGLONG frequency)
{
    return static_cast<float>(static_cast<double>(to - from) / static_cast<double>(frequency));
}

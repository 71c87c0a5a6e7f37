// SceneClock: the system's counter and tick count, or the one stepped clock that replaces them.
#include "scenes/scene_clock.h"

#include <math.h>

namespace {

// The stepped clock's rate, 0 while time is real.
LONGLONG steppedRate = 0;
LONGLONG steppedCount = 0;

}  // namespace

LONGLONG SceneClock::Counter()
{
    if (steppedRate != 0) {
        return steppedCount;
    }
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

LONGLONG SceneClock::Frequency()
{
    if (steppedRate != 0) {
        return steppedRate;
    }
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
}

DWORD SceneClock::Ticks()
{
    return steppedRate != 0 ? STEPPED_TICKS : GetTickCount();
}

SceneClock::SceneClock(LONGLONG countsPerSecond)
{
    steppedRate = countsPerSecond;
    steppedCount = 0;
}

SceneClock::~SceneClock()
{
    steppedRate = 0;
}

void SceneClock::SetCount(LONGLONG count)
{
    steppedCount = count;
}

void SceneClock::SetSeconds(double seconds)
{
    steppedCount = llround(seconds * static_cast<double>(steppedRate));
}

float SecondsBetween(LONGLONG from, LONGLONG to, LONGLONG frequency)
{
    return static_cast<float>(static_cast<double>(to - from) / static_cast<double>(frequency));
}

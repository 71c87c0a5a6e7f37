// SceneClock: where the scenes read time. In real time, the performance counter and the tick count; stepped,
// a counter set by hand at a chosen rate (the capture counts frames, tests and benchmarks microseconds).
#pragma once

#include <windows.h>

class SceneClock {
public:
    // What the scenes read: real time unless a stepped clock is alive.
    static LONGLONG Counter();
    static LONGLONG Frequency();
    static DWORD Ticks();

    // The tick count a stepped clock gives, which seeds the stars: any fixed value makes two runs with the
    // same steps place the same stars. Every other value moves every star, so a capture made with another
    // could not be compared frame for frame with one made with this.
    static constexpr DWORD STEPPED_TICKS = 20040;
    static constexpr LONGLONG MICROSECONDS = 1000000;

    // Steps time by hand for the life of the object, from count 0 at countsPerSecond; at most one at a time.
    explicit SceneClock(LONGLONG countsPerSecond = MICROSECONDS);
    ~SceneClock();
    SceneClock(const SceneClock&) = delete;
    SceneClock& operator=(const SceneClock&) = delete;

    void SetCount(LONGLONG count);
    // Exact for whole counts.
    void SetSeconds(double seconds);
};

// Seconds from one counter reading to another: the 64-bit difference over the frequency, as a float.
float SecondsBetween(LONGLONG from, LONGLONG to, LONGLONG frequency);

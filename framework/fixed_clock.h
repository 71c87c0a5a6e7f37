// A clock set by hand for tests and benchmarks: the scenes read it instead of the performance counter and
// tick count (the tick count follows the counter, in milliseconds from 20041).
#pragma once

// Installs the fixed clock (reading 0 s, one million counts per second) for the life of the object.
class FixedClock {
public:
    FixedClock();
    ~FixedClock();
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    // Sets the counter to this many seconds after its origin; exact for whole microseconds.
    void SetSeconds(double seconds);
};

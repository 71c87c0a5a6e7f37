// Where the scenes read time: the performance counter, its frequency and the millisecond tick count.
// Tests and the fixed-rate capture install their own source so a scene can stand at any clock reading.
#pragma once

#include <windows.h>

struct ClockSource {
    LONGLONG (*counter)();
    LONGLONG (*frequency)();
    DWORD (*ticks)();
};

LONGLONG ReadClockCounter();
LONGLONG ReadClockFrequency();
DWORD ReadClockTicks();

// Null restores the system's clocks.
void UseClockSource(const ClockSource* source);

// Seconds from one counter reading to another: the 64-bit difference over the frequency, as a float.
float SecondsBetween(LONGLONG from, LONGLONG to, LONGLONG frequency);

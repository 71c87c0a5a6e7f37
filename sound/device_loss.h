// The arithmetic of a lost output device: when the feeder takes it for gone, and the frame a stream plays on
// from once a device is back, so that the music keeps to the wall clock (and so to the picture).
#pragma once

#include <stdint.h>

// Where a stream stood when its device went: the output frame it had reached, and when (ms).
struct DeviceLoss {
    uint64_t frame;
    uint64_t ms;
};

// Playing that began with output frame startFrame at startMs has reached, by lossMs, the frames the wall clock
// gives, but none past handedOut, the frames taken from the source so far (a device that ran dry waited).
DeviceLoss LossPoint(uint64_t startFrame, uint64_t startMs, uint64_t lossMs, int rate, uint64_t handedOut);

// The output frame to play on from at nowMs: the loss point plus the time since, so that what was missed is not
// played late; but never before handedOut (a device faster than real time may have taken more than that).
uint64_t ResumeFrame(DeviceLoss loss, uint64_t nowMs, int rate, uint64_t handedOut);

// How long the feeder may still wait, at nowMs, for a block to come back before it takes the device for gone:
// two block lengths after the last one came back (or playing began) at lastReturnMs; 0 once they have passed.
uint32_t StallWaitMs(uint64_t lastReturnMs, uint64_t nowMs, unsigned blockFrames, int rate);

// OutputDevice: what the feeder plays into, a 16-bit stereo device with a ring of blocks. WaveOutDevice is the
// real one; tests stand in their own, whose opens and writes fail when they choose.
#pragma once

#include <stdint.h>
#include <windows.h>

class OutputDevice {
public:
    OutputDevice() = default;
    virtual ~OutputDevice() = default;
    OutputDevice(const OutputDevice&) = delete;
    OutputDevice& operator=(const OutputDevice&) = delete;

    // Driver 0 is the default device; driver n > 0 the system's device n - 1. False if the device can't be
    // opened at this rate (none there, no such driver, format refused). Open closes any earlier opening first.
    virtual bool Open(int driver, int rate) = 0;
    // Returns every queued block and closes the device; the blocks go with it.
    virtual void Close() = 0;

    // Makes count blocks of frames stereo frames each, all free. Any earlier ones must be back.
    virtual bool AllocateBlocks(unsigned count, unsigned frames) = 0;
    virtual unsigned BlockCount() const = 0;
    virtual unsigned BlockFrames() const = 0;
    virtual int16_t* BlockData(unsigned index) = 0;

    // Queues a whole block for playing: its first frames frames are the stream's, the rest silence. False if
    // the write failed (the block is not queued).
    virtual bool Queue(unsigned index, unsigned frames) = 0;
    // True once the device has finished with a block queued earlier.
    virtual bool IsDone(unsigned index) const = 0;
    // Returns all queued blocks at once (they are marked done).
    virtual void Reset() = 0;
    virtual void Pause() = 0;
    virtual void Restart() = 0;
    // Seconds of the stream's frames played since the device was opened or last reset.
    virtual double PlayedSeconds() const = 0;

    // Signalled when a block may have come back (auto-reset); a new handle after each Open.
    virtual HANDLE DoneEvent() const = 0;
};

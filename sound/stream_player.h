// StreamPlayer: the feeder thread that keeps an OutputDevice's blocks filled from a StreamSource, refilling
// each block as the device hands it back. A device that goes (a write fails, or no block comes back for two
// block lengths) is opened again every half second, and the stream plays on where the wall clock says it is
// by then. It counts underruns and its own CPU time.
#pragma once

#include <stdint.h>
#include <windows.h>

#include <vector>

#include "sound/buffer_plan.h"
#include "sound/device_loss.h"

class StreamSource;
class OutputDevice;

class StreamPlayer {
public:
    // The device, open, and the source must outlive the player; after a loss the device is opened again with
    // driver, at the source's output rate.
    StreamPlayer(OutputDevice& output, StreamSource& input, int driver);
    ~StreamPlayer();
    StreamPlayer(const StreamPlayer&) = delete;
    StreamPlayer& operator=(const StreamPlayer&) = delete;

    // Makes the blocks and starts the thread; returns at once (the thread decodes the first blocks).
    bool Start(BufferPlan plan);
    // Stops the thread and waits for it; the device goes on playing what is queued. Idempotent.
    void StopFeeder();
    // StopFeeder, then takes every block back from the device. Idempotent.
    void Stop();

    // Safe to read from any thread while the feeder runs.
    unsigned Underruns() const { return static_cast<unsigned>(underruns); }
    double FeederCpuSeconds() const { return static_cast<double>(cpuTicks) * 1e-7; }
    // Seconds of source audio decoded, as of the last block the feeder filled; what was skipped after a
    // device loss was decoded too, and counts.
    double DecodedSeconds() const;
    // Seconds the device reports having played, carried over a reopening: the seconds played on earlier
    // openings are added, the time the device was away is not.
    double PlayedSeconds() const;

private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Run();
    // Queues the first blocks with the device paused; false if a write failed.
    bool StartBlocks();
    // Refills what came back; false if the device is gone.
    bool Refill();
    // Fills a free block from the source and queues it (nothing once the source has no more); false if the
    // write failed.
    bool FillAndQueue(unsigned index);
    // Closes the lost device, opens it again and skips what was missed; false if stopped first.
    bool Reopen();
    bool SkipMissed(DeviceLoss loss);
    void SampleCpuTime();

    OutputDevice& device;
    StreamSource& source;
    int driver;
    BufferPlan plan;
    HANDLE stopEvent;
    HANDLE thread;
    std::vector<bool> queued;
    // Blocks the device handed back in one wake; reserved at start, so the feeder never allocates.
    std::vector<unsigned> returned;
    // The feeder thread's own: output frames taken from the source, the frame that began playing on this
    // opening and when (GetTickCount64 ms), and when a block last came back.
    uint64_t handedOut;
    uint64_t startFrame;
    uint64_t startMs;
    uint64_t lastReturnMs;
    // Held by the feeder while it closes and opens the device, and by PlayedSeconds, which reads it.
    mutable SRWLOCK deviceLock;
    double playedBefore;
    // The feeder writes these with Interlocked calls; an aligned read of one is atomic on 64-bit Windows.
    volatile LONG underruns;
    volatile LONGLONG cpuTicks;  // the feeder's kernel and user time, in 100 ns units
    volatile LONGLONG framesDecoded;
};

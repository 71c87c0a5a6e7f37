// StreamPlayer: the feeder thread that keeps an OutputDevice's blocks filled from a StreamSource,
// refilling each block as the device hands it back. It counts underruns and its own CPU time.
#pragma once

#include <windows.h>

#include <vector>

#include "sound/buffer_plan.h"

class StreamSource;
class OutputDevice;

class StreamPlayer {
public:
    // The device and source must outlive the player.
    StreamPlayer(OutputDevice& output, StreamSource& input);
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
    // Seconds of source audio decoded, as of the last block the feeder filled.
    double DecodedSeconds() const;

private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Run();
    // Fills a free block from the source and queues it; false once the source has nothing more.
    bool FillAndQueue(unsigned index);
    void SampleCpuTime();

    OutputDevice& device;
    StreamSource& source;
    HANDLE stopEvent;
    HANDLE thread;
    std::vector<bool> queued;
    // Blocks the device handed back in one wake; reserved at start, so the feeder never allocates.
    std::vector<unsigned> returned;
    // The feeder writes these with Interlocked calls; an aligned read of one is atomic on 64-bit Windows.
    volatile LONG underruns;
    volatile LONGLONG cpuTicks;  // the feeder's kernel and user time, in 100 ns units
    volatile LONGLONG framesDecoded;
};

// StreamPlayer: the feeder thread that keeps a WaveOutDevice's blocks filled from a StreamSource,
// refilling each block as the device hands it back. It counts underruns and its own CPU time.
#pragma once

#include <atomic>
#include <thread>
#include <vector>

#include <windows.h>

#include "sound/buffer_plan.h"

class StreamSource;
class WaveOutDevice;

class StreamPlayer {
public:
    // The device and source must outlive the player.
    StreamPlayer(WaveOutDevice& output, StreamSource& input);
    ~StreamPlayer();
    StreamPlayer(const StreamPlayer&) = delete;
    StreamPlayer& operator=(const StreamPlayer&) = delete;

    // Makes the blocks and starts the thread; returns at once (the thread decodes the first blocks).
    bool Start(BufferPlan plan);
    // Stops the thread and waits for it; the device goes on playing what is queued. Idempotent.
    void StopFeeder();
    // StopFeeder, then takes every block back from the device. Idempotent.
    void Stop();

    unsigned Underruns() const { return underruns.load(); }
    double FeederCpuSeconds() const { return cpuSeconds.load(); }

private:
    void Run();
    // Fills a free block from the source and queues it; false once the source has nothing more.
    bool FillAndQueue(unsigned index);
    void SampleCpuTime();

    WaveOutDevice& device;
    StreamSource& source;
    HANDLE stopEvent = nullptr;
    std::thread thread;
    std::vector<bool> queued;
    // Blocks the device handed back in one wake; reserved at start, so the feeder never allocates.
    std::vector<unsigned> returned;
    std::atomic<unsigned> underruns{0};
    std::atomic<double> cpuSeconds{0.0};
};

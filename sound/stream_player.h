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
    StreamPlayer(WaveOutDevice& device, StreamSource& source);
    ~StreamPlayer();
    StreamPlayer(const StreamPlayer&) = delete;
    StreamPlayer& operator=(const StreamPlayer&) = delete;

    // Makes the blocks and starts the thread; returns at once (the thread decodes the first blocks).
    bool start(BufferPlan plan);
    // Stops the thread, waits for it, and takes every block back from the device. Idempotent.
    void stop();

    unsigned underruns() const { return underruns_.load(); }
    double feederCpuSeconds() const { return cpuSeconds_.load(); }

private:
    void run();
    // Fills a free block from the source and queues it; false once the source has nothing more.
    bool fillAndQueue(unsigned index);
    void sampleCpuTime();

    WaveOutDevice& device_;
    StreamSource& source_;
    HANDLE stopEvent_ = nullptr;
    std::thread thread_;
    std::vector<bool> queued_;
    std::atomic<unsigned> underruns_{0};
    std::atomic<double> cpuSeconds_{0.0};
};

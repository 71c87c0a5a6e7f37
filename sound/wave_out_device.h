// WaveOutDevice: a thin wrapper over one waveOut device (16-bit stereo) and its ring of blocks.
// It signals an event whenever the device hands a block back.
#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>
#include <mmsystem.h>

class WaveOutDevice {
public:
    // Driver 0 is the default device (the wave mapper); driver n > 0 is waveOut device n - 1.
    static UINT deviceIdForDriver(int driver);

    WaveOutDevice() = default;
    ~WaveOutDevice();
    WaveOutDevice(const WaveOutDevice&) = delete;
    WaveOutDevice& operator=(const WaveOutDevice&) = delete;

    // False if the device can't be opened at this rate (none there, bad id, format refused).
    bool open(UINT deviceId, int rate);
    // Returns every queued block and closes the device.
    void close();
    bool isOpen() const { return handle_ != nullptr; }

    // Makes count blocks of frames stereo frames each, all free. Any earlier ones must be back.
    bool allocateBlocks(unsigned count, unsigned frames);
    unsigned blockCount() const { return static_cast<unsigned>(headers_.size()); }
    unsigned blockFrames() const { return blockFrames_; }
    int16_t* blockData(unsigned index) { return memory_[index].data(); }

    // Queues a whole block for playing.
    bool queue(unsigned index);
    // True once the device has finished with a block queued earlier.
    bool isDone(unsigned index) const;
    // Returns all queued blocks at once (they are marked done).
    void reset();
    void pause();
    void restart();
    // Seconds played since the device was opened or last reset, as the device reports it.
    double playedSeconds() const;

    // Signalled when a block comes back (auto-reset).
    HANDLE doneEvent() const { return event_; }

private:
    void releaseBlocks();

    HWAVEOUT handle_ = nullptr;
    int rate_ = 0;
    HANDLE event_ = nullptr;
    unsigned blockFrames_ = 0;
    std::vector<WAVEHDR> headers_;
    std::vector<std::vector<int16_t>> memory_;
};

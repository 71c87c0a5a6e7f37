// WaveOutDevice: a thin wrapper over one waveOut device (16-bit stereo) and its ring of blocks.
// It signals an event whenever the device hands a block back.
#pragma once

#include <stdint.h>
#include <windows.h>
#include <mmsystem.h>

#include <vector>

class WaveOutDevice {
public:
    // Driver 0 is the default device (the wave mapper); driver n > 0 is waveOut device n - 1.
    static UINT DeviceIdForDriver(int driver);

    WaveOutDevice();
    ~WaveOutDevice();
    WaveOutDevice(const WaveOutDevice&) = delete;
    WaveOutDevice& operator=(const WaveOutDevice&) = delete;

    // False if the device can't be opened at this rate (none there, bad id, format refused).
    bool Open(UINT deviceId, int rate);
    // Returns every queued block and closes the device.
    void Close();

    // Makes count blocks of frames stereo frames each, all free. Any earlier ones must be back.
    bool AllocateBlocks(unsigned count, unsigned frames);
    unsigned BlockCount() const { return static_cast<unsigned>(headers.size()); }
    unsigned BlockFrames() const { return blockFrames; }
    int16_t* BlockData(unsigned index) { return memory[index].data(); }

    // Queues a whole block for playing: its first frames frames are the stream's, the rest silence.
    bool Queue(unsigned index, unsigned frames);
    // True once the device has finished with a block queued earlier.
    bool IsDone(unsigned index) const;
    // Returns all queued blocks at once (they are marked done).
    void Reset();
    void Pause();
    void Restart();
    // Seconds played since the device was opened or last reset, as the device reports it, counting only
    // the stream's frames: the silence after them in a block is not counted.
    double PlayedSeconds() const;

    // Signalled when a block comes back (auto-reset).
    HANDLE DoneEvent() const { return event; }

private:
    void ReleaseBlocks();

    HWAVEOUT waveOut;
    int sampleRate;
    HANDLE event;
    unsigned blockFrames;
    std::vector<WAVEHDR> headers;
    std::vector<std::vector<int16_t>> memory;
    // The stream's frames in the blocks queued since the device was opened or last reset: the feeder
    // thread changes it with Interlocked calls, others read it (an aligned read is atomic on 64-bit Windows).
    volatile LONGLONG framesQueued;
};

// WaveOutDevice: the real OutputDevice, a thin wrapper over one waveOut device (16-bit stereo) and its ring of
// blocks. It signals an event whenever the device hands a block back.
#pragma once

#include <stdint.h>
#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "sound/output_device.h"

class WaveOutDevice : public OutputDevice {
public:
    WaveOutDevice();
    ~WaveOutDevice() override;

    // Driver 0 opens the wave mapper; driver n > 0 waveOut device n - 1.
    bool Open(int driver, int rate) override;
    void Close() override;

    bool AllocateBlocks(unsigned count, unsigned frames) override;
    unsigned BlockCount() const override { return static_cast<unsigned>(headers.size()); }
    unsigned BlockFrames() const override { return blockFrames; }
    int16_t* BlockData(unsigned index) override { return memory[index].data(); }

    bool Queue(unsigned index, unsigned frames) override;
    bool IsDone(unsigned index) const override;
    void Reset() override;
    void Pause() override;
    void Restart() override;
    // As the device reports it, counting only the stream's frames: the silence after them in a block is not
    // counted.
    double PlayedSeconds() const override;

    HANDLE DoneEvent() const override { return event; }

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

// A waveOut position (TIME_BYTES or TIME_SAMPLES of 16-bit stereo) as seconds at rate, cut off at framesQueued;
// 0 for any other format. A device may answer in bytes although samples were asked for.
double PositionSeconds(const MMTIME& time, uint64_t framesQueued, int rate);

// StreamSource: the decode path a stream plays through (OggStream then Resampler), pulled in output
// frames. The feeder thread pulls it into device buffers; tests pull it directly, with no device.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "sound/ogg_stream.h"
#include "sound/resampler.h"

class StreamSource {
public:
    explicit StreamSource(int rate);

    OggStream::OpenResult Open(const unsigned char* data, size_t size);

    // Writes up to frames stereo frames at the output rate into out; fewer only once the stream ends,
    // then 0 for ever after.
    size_t Read(int16_t* out, size_t frames);
    // True once every output frame has been handed out.
    bool Finished() const { return inputDone && pendingPos == pending.size(); }

    int OutputRate() const { return outputRate; }
    int SourceRate() const { return ogg.SampleRate(); }
    // Source frames decoded so far, and as seconds; read them on the thread that reads the source.
    uint64_t DecodedFrames() const { return ogg.FramesDecoded(); }
    double DecodedSeconds() const;

private:
    // Source frames decoded per step: small, so decoding stays close behind what the device has taken.
    static constexpr size_t CHUNK_FRAMES = 256;

    bool Refill();

    int outputRate;
    OggStream ogg;
    std::unique_ptr<Resampler> resampler;
    std::vector<int16_t> decoded;
    std::vector<int16_t> pending;
    size_t pendingPos;
    bool inputDone;
};

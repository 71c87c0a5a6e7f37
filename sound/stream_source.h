// StreamSource: the decode path a stream plays through (OggStream then Resampler), pulled in output
// frames. The feeder thread pulls it into device buffers; tests pull it directly, with no device.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "sound/ogg_stream.h"
#include "sound/resampler.h"

class StreamSource {
public:
    explicit StreamSource(int outputRate);

    OggStream::OpenResult open(const unsigned char* data, size_t size);

    // Writes up to frames stereo frames at the output rate into out; fewer only once the stream ends,
    // then 0 for ever after.
    size_t read(int16_t* out, size_t frames);
    // True once every output frame has been handed out.
    bool finished() const { return inputDone_ && pendingPos_ == pending_.size(); }

    int outputRate() const { return outputRate_; }
    int sourceRate() const { return ogg_.sampleRate(); }
    int sourceChannels() const { return ogg_.channels(); }
    // Seconds of source audio decoded so far; safe to read from another thread.
    double decodedSeconds() const;

private:
    // Source frames decoded per step: small, so decoding stays close behind what the device has taken.
    static constexpr size_t kChunkFrames = 256;

    bool refill();

    int outputRate_;
    OggStream ogg_;
    std::unique_ptr<Resampler> resampler_;
    std::vector<int16_t> decoded_;
    std::vector<int16_t> pending_;
    size_t pendingPos_ = 0;
    bool inputDone_ = true;
    std::atomic<uint64_t> framesDecoded_{0};
};

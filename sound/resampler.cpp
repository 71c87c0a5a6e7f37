// Resampler: integer-phase linear interpolation between consecutive source frames.
#include "sound/resampler.h"

Resampler::Resampler(int srcRate, int srcChannels, int dstRate)
    : srcRate_(srcRate > 0 ? srcRate : 1), dstRate_(dstRate > 0 ? dstRate : 1),
      channels_(srcChannels == 1 ? 1 : 2) {}

uint64_t Resampler::outputFrames(uint64_t srcFrames, int srcRate, int dstRate) {
    const uint64_t src = static_cast<uint64_t>(srcRate);
    return (srcFrames * static_cast<uint64_t>(dstRate) + src - 1) / src;
}

void Resampler::emit(const int16_t* next, std::vector<int16_t>& out) {
    // Every output frame between prev_ and next; then the phase moves on by one source frame.
    while (phase_ < dstRate_) {
        for (int c = 0; c < 2; ++c) {
            const int64_t a = prev_[c];
            const int64_t b = next[c];
            out.push_back(static_cast<int16_t>(a + (b - a) * phase_ / dstRate_));
        }
        phase_ += srcRate_;
    }
    phase_ -= dstRate_;
}

void Resampler::process(const int16_t* in, size_t frames, std::vector<int16_t>& out) {
    out.reserve(out.size() + 2 * static_cast<size_t>(outputFrames(frames + 1, static_cast<int>(srcRate_),
                                                                  static_cast<int>(dstRate_))));
    for (size_t i = 0; i < frames; ++i) {
        const int16_t* frame = in + i * static_cast<size_t>(channels_);
        const int16_t cur[2] = {frame[0], channels_ == 1 ? frame[0] : frame[1]};
        if (havePrev_) {
            emit(cur, out);
        } else {
            havePrev_ = true;
        }
        prev_[0] = cur[0];
        prev_[1] = cur[1];
    }
}

void Resampler::finish(std::vector<int16_t>& out) {
    if (!havePrev_) return;
    const int16_t held[2] = {prev_[0], prev_[1]};
    emit(held, out);
    havePrev_ = false;
}

// Resampler: integer-phase linear interpolation between consecutive source frames.
#include "sound/resampler.h"

Resampler::Resampler(int srcRate, int srcChannels, int dstRate)
    : sourceRate(srcRate > 0 ? srcRate : 1),
      outputRate(dstRate > 0 ? dstRate : 1),
      channels(srcChannels == 1 ? 1 : 2),
      phase(0),
      previous{0, 0},
      havePrevious(false)
{
}

uint64_t Resampler::OutputFrames(uint64_t srcFrames, int srcRate, int dstRate)
{
    const uint64_t src = static_cast<uint64_t>(srcRate);
    return (srcFrames * static_cast<uint64_t>(dstRate) + src - 1) / src;
}

void Resampler::Emit(const int16_t* next, std::vector<int16_t>& out)
{
    // Every output frame between previous and next; then the phase moves on by one source frame.
    while (phase < outputRate) {
        for (int c = 0; c < 2; ++c) {
            const int64_t a = previous[c];
            const int64_t b = next[c];
            out.push_back(static_cast<int16_t>(a + (b - a) * phase / outputRate));
        }
        phase += sourceRate;
    }
    phase -= outputRate;
}

void Resampler::Process(const int16_t* in, size_t frames, std::vector<int16_t>& out)
{
    out.reserve(out.size() + 2 * static_cast<size_t>(OutputFrames(frames + 1, static_cast<int>(sourceRate),
                                                                  static_cast<int>(outputRate))));
    for (size_t i = 0; i < frames; ++i) {
        const int16_t* frame = in + i * static_cast<size_t>(channels);
        const int16_t cur[2] = {frame[0], channels == 1 ? frame[0] : frame[1]};
        if (havePrevious) {
            Emit(cur, out);
        } else {
            havePrevious = true;
        }
        previous[0] = cur[0];
        previous[1] = cur[1];
    }
}

void Resampler::Finish(std::vector<int16_t>& out)
{
    if (!havePrevious) {
        return;
    }
    const int16_t held[2] = {previous[0], previous[1]};
    Emit(held, out);
    havePrevious = false;
}

// Resampler: converts 16-bit PCM from the source rate and channel count to stereo at the output rate,
// by linear interpolation, keeping its place between calls so chunked input gives the same output.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

class Resampler {
public:
    // srcChannels is 1 (copied to both sides) or 2. Rates must be positive.
    Resampler(int srcRate, int srcChannels, int dstRate);

    // Appends to out (interleaved stereo) every output frame that these source frames complete.
    void Process(const int16_t* in, size_t frames, std::vector<int16_t>& out);
    // Appends the output frames that fall after the last source frame (which is held); ends the input.
    void Finish(std::vector<int16_t>& out);

    // How many output frames a whole input of srcFrames gives: ceil(srcFrames * dstRate / srcRate).
    static uint64_t OutputFrames(uint64_t srcFrames, int srcRate, int dstRate);

private:
    void Emit(const int16_t* next, std::vector<int16_t>& out);

    int64_t sourceRate;
    int64_t outputRate;
    int channels;
    // The position of the next output frame, after previous, in units of 1/outputRate of a source frame.
    // Integers keep the arithmetic exact, so the result doesn't depend on how input is chunked.
    int64_t phase;
    int16_t previous[2];
    bool havePrevious;
};

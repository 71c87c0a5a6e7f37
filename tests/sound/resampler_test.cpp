// Resampler: output length, chunking independence, identity at equal rates, pitch after conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sound/resampler.h"

namespace {

constexpr double PI = 3.14159265358979323846;

std::vector<int16_t> Sine(int rate, int channels, double hz, size_t frames)
{
    std::vector<int16_t> pcm(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            pcm[i * channels + c] = static_cast<int16_t>(12000 * std::sin(2 * PI * hz * i / rate));
    return pcm;
}

std::vector<int16_t> ConvertAll(const std::vector<int16_t>& in, int srcRate, int channels, int dstRate)
{
    Resampler resampler(srcRate, channels, dstRate);
    std::vector<int16_t> out;
    resampler.Process(in.data(), in.size() / channels, out);
    resampler.Finish(out);
    return out;
}

// Upward zero crossings per second of one channel of interleaved stereo.
double FrequencyOf(const std::vector<int16_t>& stereo, int channel, int rate)
{
    size_t crossings = 0;
    const size_t frames = stereo.size() / 2;
    for (size_t i = 1; i < frames; ++i)
        if (stereo[(i - 1) * 2 + channel] < 0 && stereo[i * 2 + channel] >= 0)
            ++crossings;
    return crossings * static_cast<double>(rate) / frames;
}

}  // namespace

TEST(SoundResampler, OutputLengthIsSourceLengthScaledAndRoundedUp)
{
    struct Case {
        int src, dst;
        size_t frames;
    };
    for (const Case c : {Case{22050, 44100, 11025}, Case{48000, 44100, 24000}, Case{44100, 44100, 1000},
                         Case{8000, 44100, 7}, Case{32000, 44100, 1}}) {
        const std::vector<int16_t> in(c.frames, 100);
        const std::vector<int16_t> out = ConvertAll(in, c.src, 1, c.dst);
        EXPECT_EQ(out.size() / 2, Resampler::OutputFrames(c.frames, c.src, c.dst)) << c.src << " -> " << c.dst;
        EXPECT_EQ(out.size() / 2, static_cast<size_t>(std::ceil(double(c.frames) * c.dst / c.src)));
    }
}

TEST(SoundResampler, EqualRatesCopyStereoExactly)
{
    const std::vector<int16_t> in = Sine(44100, 2, 1234.5, 5000);
    EXPECT_EQ(ConvertAll(in, 44100, 2, 44100), in);
}

TEST(SoundResampler, MonoGoesToBothChannels)
{
    const std::vector<int16_t> in = Sine(22050, 1, 440, 2000);
    const std::vector<int16_t> out = ConvertAll(in, 22050, 1, 44100);
    for (size_t i = 0; i < out.size(); i += 2)
        ASSERT_EQ(out[i], out[i + 1]) << "frame " << i / 2;
    // Every other output frame lands exactly on a source frame.
    for (size_t i = 0; i < in.size(); ++i)
        ASSERT_EQ(out[i * 4], in[i]) << "source frame " << i;
}

TEST(SoundResampler, ChunkedInputGivesTheSameOutputAsOneCall)
{
    for (int srcRate : {22050, 48000, 32000, 11025}) {
        const std::vector<int16_t> in = Sine(srcRate, 2, 700, 9001);
        const std::vector<int16_t> whole = ConvertAll(in, srcRate, 2, 44100);
        Resampler resampler(srcRate, 2, 44100);
        std::vector<int16_t> pieces;
        size_t at = 0;
        for (size_t step = 1; at < in.size() / 2; step = step * 3 % 517 + 1) {
            const size_t n = std::min(step, in.size() / 2 - at);
            resampler.Process(in.data() + at * 2, n, pieces);
            at += n;
        }
        resampler.Finish(pieces);
        EXPECT_EQ(pieces, whole) << "source rate " << srcRate;
    }
}

TEST(SoundResampler, KeepsThePitch)
{
    for (int srcRate : {8000, 22050, 32000, 48000, 96000}) {
        const std::vector<int16_t> in = Sine(srcRate, 1, 440, static_cast<size_t>(srcRate));
        const std::vector<int16_t> out = ConvertAll(in, srcRate, 1, 44100);
        EXPECT_NEAR(FrequencyOf(out, 0, 44100), 440.0, 2.0) << "source rate " << srcRate;
    }
}

TEST(SoundResampler, InterpolatesBetweenFrames)
{
    const int16_t in[] = {0, 0, 1000, -1000};  // two stereo frames
    Resampler resampler(11025, 2, 44100);
    std::vector<int16_t> out;
    resampler.Process(in, 2, out);
    const std::vector<int16_t> expected = {0, 0, 250, -250, 500, -500, 750, -750};
    EXPECT_EQ(out, expected);
}

// The decode path a stream plays through, pulled without a device: it must match a one-shot reference
// decode, keep the pitch and length of resampled files, and end cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fixture_files.h"
#include "sound/resampler.h"
#include "sound/stream_source.h"

namespace {

constexpr int OUTPUT_RATE = 44100;

// Pulls everything in uneven pieces, as device blocks of different sizes would.
std::vector<int16_t> PullAll(StreamSource& source, size_t piece = 997)
{
    std::vector<int16_t> out;
    std::vector<int16_t> block(piece * 2);
    for (;;) {
        const size_t got = source.Read(block.data(), piece);
        out.insert(out.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got * 2));
        if (got < piece)
            break;
    }
    return out;
}

std::vector<int16_t> ReferenceOutput(const ReferencePcm& pcm)
{
    Resampler resampler(pcm.rate, pcm.channels, OUTPUT_RATE);
    std::vector<int16_t> out;
    resampler.Process(pcm.samples.data(), pcm.frames(), out);
    resampler.Finish(out);
    return out;
}

double FrequencyOf(const std::vector<int16_t>& stereo, int channel, size_t from, size_t to)
{
    size_t crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        if (stereo[(i - 1) * 2 + channel] < 0 && stereo[i * 2 + channel] >= 0)
            ++crossings;
    return crossings * static_cast<double>(OUTPUT_RATE) / static_cast<double>(to - from);
}

class SoundStreamSource : public ::testing::Test {
protected:
    void openFixture(const char* name)
    {
        image = LoadFixture(name);
        ASSERT_FALSE(image.empty()) << "missing fixture " << name;
        ASSERT_EQ(source.Open(image.data(), image.size()), OggStream::OpenResult::Ok);
    }
    std::vector<unsigned char> image;
    StreamSource source{OUTPUT_RATE};
};

}  // namespace

TEST_F(SoundStreamSource, StereoAtOutputRateIsTheReferenceDecodeExactly)
{
    openFixture("tone_44k_stereo.ogg");
    EXPECT_EQ(source.SourceChannels(), 2);
    EXPECT_EQ(source.SourceRate(), 44100);
    const ReferencePcm reference = ReferenceDecode(image);
    ASSERT_EQ(reference.channels, 2);
    ASSERT_EQ(reference.frames(), 44100u);
    const std::vector<int16_t> pulled = PullAll(source);
    ASSERT_EQ(pulled.size(), reference.samples.size());
    EXPECT_TRUE(pulled == reference.samples)
        << "first difference at sample "
        << std::mismatch(pulled.begin(), pulled.end(), reference.samples.begin()).first - pulled.begin();
}

TEST_F(SoundStreamSource, ResampledFilesEqualTheReferenceDecodeResampledInOneGo)
{
    for (const char* name : {"sine_22k_mono.ogg", "sine_48k_stereo.ogg"}) {
        SCOPED_TRACE(name);
        StreamSource fresh(OUTPUT_RATE);
        image = LoadFixture(name);
        ASSERT_EQ(fresh.Open(image.data(), image.size()), OggStream::OpenResult::Ok);
        const std::vector<int16_t> expected = ReferenceOutput(ReferenceDecode(image));
        ASSERT_FALSE(expected.empty());
        for (size_t piece : {1u, 64u, 5512u}) {
            StreamSource again(OUTPUT_RATE);
            ASSERT_EQ(again.Open(image.data(), image.size()), OggStream::OpenResult::Ok);
            EXPECT_TRUE(PullAll(again, piece) == expected) << "pulled " << piece << " frames at a time";
        }
    }
}

TEST_F(SoundStreamSource, MonoAt22050PlaysAt440HzOnBothChannelsForTwiceTheFrames)
{
    openFixture("sine_22k_mono.ogg");
    EXPECT_EQ(source.SourceChannels(), 1);
    EXPECT_EQ(source.SourceRate(), 22050);
    const std::vector<int16_t> out = PullAll(source);
    const size_t frames = out.size() / 2;
    EXPECT_NEAR(static_cast<double>(frames), 2 * 11025.0, 2.0);
    for (size_t i = 0; i < out.size(); i += 2)
        ASSERT_EQ(out[i], out[i + 1]) << "frame " << i / 2;
    // Away from the encoder's edges.
    EXPECT_NEAR(FrequencyOf(out, 0, frames / 10, frames * 9 / 10), 440.0, 5.0);
}

TEST_F(SoundStreamSource, TwoToneStereoKeepsEachSidesPitch)
{
    openFixture("tone_44k_stereo.ogg");
    const std::vector<int16_t> out = PullAll(source);
    const size_t frames = out.size() / 2;
    EXPECT_NEAR(FrequencyOf(out, 0, frames / 10, frames * 9 / 10), 440.0, 5.0);
    EXPECT_NEAR(FrequencyOf(out, 1, frames / 10, frames * 9 / 10), 660.0, 5.0);
}

TEST_F(SoundStreamSource, EndsAfterItsLengthAndThenGivesNothing)
{
    openFixture("sine_48k_stereo.ogg");
    const size_t expected = static_cast<size_t>(Resampler::OutputFrames(24000, 48000, OUTPUT_RATE));
    std::vector<int16_t> block(4096 * 2);
    size_t total = 0;
    while (!source.Finished()) {
        const size_t got = source.Read(block.data(), 4096);
        total += got;
        ASSERT_LE(total, expected + 1) << "the stream runs past its length";
        if (got < 4096) {
            EXPECT_TRUE(source.Finished());
            break;
        }
    }
    EXPECT_NEAR(static_cast<double>(total), static_cast<double>(expected), 1.0);
    EXPECT_TRUE(source.Finished());
    EXPECT_EQ(source.Read(block.data(), 4096), 0u);
    EXPECT_EQ(source.Read(block.data(), 4096), 0u);
    EXPECT_NEAR(source.DecodedSeconds(), 0.5, 0.001);
}

TEST_F(SoundStreamSource, DecodesOnlyAsMuchAsIsPulled)
{
    openFixture("tone_44k_stereo.ogg");
    std::vector<int16_t> block(2205 * 2);
    ASSERT_EQ(source.Read(block.data(), 2205), 2205u);  // 50 ms
    EXPECT_LT(source.DecodedSeconds(), 0.1) << "decoding ran far ahead of what was taken";
    EXPECT_FALSE(source.Finished());
}

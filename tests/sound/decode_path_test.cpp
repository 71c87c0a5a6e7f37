// The decode path without a device: the resampler, the header check, the sample conversion, and the stream source,
// which must give what a one-shot reference decode resampled in one go gives, lazily, then end; and damaged images.
#include <gtest/gtest.h>

#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <utility>
#include <vector>

#include "sound/ogg_header_check.h"
#include "sound/resampler.h"
#include "sound/stream_source.h"
#include "sound_fixtures.h"

#define STB_VORBIS_HEADER_ONLY
#include "stb_vorbis.h"

namespace {

using Pcm = std::vector<int16_t>;

Pcm ConvertAll(const int16_t* in, size_t frames, int srcRate, int channels, bool inPieces = false)
{
    Resampler resampler(srcRate, channels, 44100);
    Pcm out;
    for (size_t at = 0, step = 1; at < frames; at += step, step = step * 3 % 517 + 1) {
        step = inPieces ? std::min(step, frames - at) : frames;
        resampler.Process(in + at * static_cast<size_t>(channels), step, out);
    }
    resampler.Finish(out);
    return out;
}

}  // namespace

TEST(SoundResampler, InterpolatesHoldsTheLastFrameRoundsTheLengthUpAndGivesTheSameOutputInPieces)
{
    const auto sine = [](int rate, int channels, size_t frames) {
        Pcm pcm(frames * static_cast<size_t>(channels));
        for (size_t i = 0; i < pcm.size(); ++i) {
            pcm[i] = static_cast<int16_t>(12000 * sin(2 * 3.14159265358979 * 440 * double(i / channels) / rate));
        }
        return pcm;
    };
    struct Row {
        int src, channels;
        size_t outFrames;
        Pcm in, out;  // out empty where only its length is known
    };
    const Row rows[] = {
        {22050, 2, 4, {0, 0, 1000, -1000}, {0, 0, 500, -500, 1000, -1000, 1000, -1000}},
        {22050, 1, 6, {0, 100, 200}, {0, 0, 50, 50, 100, 100, 150, 150, 200, 200, 200, 200}},
        {44100, 2, 3, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}},
        {32000, 2, 2, sine(32000, 2, 1), {}},
        {8000, 1, 44100, sine(8000, 1, 8000), {}},
        {48000, 2, 44100, sine(48000, 2, 48000), {}},
    };
    for (const Row& r : rows) {
        const size_t frames = r.in.size() / static_cast<size_t>(r.channels);
        SCOPED_TRACE(std::to_string(frames) + " frames at " + std::to_string(r.src) + " Hz");
        const Pcm out = ConvertAll(r.in.data(), frames, r.src, r.channels);
        EXPECT_EQ(out.size(), 2 * r.outFrames);
        EXPECT_EQ(out, r.out.empty() ? out : r.out);
        EXPECT_TRUE(ConvertAll(r.in.data(), frames, r.src, r.channels, true) == out);
    }
}

TEST(SoundOggStream, SamplesRoundAsTheDecoderRoundsAndWildOnesSaturate)
{
    const std::pair<float, int> rows[] = {{0.5f / 32768, 0}, {1.5f / 32768, 2}, {-2.5f / 32768, -2},
                                          {0.99999f, 32767}, {1, 32767},        {-1, -32768},
                                          {-500, -32768},    {1e30f, 32767},    {NAN, 0}};
    for (const auto& [sample, pcm] : rows) {
        EXPECT_EQ(OggStream::ToPcm16(sample), pcm) << sample;
    }
}

TEST(SoundStreamSource, GivesTheReferenceInAnyPiecesLazilyThenEnds)
{
    for (const char* name : {"tone_44k_stereo.ogg", "sine_22k_mono.ogg", "sine_48k_stereo.ogg"}) {
        const Image image = LoadFixture(name);
        // The image decoded whole by stb_vorbis, resampled in one go: what a stream of it must give.
        int channels = 0, rate = 0;
        short* pcm = nullptr;
        const int frames = stb_vorbis_decode_memory(image.data(), int(image.size()), &channels, &rate, &pcm);
        const Pcm expected = frames > 0 ? ConvertAll(pcm, size_t(frames), rate, channels) : Pcm();
        free(pcm);
        ASSERT_FALSE(expected.empty()) << name;
        for (size_t piece : {1u, 997u, 5512u}) {
            SCOPED_TRACE(std::string(name) + " pulled " + std::to_string(piece) + " frames at a time");
            StreamSource source(44100);
            ASSERT_EQ(source.Open(image.data(), image.size()), OggStream::OpenResult::Ok);
            // Pulled in pieces, as device blocks would be; decoding keeps close behind what was taken.
            Pcm pulled, block(piece * 2);
            for (size_t got = piece; got == piece;) {
                got = source.Read(block.data(), piece);
                pulled.insert(pulled.end(), block.begin(), block.begin() + ptrdiff_t(got * 2));
                ASSERT_LT(source.DecodedSeconds(), pulled.size() / 88200.0 + 0.05) << "decoded far ahead";
            }
            EXPECT_TRUE(pulled == expected);
            EXPECT_TRUE(source.Finished());
            EXPECT_EQ(source.Read(block.data(), 1), 0u);
            EXPECT_NEAR(source.DecodedSeconds(), expected.size() / 88200.0, 0.001);
        }
    }
}

// What native fuzzing found (tools/fuzz covers random damage), one input crafted after it, and a file cut at every
// eighth of its length, as a half-copied file is: each is refused or decodes to its end, without crash or runaway.
TEST(SoundDamagedImages, TheHeaderCheckRefusesTheWorstAndTheRestAreRefusedOrDecodeToTheirEnd)
{
    // Each took stb_vorbis into undefined behaviour until the layer kept it away; the first three by codebooks the
    // header check refuses (a lookup-1 count's power overflowing int, a lookup-2 table of 2^30 values, a 31-bit mask).
    std::vector<Image> images;
    for (const char* name : {"fuzz_lookup1_overflow.ogg", "crafted_lookup2_overflow.ogg", "fuzz_codeword31_mask.ogg",
                             "fuzz_negative_window.ogg", "fuzz_sample_overflow.ogg"}) {
        images.push_back(LoadFixture(name));
        ASSERT_FALSE(images.back().empty()) << name;
        EXPECT_TRUE(images.size() > 3 || !HeadersAreSane(images.back().data(), images.back().size())) << name;
    }
    Image whole = LoadFixture("tone_44k_stereo.ogg");
    for (size_t eighth = 0; eighth < 8; ++eighth) {
        images.emplace_back(whole.begin(), whole.begin() + ptrdiff_t(whole.size() * eighth / 8));
    }
    // The header check refuses a comment packet (after the 58-byte first page and a 27 + 16-byte page header) cut
    // short, with the real bytes after the cut, so a check reading past it would see a whole packet; or overlong.
    const size_t comment = 58 + 27 + 16;
    ASSERT_EQ(memcmp(whole.data() + comment, "\x03vorbis", 7), 0);
    EXPECT_FALSE(HeadersAreSane(whole.data(), comment + 30));
    whole[comment + 10] = 0xff;  // the vendor length's top byte: a vendor string far past the packet
    EXPECT_FALSE(HeadersAreSane(whole.data(), whole.size()));
    int opened = 0;
    Pcm block(4096 * 2);
    for (size_t i = 0; i < images.size(); ++i) {
        StreamSource source(44100);
        if (source.Open(images[i].data(), images[i].size()) != OggStream::OpenResult::Ok) {
            continue;
        }
        ++opened;
        // Far beyond any fixture's 1 s: output past this means the decoder is looping on damaged data.
        for (size_t frames = 0, got = 1; got > 0; frames += got) {
            got = source.Read(block.data(), 4096);
            ASSERT_LE(frames, 44100 * 30u) << "image " << i << " decodes without end";
        }
        EXPECT_TRUE(source.Finished());
    }
    EXPECT_GE(opened, 3) << "the cut files that keep their headers open and decode what they hold";
}

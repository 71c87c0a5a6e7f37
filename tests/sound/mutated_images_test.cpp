// Robustness: thousands of damaged images (bit flips, cuts, pages spliced from two files, runs of noise),
// and first the inputs that native fuzzing (tools/fuzz) found and one made after them, go through
// FSOUND_Stream_Open and, when one opens, the whole decode path. Nothing may crash or run away.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "sound/fsound_stream.h"
#include "sound_fixtures.h"

TEST(SoundMutatedImages, OpenAndDecodeWithoutCrashingOrRunningAway)
{
    const Image seeds[] = {LoadFixture("tone_44k_stereo.ogg"), LoadFixture("sine_22k_mono.ogg"),
                           LoadFixture("sine_48k_stereo.ogg")};
    for (const Image& seed : seeds) {
        ASSERT_FALSE(seed.empty());
    }
    std::mt19937 rng(20240613);
    const auto pick = [&](size_t n) { return rng() % n; };
    constexpr int IMAGES = 2000;
    // Far beyond any fixture's 1 s: output past this means the decoder is looping on damaged data.
    constexpr size_t MAX_FRAMES = 44100 * 30;
    int opened = 0;
    std::vector<int16_t> block(4096 * 2);
    ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND) && FSOUND_Init(44100, 32, 0));
    // Each took stb_vorbis into undefined behaviour until the layer kept it away (tools/fuzz replays them).
    const char* const found[] = {"fuzz_lookup1_overflow.ogg", "fuzz_negative_window.ogg", "fuzz_sample_overflow.ogg",
                                 "fuzz_codeword31_mask.ogg", "crafted_lookup2_overflow.ogg"};
    constexpr int FOUND = sizeof(found) / sizeof(found[0]);
    for (int i = -FOUND; i < IMAGES; ++i) {
        Image image = i < 0 ? LoadFixture(found[i + FOUND]) : seeds[pick(3)];
        if (i < 0) {
            ASSERT_FALSE(image.empty()) << found[i + FOUND];
        } else if (i % 4 == 0) {
            for (size_t flips = 1 + pick(8); flips > 0; --flips) {
                image[pick(image.size())] ^= static_cast<unsigned char>(1u << pick(8));
            }
        } else if (i % 4 == 1) {
            image.resize(pick(image.size()));
        } else if (i % 4 == 2) {  // the first pages of one file, then the later pages of another
            const Image& other = seeds[pick(3)];
            const auto pageAfter = [&](const Image& of) {
                return std::search(of.begin() + ptrdiff_t(pick(of.size())), of.end(), "OggS", "OggS" + 4);
            };
            image.erase(pageAfter(image), image.end());
            image.insert(image.end(), pageAfter(other), other.end());
        } else {  // a run of noise: damages whole packets rather than single bits
            for (size_t at = pick(image.size()), end = at + 1 + pick(64); at < end && at < image.size(); ++at) {
                image[at] = static_cast<unsigned char>(rng());
            }
        }
        FSOUND_STREAM* stream = OpenImage(image);
        if (stream == nullptr) {
            const int code = FSOUND_GetError();
            ASSERT_TRUE(code == FSOUND_ERR_FILE_FORMAT || code == FSOUND_ERR_FILE_BAD || code == FSOUND_ERR_MEMORY)
                << "image " << i << ": code " << code;
            continue;
        }
        ++opened;
        size_t frames = 0;
        while (size_t got = stream->source.Read(block.data(), 4096)) {
            frames += got;
            ASSERT_LE(frames, MAX_FRAMES) << "image " << i << " decodes without end";
        }
        EXPECT_TRUE(stream->source.Finished());
        // Close frees the streams; keep memory flat.
        if (i % 64 == 63) {
            FSOUND_Close();
            ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
        }
    }
    FSOUND_Close();
    EXPECT_GT(opened, IMAGES / 10) << "too few images opened to exercise the decode path";
}

// Robustness: thousands of damaged images (bit flips, cuts, pages spliced from two files) go through
// FSOUND_Stream_Open and, when one opens, the whole decode path. Nothing may crash or run away.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "fixture_files.h"
#include "sound/fsound.h"
#include "sound/fsound_stream.h"

namespace {

using Image = std::vector<unsigned char>;

constexpr unsigned MODE = FSOUND_NORMAL | FSOUND_LOADMEMORY | FSOUND_MPEGACCURATE;
// Far beyond any fixture's 1 s: output past this means the decoder is looping on damaged data.
constexpr size_t MAX_FRAMES = 44100 * 30;

std::vector<size_t> PageStarts(const Image& image)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i + 4 <= image.size(); ++i)
        if (image[i] == 'O' && image[i + 1] == 'g' && image[i + 2] == 'g' && image[i + 3] == 'S')
            starts.push_back(i);
    return starts;
}

Image FlipBits(const Image& image, std::mt19937& rng)
{
    Image out = image;
    const int flips = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < flips; ++i)
        out[rng() % out.size()] ^= static_cast<unsigned char>(1u << (rng() % 8));
    return out;
}

Image Truncate(const Image& image, std::mt19937& rng)
{
    return Image(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(rng() % image.size()));
}

// The first pages of one file followed by the later pages of another.
Image Splice(const Image& a, const Image& b, std::mt19937& rng)
{
    const std::vector<size_t> pagesA = PageStarts(a);
    const std::vector<size_t> pagesB = PageStarts(b);
    const size_t cutA = pagesA[rng() % pagesA.size()];
    const size_t cutB = pagesB[rng() % pagesB.size()];
    Image out(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(cutA));
    out.insert(out.end(), b.begin() + static_cast<std::ptrdiff_t>(cutB), b.end());
    return out;
}

// Overwrites a run of bytes with noise: damages whole packets rather than single bits.
Image Scribble(const Image& image, std::mt19937& rng)
{
    Image out = image;
    const size_t at = rng() % out.size();
    const size_t length = 1 + rng() % 64;
    for (size_t i = at; i < out.size() && i < at + length; ++i)
        out[i] = static_cast<unsigned char>(rng());
    return out;
}

}  // namespace

TEST(SoundMutatedImages, OpenAndDecodeWithoutCrashing)
{
    const std::vector<Image> seeds = {LoadFixture("tone_44k_stereo.ogg"), LoadFixture("sine_22k_mono.ogg"),
                                      LoadFixture("sine_48k_stereo.ogg")};
    for (const Image& seed : seeds)
        ASSERT_FALSE(seed.empty());

    std::mt19937 rng(20240613);
    constexpr int IMAGES = 2000;
    int opened = 0;
    size_t framesPulled = 0;
    std::vector<int16_t> block(4096 * 2);
    const auto started = std::chrono::steady_clock::now();

    ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND));
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    for (int i = 0; i < IMAGES; ++i) {
        const Image& seed = seeds[rng() % seeds.size()];
        Image image;
        switch (i % 4) {
        case 0:
            image = FlipBits(seed, rng);
            break;
        case 1:
            image = Truncate(seed, rng);
            break;
        case 2:
            image = Splice(seed, seeds[rng() % seeds.size()], rng);
            break;
        default:
            image = Scribble(seed, rng);
            break;
        }
        // An empty image still needs a valid pointer: null data is a different error.
        const char* data = image.empty() ? "" : reinterpret_cast<const char*>(image.data());
        FSOUND_STREAM* stream = FSOUND_Stream_Open(data, MODE, 0, static_cast<int>(image.size()));
        if (!stream) {
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
        framesPulled += frames;
        // Close frees the streams; keep memory flat.
        if (i % 64 == 63) {
            FSOUND_Close();
            ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
        }
    }
    FSOUND_Close();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("mutated images: %d tried, %d opened and decoded (%.1f s of output) in %.2f s\n", IMAGES, opened,
                static_cast<double>(framesPulled) / 44100, seconds);
    EXPECT_GT(opened, IMAGES / 10) << "too few images opened to exercise the decode path";
}

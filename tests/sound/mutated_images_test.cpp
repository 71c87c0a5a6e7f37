// Robustness through FSOUND_Stream_Open and, when an image opens, the whole decode path: the inputs that
// native fuzzing (tools/fuzz, which covers random damage) found, one crafted after them, and a file cut short
// at every eighth of its length, as a half-copied file is. Each is refused with a file error or decodes to its
// end; nothing may crash or run away.
#include <gtest/gtest.h>

#include <vector>

#include "sound/fsound_stream.h"
#include "sound_fixtures.h"

TEST(SoundDamagedImages, AreRefusedOrDecodeToTheirEnd)
{
    // Each took stb_vorbis into undefined behaviour until the layer kept it away.
    std::vector<Image> images;
    for (const char* name : {"fuzz_lookup1_overflow.ogg", "fuzz_negative_window.ogg", "fuzz_sample_overflow.ogg",
                             "fuzz_codeword31_mask.ogg", "crafted_lookup2_overflow.ogg"}) {
        images.push_back(LoadFixture(name));
        ASSERT_FALSE(images.back().empty()) << name;
    }
    const Image whole = LoadFixture("tone_44k_stereo.ogg");
    ASSERT_FALSE(whole.empty());
    for (size_t eighth = 0; eighth < 8; ++eighth) {
        images.emplace_back(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(whole.size() * eighth / 8));
    }
    // Far beyond any fixture's 1 s: output past this means the decoder is looping on damaged data.
    const size_t MAX_FRAMES = 44100 * 30;
    std::vector<int16_t> block(4096 * 2);
    ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND) && FSOUND_Init(44100, 32, 0));
    int opened = 0;
    for (size_t i = 0; i < images.size(); ++i) {
        FSOUND_STREAM* stream = OpenImage(images[i]);
        if (stream == nullptr) {
            const int code = FSOUND_GetError();
            EXPECT_TRUE(code == FSOUND_ERR_FILE_FORMAT || code == FSOUND_ERR_FILE_BAD || code == FSOUND_ERR_MEMORY)
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
    }
    FSOUND_Close();
    EXPECT_GE(opened, 3) << "the cut files that keep their headers open and decode what they hold";
}

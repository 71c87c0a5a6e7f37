// The error texts of the music start: every code the sound layer gives has its own text, codes outside it none.
#include <gtest/gtest.h>

#include "app/music_start.h"
#include "sound/fsound.h"

namespace {

TEST(SoundErrorText, CodesInTheTableHaveTheirMessageOthersAreUnknown)
{
    for (int code = FSOUND_ERR_NONE; code <= FSOUND_ERR_MEDIAPLAYER; ++code) {
        EXPECT_STRNE(SoundErrorText(code), "Unknown error") << code;
    }
    for (int code : {FSOUND_ERR_MEDIAPLAYER + 1, -1, static_cast<int>(0x80000000)}) {
        EXPECT_STREQ(SoundErrorText(code), "Unknown error") << code;
    }
}

}  // namespace

// The error texts of the music start: the table's ends and a code between, and codes outside it.
#include <gtest/gtest.h>

#include "app/music_start.h"
#include "sound/fsound.h"

namespace {

TEST(SoundErrorText, CodesInTheTableHaveTheirMessageOthersAreUnknown)
{
    const struct {
        int code;
        const char* text;
    } rows[] = {
        {FSOUND_ERR_NONE, "No errors"},
        {FSOUND_ERR_FILE_NOTFOUND, "File not found"},
        {FSOUND_ERR_MEMORY, "Not enough memory "},
        {FSOUND_ERR_MEDIAPLAYER, "Required Mediaplayer codec is not installed"},
        {19, "Unknown error"},
        {-1, "Unknown error"},
        {static_cast<int>(0x80000000), "Unknown error"},
    };
    for (const auto& row : rows) {
        EXPECT_STREQ(SoundErrorText(row.code), row.text) << row.code;
    }
    EXPECT_EQ(FSOUND_ERR_MEDIAPLAYER, 18);
}

}  // namespace

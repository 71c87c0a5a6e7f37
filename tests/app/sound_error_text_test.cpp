// The error texts of the music start, for every code of the sound layer and for codes outside it.
#include <gtest/gtest.h>

#include "app/music_start.h"
#include "sound/fsound.h"

namespace {

TEST(SoundErrorText, EveryCodeHasItsMessage)
{
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_NONE), "No errors");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_BUSY),
                 "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_UNINITIALIZED), "This command failed because FSOUND_Init was not called");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_INIT), "Error initializing output device.");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_ALLOCATED), "The output device is already in use and cannot be reused.");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_PLAY), "Playing the sound failed.");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_OUTPUT_FORMAT),
                 "Soundcard does not support the features needed for this soundsystem (16bit stereo output)");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_COOPERATIVELEVEL), "Error setting cooperative level for hardware.");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_CREATEBUFFER), "Error creating hardware sound buffer.");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_FILE_NOTFOUND), "File not found");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_FILE_FORMAT), "Unknown file format");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_FILE_BAD), "Error loading file");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_MEMORY), "Not enough memory ");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_VERSION), "The version number of this file format is not supported");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_INVALID_PARAM), "An invalid parameter was passed to this function");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_NO_EAX),
                 "Tried to use an EAX command on a non EAX enabled channel or output.");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_CHANNEL_ALLOC), "Failed to allocate a new channel");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_RECORD), "Recording not supported on this device");
    EXPECT_STREQ(SoundErrorText(FSOUND_ERR_MEDIAPLAYER), "Required Mediaplayer codec is not installed");
    EXPECT_EQ(FSOUND_ERR_MEDIAPLAYER, 18);
}

TEST(SoundErrorText, CodesOutsideTheTableAreUnknown)
{
    for (int code : {19, 20, -1, -100, 1000, 0x7fffffff, static_cast<int>(0x80000000)}) {
        EXPECT_STREQ(SoundErrorText(code), "Unknown error") << code;
    }
}

}  // namespace

// The music start: the order of sound-layer calls, the file read, and the error report on standard output.
#include "app/music_start.h"

#include <stdio.h>

#include <memory>

#include "sound/file_image.h"
#include "sound/fsound.h"

namespace {

const int DEFAULT_DRIVER = 0;
const int SOFTWARE_CHANNELS = 32;
const int STREAM_BUFFER_MS = 1000;
const unsigned int STREAM_MODE = FSOUND_NORMAL | FSOUND_LOADMEMORY | FSOUND_MPEGACCURATE;

const char* const ERROR_TEXTS[] = {
    "No errors",
    "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.",
    "This command failed because FSOUND_Init was not called",
    "Error initializing output device.",
    "The output device is already in use and cannot be reused.",
    "Playing the sound failed.",
    "Soundcard does not support the features needed for this soundsystem (16bit stereo output)",
    "Error setting cooperative level for hardware.",
    "Error creating hardware sound buffer.",
    "File not found",
    "Unknown file format",
    "Error loading file",
    "Not enough memory ",
    "The version number of this file format is not supported",
    "An invalid parameter was passed to this function",
    "Tried to use an EAX command on a non EAX enabled channel or output.",
    "Failed to allocate a new channel",
    "Recording not supported on this device",
    "Required Mediaplayer codec is not installed",
};
const int ERROR_TEXT_COUNT = static_cast<int>(sizeof(ERROR_TEXTS) / sizeof(ERROR_TEXTS[0]));

// The stream plays until the process ends; its file image is never freed.
FSOUND_STREAM* musicStream = nullptr;

bool ReportSoundError(const char* reason)
{
    printf("Error!\n");
    printf("%s\n", reason);
    fflush(stdout);
    FSOUND_Close();
    return false;
}

}  // namespace

const char* SoundErrorText(int code)
{
    if (code < 0 || code >= ERROR_TEXT_COUNT) {
        return "Unknown error";
    }
    return ERROR_TEXTS[code];
}

bool MusicStart()
{
    FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND);
    FSOUND_SetDriver(DEFAULT_DRIVER);
    if (!FSOUND_Init(MUSIC_MIX_RATE, SOFTWARE_CHANNELS, 0)) {
        return ReportSoundError(SoundErrorText(FSOUND_GetError()));
    }
    FSOUND_Stream_SetBufferSize(STREAM_BUFFER_MS);

    std::unique_ptr<char[]> image;
    size_t size = 0;
    switch (ReadFileImage("audio.ogg", image, size)) {
    case FileImageStatus::Read:
        break;
    case FileImageStatus::NotFound:
        return ReportSoundError("File Not Found");
    case FileImageStatus::NoMemory:
        return ReportSoundError(SoundErrorText(FSOUND_ERR_MEMORY));
    case FileImageStatus::Unreadable:
        // A read that comes up short is a file we cannot play; an empty one goes to the stream, which refuses it.
        return ReportSoundError(SoundErrorText(FSOUND_ERR_FILE_BAD));
    }
    musicStream = FSOUND_Stream_Open(image.get(), STREAM_MODE, 0, static_cast<int>(size));
    if (musicStream == nullptr) {
        return ReportSoundError(SoundErrorText(FSOUND_GetError()));
    }
    image.release();  // the stream plays from it until the process ends
    return true;
}

int MusicPlay()
{
    if (musicStream == nullptr) {
        return -1;
    }
    const int channel = FSOUND_Stream_PlayEx(FSOUND_FREE, musicStream, nullptr, 0);
    if (channel < 0) {
        printf("Error!\n");
        printf("%s\n", SoundErrorText(FSOUND_GetError()));
        fflush(stdout);
        FSOUND_Close();
        musicStream = nullptr;
    }
    return channel;
}

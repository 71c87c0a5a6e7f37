// The sound layer's interface: the FSOUND_ calls the music start uses, with their argument meanings and
// results. Ogg Vorbis streams from a memory image, played on the default Win32 audio device.
#pragma once

struct FSOUND_STREAM;
struct FSOUND_DSPUNIT;

// Error codes reported by FSOUND_GetError, in the order of the program's error-text table.
enum FSOUND_ERRORS {
    FSOUND_ERR_NONE = 0,
    FSOUND_ERR_BUSY,
    FSOUND_ERR_UNINITIALIZED,
    FSOUND_ERR_INIT,
    FSOUND_ERR_ALLOCATED,
    FSOUND_ERR_PLAY,
    FSOUND_ERR_OUTPUT_FORMAT,
    FSOUND_ERR_COOPERATIVELEVEL,
    FSOUND_ERR_CREATEBUFFER,
    FSOUND_ERR_FILE_NOTFOUND,
    FSOUND_ERR_FILE_FORMAT,
    FSOUND_ERR_FILE_BAD,
    FSOUND_ERR_MEMORY,
    FSOUND_ERR_VERSION,
    FSOUND_ERR_INVALID_PARAM,
    FSOUND_ERR_NO_EAX,
    FSOUND_ERR_CHANNEL_ALLOC,
    FSOUND_ERR_RECORD,
    FSOUND_ERR_MEDIAPLAYER
};

// Output types: 1 and 2 both play through this layer's Win32 audio output; 0 decodes and plays nothing.
enum { FSOUND_OUTPUT_NOSOUND = 0, FSOUND_OUTPUT_WINMM = 1, FSOUND_OUTPUT_DSOUND = 2 };

// Stream mode flags.
enum : unsigned int {
    FSOUND_LOOP_OFF = 0x00000001,
    FSOUND_8BITS = 0x00000008,
    FSOUND_16BITS = 0x00000010,
    FSOUND_MONO = 0x00000020,
    FSOUND_STEREO = 0x00000040,
    FSOUND_SIGNED = 0x00000100,
    FSOUND_LOADMEMORY = 0x00008000,
    FSOUND_MPEGACCURATE = 0x00020000,
    FSOUND_NORMAL = FSOUND_16BITS | FSOUND_SIGNED | FSOUND_MONO
};

enum { FSOUND_FREE = -1 };

// Each returns non-zero on success and zero on failure (FSOUND_GetError then tells why), except where noted.
signed char FSOUND_SetOutput(int outputType);
signed char FSOUND_SetDriver(int driver);
signed char FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int flags);
int FSOUND_GetError();
void FSOUND_Close();
signed char FSOUND_Stream_SetBufferSize(int milliseconds);
// data is a memory image of length bytes, its first offset bytes skipped, kept by the caller for the stream's
// life; mode must hold FSOUND_LOADMEMORY (the layer opens no files). Returns null on failure.
FSOUND_STREAM* FSOUND_Stream_Open(const char* data, unsigned int mode, int offset, int length);
// Returns the channel the stream plays on, or -1 on failure.
int FSOUND_Stream_PlayEx(int channel, FSOUND_STREAM* stream, FSOUND_DSPUNIT* dsp, signed char startPaused);

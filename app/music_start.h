// The music: "audio.ogg" read whole into memory and streamed by the sound layer, and the texts of its errors.
#pragma once

// The rate the music is mixed at: the demo's sound output, and the capture's WAV.
constexpr int MUSIC_MIX_RATE = 44100;

// Opens the sound output and the stream. On failure writes "Error!" and the reason to standard output,
// closes the sound layer and returns false.
bool MusicStart();

// Starts the opened stream on any free channel; returns the channel, or -1 (also after a failed start).
int MusicPlay();

// The message for a sound-layer error code; "Unknown error" for a code outside the table.
const char* SoundErrorText(int code);

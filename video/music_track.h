// The music of a capture: "audio.ogg" decoded through the sound layer's own decode path into a WAV file of
// exactly the video's length, its first sample at the first frame.
#pragma once

#include <string>

// Writes sampleFrames stereo frames at MUSIC_MIX_RATE, silence past the track's end. The file appears under its
// name only when complete. On a fault returns false with a one-line reason.
bool WriteMusicWav(const char* oggPath, const char* wavPath, long long sampleFrames, std::string& error);

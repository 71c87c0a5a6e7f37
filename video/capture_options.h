// The capture tool's options: what to capture (rate, size, length) and where the frames and the music go.
#pragma once

#include <string>

struct CaptureOptions {
    std::string out = "kelvra.mp4";  // the video file; written by the encoder, named here to be checked
    int fps = 60;
    int width = 800;
    int height = 600;
    double seconds = 0.0;  // 0: the whole production
    bool antialias = true;
    std::string video;     // where the raw frames go (a file or a named pipe)
    std::string audio;     // where the music goes, as a WAV file
};

constexpr int CAPTURE_MIN_FPS = 1;
constexpr int CAPTURE_MAX_FPS = 240;
constexpr int CAPTURE_MIN_SIZE = 64;
constexpr int CAPTURE_MAX_SIZE = 4096;

// Reads --out FILE, --fps N, --size WxH, --seconds S, --aa on|off, --video PATH and --audio PATH. On a fault returns
// false with a one-line reason.
bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options, std::string& error);

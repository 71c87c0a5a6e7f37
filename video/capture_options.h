// The capture tool's options: what to capture (rate, size, length) and where the frames and the music go, and
// the stream they make, as --describe tells it to the script that starts the encoder.
#pragma once

#include <string>

struct CaptureOptions {
    std::string out = "kelvra.mp4";  // the video file; written by the encoder, named here to be checked
    int fps = 60;
    int width = 800;
    int height = 600;
    double seconds = 0.0;  // 0: the whole production
    bool antialias = true;
    std::string video;      // where the raw frames go (a file or a named pipe)
    std::string audio;      // where the music goes, as a WAV file
    bool describe = false;  // --describe: print the stream (DescribeCapture) instead of capturing
};

constexpr int CAPTURE_MIN_FPS = 1;
constexpr int CAPTURE_MAX_FPS = 240;
constexpr int CAPTURE_MIN_SIZE = 64;
constexpr int CAPTURE_MAX_SIZE = 4096;

// Reads --out FILE, --fps N, --size WxH, --seconds S, --aa on|off, --video PATH, --audio PATH and --describe. On a
// fault returns false with a one-line reason.
bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options, std::string& error);
// The frames the capture draws: the whole production, or its first `seconds` to the nearest frame.
int CaptureFrameCount(const CaptureOptions& options);
// The stream for the encoder, on one line: "WIDTH HEIGHT FPS FRAMES".
std::string DescribeCapture(const CaptureOptions& options);

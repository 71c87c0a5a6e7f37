// Option parsing for the capture tool: strict numbers, sizes the encoder and GL can take, no unknown options;
// and the frame count and stream description that follow from the options.
#include "video/capture_options.h"

#include <ctype.h>
#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "video/production_length.h"

namespace {

// strtol and strtod skip leading white space and take a sign: a number here starts with a digit.
bool StartsWithDigit(const char* text)
{
    return text != nullptr && isdigit(static_cast<unsigned char>(text[0]));
}

bool ParseWhole(const char* text, long low, long high, long& value)
{
    if (!StartsWithDigit(text)) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long parsed = strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseSize(const char* text, int& width, int& height, std::string& error)
{
    const char* x = text != nullptr ? strchr(text, 'x') : nullptr;
    if (x == nullptr) {
        error = "--size takes WIDTHxHEIGHT, for example 800x600";
        return false;
    }
    const std::string w(text, static_cast<size_t>(x - text));
    long parsedWidth = 0;
    long parsedHeight = 0;
    if (!ParseWhole(w.c_str(), 0, 1000000, parsedWidth) || !ParseWhole(x + 1, 0, 1000000, parsedHeight)) {
        error = "--size takes WIDTHxHEIGHT, for example 800x600";
        return false;
    }
    if (parsedWidth < CAPTURE_MIN_SIZE || parsedHeight < CAPTURE_MIN_SIZE || parsedWidth > CAPTURE_MAX_SIZE ||
        parsedHeight > CAPTURE_MAX_SIZE) {
        error = "cannot render " + std::string(text) + ": width and height must lie between 64 and 4096";
        return false;
    }
    if (parsedWidth % 2 != 0 || parsedHeight % 2 != 0) {
        error = "cannot encode " + std::string(text) + ": width and height must be even";
        return false;
    }
    width = static_cast<int>(parsedWidth);
    height = static_cast<int>(parsedHeight);
    return true;
}

bool ParseSeconds(const char* text, double& seconds)
{
    if (!StartsWithDigit(text) &&
        !(text != nullptr && text[0] == '.' && isdigit(static_cast<unsigned char>(text[1])))) {
        return false;
    }
    char* end = nullptr;
    const double parsed = strtod(text, &end);
    if (*end != '\0' || !(parsed > 0.0) || parsed > 3600.0) {
        return false;
    }
    seconds = parsed;
    return true;
}

}  // namespace

bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (name == "--describe") {
            options.describe = true;
            continue;
        }
        if (name != "--out" && name != "--fps" && name != "--size" && name != "--seconds" && name != "--aa" &&
            name != "--video" && name != "--audio") {
            error = "unknown option '" + name + "' (options: --out FILE --fps N --size WxH --seconds S --aa on|off)";
            return false;
        }
        if (value == nullptr) {
            error = "option " + name + " needs a value";
            return false;
        }
        ++i;
        if (name == "--out" || name == "--video" || name == "--audio") {
            if (*value == '\0') {
                error = "option " + name + " needs a file name";
                return false;
            }
            (name == "--out" ? options.out : name == "--video" ? options.video : options.audio) = value;
        } else if (name == "--fps") {
            long fps = 0;
            if (!ParseWhole(value, CAPTURE_MIN_FPS, CAPTURE_MAX_FPS, fps)) {
                error = "--fps takes a whole number from 1 to 240";
                return false;
            }
            options.fps = static_cast<int>(fps);
        } else if (name == "--size") {
            if (!ParseSize(value, options.width, options.height, error)) {
                return false;
            }
        } else if (name == "--aa") {
            if (strcmp(value, "on") != 0 && strcmp(value, "off") != 0) {
                error = "--aa takes on or off";
                return false;
            }
            options.antialias = strcmp(value, "on") == 0;
        } else if (!ParseSeconds(value, options.seconds)) {
            error = "--seconds takes a number of seconds above 0";
            return false;
        }
    }
    // Checked once the rate is known, whichever came first. A decimal typed for 1/fps may land a hair below it.
    if (options.seconds > 0.0 && options.seconds * options.fps < 1.0 - 1e-9) {
        char line[128];
        snprintf(line, sizeof(line), "--seconds is shorter than a frame at %d fps: it takes at least 1/%d s (%g)",
                 options.fps, options.fps, ceil(10000.0 / options.fps) / 10000.0);
        error = line;
        return false;
    }
    return true;
}

int CaptureFrameCount(const CaptureOptions& options)
{
    const int whole = ProductionFrameCount(options.fps);
    const double limit = options.seconds * options.fps;
    return options.seconds > 0.0 && limit < whole ? static_cast<int>(limit + 0.5) : whole;
}

std::string DescribeCapture(const CaptureOptions& options)
{
    return std::to_string(options.width) + " " + std::to_string(options.height) + " " + std::to_string(options.fps) +
           " " + std::to_string(CaptureFrameCount(options));
}

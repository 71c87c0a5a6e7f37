// FSOUND_STREAM: what FSOUND_Stream_Open hands out, an opened image and the decode path it plays through.
// Tests include it to pull a stream's PCM without a device.
#pragma once

#include <vector>

#include "sound/stream_source.h"

struct FSOUND_STREAM {
    explicit FSOUND_STREAM(int outputRate) : source(outputRate) {}

    // Holds the file's bytes when the stream was opened by name; empty for a caller's memory image.
    std::vector<unsigned char> ownedImage;
    StreamSource source;
};

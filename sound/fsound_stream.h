// FSOUND_STREAM: what FSOUND_Stream_Open hands out, the decode path an opened memory image plays through.
// Tests include it to pull a stream's PCM without a device.
#pragma once

#include "sound/stream_source.h"

struct FSOUND_STREAM {
    explicit FSOUND_STREAM(int outputRate) : source(outputRate) {}

    StreamSource source;
};

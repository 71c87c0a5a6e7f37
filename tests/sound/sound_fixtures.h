// The Ogg fixtures in data/ (copied beside the test program), and handing one to the layer as memory.
#pragma once

#include <string>
#include <vector>

#include "sound/file_image.h"
#include "sound/fsound.h"

using Image = std::vector<unsigned char>;
constexpr unsigned MODE = FSOUND_NORMAL | FSOUND_LOADMEMORY | FSOUND_MPEGACCURATE;

inline Image LoadFixture(const std::string& name)
{
    Image bytes;
    ReadFileImage(("data/" + name).c_str(), bytes);
    return bytes;
}

inline FSOUND_STREAM* OpenImage(const Image& image)
{
    return FSOUND_Stream_Open(reinterpret_cast<const char*>(image.data()), MODE, 0, static_cast<int>(image.size()));
}

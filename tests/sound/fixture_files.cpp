// Fixture loading and the one-shot reference decode the stream's output is compared with.
#include "fixture_files.h"

#include <cstdio>
#include <cstdlib>

#include "sound/file_image.h"

#define STB_VORBIS_HEADER_ONLY
#include "stb_vorbis.h"

std::vector<unsigned char> LoadFixture(const std::string& name)
{
    std::vector<unsigned char> bytes;
    ReadFileImage(("data/" + name).c_str(), bytes);
    return bytes;
}

ReferencePcm ReferenceDecode(const std::vector<unsigned char>& image)
{
    ReferencePcm pcm;
    short* output = nullptr;
    const int frames =
        stb_vorbis_decode_memory(image.data(), static_cast<int>(image.size()), &pcm.channels, &pcm.rate, &output);
    if (frames > 0 && output)
        pcm.samples.assign(output, output + static_cast<size_t>(frames) * pcm.channels);
    std::free(output);
    return pcm;
}

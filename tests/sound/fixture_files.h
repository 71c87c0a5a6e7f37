// Fixture loading for the sound tests: the Ogg files in data/, copied beside the test program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::vector<unsigned char> LoadFixture(const std::string& name);

// A reference decode of a whole image in one call (stb_vorbis_decode_memory): interleaved samples.
struct ReferencePcm {
    int channels = 0;
    int rate = 0;
    std::vector<int16_t> samples;
    size_t frames() const { return channels ? samples.size() / static_cast<size_t>(channels) : 0; }
};
ReferencePcm ReferenceDecode(const std::vector<unsigned char>& image);

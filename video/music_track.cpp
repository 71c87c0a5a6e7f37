// WAV writing for the capture: a 44-byte header and 16-bit stereo PCM pulled from the stream's decode path.
#include "video/music_track.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <vector>
#include <windows.h>

#include "app/music_start.h"
#include "sound/file_image.h"
#include "sound/stream_source.h"

namespace {

const int CHANNELS = 2;
const int BYTES_PER_FRAME = CHANNELS * 2;

void PutLe32(unsigned char* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

void PutLe16(unsigned char* at, uint16_t value)
{
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

}  // namespace

bool WriteMusicWav(const char* oggPath, const char* wavPath, long long sampleFrames, std::string& error)
{
    std::vector<unsigned char> image;
    if (!ReadFileImage(oggPath, image)) {
        error = std::string("cannot read the music file ") + oggPath;
        return false;
    }
    StreamSource source(MUSIC_MIX_RATE);
    if (source.Open(image.data(), image.size()) != OggStream::OpenResult::Ok) {
        error = std::string("cannot decode the music file ") + oggPath;
        return false;
    }

    const std::string partial = std::string(wavPath) + ".part";
    FILE* out = fopen(partial.c_str(), "wb");
    if (out == nullptr) {
        error = std::string("cannot write ") + partial;
        return false;
    }
    const uint32_t dataBytes = static_cast<uint32_t>(sampleFrames * BYTES_PER_FRAME);
    unsigned char header[44] = {};
    memcpy(header, "RIFF", 4);
    PutLe32(header + 4, 36 + dataBytes);
    memcpy(header + 8, "WAVEfmt ", 8);
    PutLe32(header + 16, 16);
    PutLe16(header + 20, 1);  // PCM
    PutLe16(header + 22, CHANNELS);
    PutLe32(header + 24, MUSIC_MIX_RATE);
    PutLe32(header + 28, MUSIC_MIX_RATE * BYTES_PER_FRAME);
    PutLe16(header + 32, BYTES_PER_FRAME);
    PutLe16(header + 34, 16);
    memcpy(header + 36, "data", 4);
    PutLe32(header + 40, dataBytes);
    bool ok = fwrite(header, sizeof(header), 1, out) == 1;

    // PCM is little-endian, as is every Windows target.
    std::vector<int16_t> pcm(4096 * CHANNELS);
    long long left = sampleFrames;
    while (ok && left > 0) {
        const size_t want = static_cast<size_t>(left < 4096 ? left : 4096);
        size_t got = source.Read(pcm.data(), want);
        if (got < want) {
            memset(pcm.data() + got * CHANNELS, 0, (want - got) * BYTES_PER_FRAME);
        }
        ok = fwrite(pcm.data(), BYTES_PER_FRAME, want, out) == want;
        left -= static_cast<long long>(want);
    }
    ok = fclose(out) == 0 && ok;
    if (!ok || !MoveFileExA(partial.c_str(), wavPath, MOVEFILE_REPLACE_EXISTING)) {
        remove(partial.c_str());
        error = std::string("cannot write ") + wavPath;
        return false;
    }
    return true;
}

// libFuzzer entry point: any byte string through the decode path the player uses (OggStream, then
// Resampler via StreamSource), pulling all of its PCM. Built natively by run-fuzz.sh.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/stream_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Bounds the output of a damaged image that decodes forever.
    constexpr size_t kMaxFrames = 44100 * 60;
    StreamSource source(44100);
    if (source.Open(data, size) != OggStream::OpenResult::Ok)
        return 0;
    std::vector<int16_t> block(4096 * 2);
    size_t frames = 0;
    while (size_t got = source.Read(block.data(), 4096)) {
        frames += got;
        if (frames > kMaxFrames)
            __builtin_trap();
    }
    return 0;
}

// libFuzzer target: the stream source (decoder, then resampler) at an output rate the input picks,
// pulled in uneven pieces as device blocks pull it. Once it ends it must have given exactly the frames
// the resampler promises for what was decoded, and nothing more.
#include <math.h>
#include <stdint.h>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "sound/stream_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr int RATES[] = {8000, 11025, 22050, 44100, 48000, 96000, 192000};
    StreamSource source(RATES[size % 7]);
    if (source.Open(data, size) != OggStream::OpenResult::Ok) {
        return 0;
    }
    std::vector<int16_t> block(4096 * 2);
    uint64_t given = 0;
    const auto decoded = [&] { return static_cast<uint64_t>(llround(source.DecodedSeconds() * source.SourceRate())); };
    for (size_t piece = 1; decoded() < MAX_DECODED_FRAMES; piece = piece * 7 % 4096 + 1) {
        const size_t got = source.Read(block.data(), piece);
        given += got;
        if (got < piece) {
            Require(source.Finished() && source.Read(block.data(), 1) == 0);
            Require(given == Resampler::OutputFrames(decoded(), source.SourceRate(), source.OutputRate()));
            break;
        }
    }
    return 0;
}

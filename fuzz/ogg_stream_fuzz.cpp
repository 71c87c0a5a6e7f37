// libFuzzer target: an image opened as the layer opens it (header check, then stb_vorbis from memory in
// its arena), decoded in the 256-frame pieces the stream source asks for, then closed.
#include <stdint.h>

#include "fuzz/fuzz_check.h"
#include "sound/ogg_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t PIECE = 256;
    OggStream ogg;
    if (ogg.Open(data, size) != OggStream::OpenResult::Ok) {
        return 0;
    }
    Require(ogg.Channels() >= 1 && ogg.Channels() <= 2);
    Require(ogg.SampleRate() >= OggStream::MIN_RATE && ogg.SampleRate() <= OggStream::MAX_RATE);
    int16_t pcm[PIECE * 2];
    size_t total = 0;
    while (total < MAX_DECODED_FRAMES) {
        const size_t got = ogg.Read(pcm, PIECE);
        Require(got <= PIECE && (got > 0) != ogg.Ended());
        if (got == 0) {
            break;
        }
        total += got;
    }
    Require(ogg.FramesDecoded() == total);
    return 0;
}

// OggStream: opens the image with stb_vorbis and hands out 16-bit PCM on request.
#include "sound/ogg_stream.h"

#include <climits>

#include "sound/ogg_header_check.h"

#define STB_VORBIS_HEADER_ONLY
#include "stb_vorbis.h"

namespace {

OggStream::OpenResult Classify(int vorbisError)
{
    switch (vorbisError) {
    case VORBIS_outofmem:
        return OggStream::OpenResult::OutOfMemory;
    // Not an Ogg Vorbis image at all, or one using what this decoder can't play.
    case VORBIS_missing_capture_pattern:
    case VORBIS_invalid_stream_structure_version:
    case VORBIS_invalid_first_page:
    case VORBIS_bad_packet_type:
    case VORBIS_ogg_skeleton_not_supported:
    case VORBIS_feature_not_supported:
    case VORBIS_too_many_channels:
        return OggStream::OpenResult::NotVorbis;
    default:
        return OggStream::OpenResult::Corrupt;
    }
}

}  // namespace

OggStream::~OggStream()
{
    if (decoder)
        stb_vorbis_close(decoder);
}

OggStream::OpenResult OggStream::Open(const unsigned char* data, size_t size)
{
    if (decoder) {
        stb_vorbis_close(decoder);
        decoder = nullptr;
    }
    ended = true;
    framesDecoded = 0;
    if (!data || size == 0)
        return OpenResult::NotVorbis;
    if (size > static_cast<size_t>(INT_MAX))
        return OpenResult::Unsupported;
    if (!HeadersAreSane(data, size))
        return OpenResult::Corrupt;

    // stb_vorbis allocates from arena alone: a failed setup then leaks nothing (left to itself it
    // loses its temporary memory on some damaged headers), and a damaged header can't make it take
    // more than MAX_ARENA_BYTES. The arena grows only when a file needs it. calloc hands out fresh zero
    // pages for blocks this large without writing them, and says so when it has none.
    stb_vorbis* vorbis = nullptr;
    int error = VORBIS_outofmem;
    for (size_t bytes = FIRST_ARENA_BYTES; !vorbis && error == VORBIS_outofmem && bytes <= MAX_ARENA_BYTES;
         bytes *= 2) {
        arena.reset(static_cast<char*>(std::calloc(bytes, 1)));
        if (!arena)
            break;
        const stb_vorbis_alloc alloc{arena.get(), static_cast<int>(bytes)};
        error = VORBIS__no_error;
        vorbis = stb_vorbis_open_memory(data, static_cast<int>(size), &error, &alloc);
    }
    if (!vorbis) {
        arena.reset();
        return Classify(error);
    }

    const stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    if (info.channels < 1 || info.channels > 2 || info.sample_rate < static_cast<unsigned>(MIN_RATE) ||
        info.sample_rate > static_cast<unsigned>(MAX_RATE)) {
        stb_vorbis_close(vorbis);
        return OpenResult::Unsupported;
    }
    decoder = vorbis;
    channels = info.channels;
    rate = static_cast<int>(info.sample_rate);
    ended = false;
    return OpenResult::Ok;
}

size_t OggStream::Read(int16_t* out, size_t maxFrames)
{
    if (ended || maxFrames == 0)
        return 0;
    const size_t limit = static_cast<size_t>(INT_MAX) / static_cast<size_t>(channels);
    const size_t frames = maxFrames < limit ? maxFrames : limit;
    const int got =
        stb_vorbis_get_samples_short_interleaved(decoder, channels, out, static_cast<int>(frames) * channels);
    if (got <= 0) {
        // stb_vorbis reports the end and a packet it can't decode alike: both end the stream.
        ended = true;
        return 0;
    }
    framesDecoded += static_cast<uint64_t>(got);
    return static_cast<size_t>(got);
}

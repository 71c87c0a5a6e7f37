// OggStream: opens the image with stb_vorbis and hands out its frames as 16-bit PCM on request.
#include "sound/ogg_stream.h"

#include <limits.h>
#include <math.h>

#include <algorithm>

#include "sound/ogg_header_check.h"

#define STB_VORBIS_HEADER_ONLY
#include "stb_vorbis.h"

// Defined beside the decoder's implementation (stb_vorbis_impl.c), where its state is visible.
extern "C" int VorbisFrameCutShort(const stb_vorbis* vorbis);

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

OggStream::OggStream()
    : decoder(nullptr),
      channels(0),
      rate(0),
      ended(true),
      framesDecoded(0),
      frame(nullptr),
      frameLength(0),
      framePos(0),
      moreFrames(false)
{
}

OggStream::~OggStream()
{
    if (decoder != nullptr) {
        stb_vorbis_close(decoder);
    }
}

OggStream::OpenResult OggStream::Open(const unsigned char* data, size_t size)
{
    if (decoder != nullptr) {
        stb_vorbis_close(decoder);
        decoder = nullptr;
    }
    ended = true;
    framesDecoded = 0;
    frameLength = framePos = 0;
    if (data == nullptr || size == 0) {
        return OpenResult::NotVorbis;
    }
    if (size > static_cast<size_t>(INT_MAX)) {
        return OpenResult::Unsupported;
    }
    if (!HeadersAreSane(data, size)) {
        return OpenResult::Corrupt;
    }

    // stb_vorbis allocates from arena alone: a failed setup then leaks nothing (left to itself it
    // loses its temporary memory on some damaged headers), and a damaged header can't make it take
    // more than MAX_ARENA_BYTES. The arena grows only when a file needs it. calloc hands out fresh zero
    // pages for blocks this large without writing them, and says so when it has none.
    stb_vorbis* vorbis = nullptr;
    int error = VORBIS_outofmem;
    for (size_t bytes = FIRST_ARENA_BYTES; vorbis == nullptr && error == VORBIS_outofmem && bytes <= MAX_ARENA_BYTES;
         bytes *= 2) {
        arena.reset(static_cast<char*>(calloc(bytes, 1)));
        if (arena == nullptr) {
            break;
        }
        const stb_vorbis_alloc alloc{arena.get(), static_cast<int>(bytes)};
        error = VORBIS__no_error;
        vorbis = stb_vorbis_open_memory(data, static_cast<int>(size), &error, &alloc);
    }
    if (vorbis == nullptr) {
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
    // Opening decodes the first frame, which gives no samples but may be the last.
    moreFrames = !VorbisFrameCutShort(vorbis);
    return OpenResult::Ok;
}

size_t OggStream::Read(int16_t* out, size_t maxFrames)
{
    if (ended || maxFrames == 0) {
        return 0;
    }
    size_t done = 0;
    while (done < maxFrames && (framePos < frameLength || NextFrame())) {
        const size_t take = std::min(frameLength - framePos, maxFrames - done);
        for (size_t i = framePos; i < framePos + take; ++i) {
            for (int c = 0; c < channels; ++c) {
                *out++ = ToPcm16(frame[c][i]);
            }
        }
        framePos += take;
        done += take;
    }
    ended = done == 0;
    framesDecoded += done;
    return done;
}

bool OggStream::NextFrame()
{
    if (!moreFrames) {
        return false;
    }
    float** output = nullptr;
    const int length = stb_vorbis_get_frame_float(decoder, nullptr, &output);
    // stb_vorbis reports the end and a packet it can't decode alike, with a frame of no samples: either ends
    // the stream, as in its own whole-file decode. A frame that the last page's granule position cut short
    // leaves it a negative overlap, which it would shift (undefined behaviour) on mixing in the next frame,
    // find no window for, and end the stream: so the stream ends with that frame.
    moreFrames = length > 0 && !VorbisFrameCutShort(decoder);
    if (length <= 0) {
        return false;
    }
    frame = output;
    frameLength = static_cast<size_t>(length);
    framePos = 0;
    return true;
}

int16_t OggStream::ToPcm16(float sample)
{
    if (isnan(sample)) {
        return 0;
    }
    return static_cast<int16_t>(nearbyintf(std::clamp(sample, -1.0f, 32767.0f / 32768.0f) * 32768.0f));
}

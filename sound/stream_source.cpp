// StreamSource: decodes a small chunk whenever the output frames already made run out.
#include "sound/stream_source.h"

#include <algorithm>

StreamSource::StreamSource(int rate) : outputRate(rate), pendingPos(0), inputDone(true)
{
}

OggStream::OpenResult StreamSource::Open(const unsigned char* data, size_t size)
{
    const OggStream::OpenResult result = ogg.Open(data, size);
    pending.clear();
    pendingPos = 0;
    inputDone = result != OggStream::OpenResult::Ok;
    if (!inputDone) {
        resampler = std::make_unique<Resampler>(ogg.SampleRate(), ogg.Channels(), outputRate);
        decoded.assign(CHUNK_FRAMES * static_cast<size_t>(ogg.Channels()), 0);
    }
    return result;
}

double StreamSource::DecodedSeconds() const
{
    const int rate = ogg.SampleRate();
    return rate > 0 ? static_cast<double>(ogg.FramesDecoded()) / rate : 0.0;
}

bool StreamSource::Refill()
{
    pending.clear();
    pendingPos = 0;
    while (pending.empty() && !inputDone) {
        const size_t got = ogg.Read(decoded.data(), CHUNK_FRAMES);
        if (got == 0) {
            resampler->Finish(pending);
            inputDone = true;
        } else {
            resampler->Process(decoded.data(), got, pending);
        }
    }
    return !pending.empty();
}

size_t StreamSource::Read(int16_t* out, size_t frames)
{
    size_t done = 0;
    while (done < frames) {
        if (pendingPos == pending.size() && !Refill()) {
            break;
        }
        const size_t available = (pending.size() - pendingPos) / 2;
        const size_t take = std::min(available, frames - done);
        std::copy_n(pending.begin() + static_cast<ptrdiff_t>(pendingPos), take * 2, out + done * 2);
        pendingPos += take * 2;
        done += take;
    }
    return done;
}

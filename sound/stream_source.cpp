// StreamSource: decodes a small chunk whenever the output frames already made run out.
#include "sound/stream_source.h"

#include <algorithm>

StreamSource::StreamSource(int outputRate) : outputRate_(outputRate) {}

OggStream::OpenResult StreamSource::open(const unsigned char* data, size_t size) {
    const OggStream::OpenResult result = ogg_.open(data, size);
    pending_.clear();
    pendingPos_ = 0;
    framesDecoded_ = 0;
    inputDone_ = result != OggStream::OpenResult::Ok;
    if (!inputDone_) {
        resampler_ = std::make_unique<Resampler>(ogg_.sampleRate(), ogg_.channels(), outputRate_);
        decoded_.assign(kChunkFrames * static_cast<size_t>(ogg_.channels()), 0);
    }
    return result;
}

double StreamSource::decodedSeconds() const {
    const int rate = ogg_.sampleRate();
    return rate > 0 ? static_cast<double>(framesDecoded_.load()) / rate : 0.0;
}

bool StreamSource::refill() {
    pending_.clear();
    pendingPos_ = 0;
    while (pending_.empty() && !inputDone_) {
        const size_t got = ogg_.read(decoded_.data(), kChunkFrames);
        if (got == 0) {
            resampler_->finish(pending_);
            inputDone_ = true;
        } else {
            framesDecoded_ += got;
            resampler_->process(decoded_.data(), got, pending_);
        }
    }
    return !pending_.empty();
}

size_t StreamSource::read(int16_t* out, size_t frames) {
    size_t done = 0;
    while (done < frames) {
        if (pendingPos_ == pending_.size() && !refill()) break;
        const size_t available = (pending_.size() - pendingPos_) / 2;
        const size_t take = std::min(available, frames - done);
        std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(pendingPos_), take * 2, out + done * 2);
        pendingPos_ += take * 2;
        done += take;
    }
    return done;
}

// WaveOutDevice: waveOutOpen with CALLBACK_EVENT, blocks prepared once and written again and again.
#include "sound/wave_out_device.h"

UINT WaveOutDevice::deviceIdForDriver(int driver) {
    return driver <= 0 ? WAVE_MAPPER : static_cast<UINT>(driver - 1);
}

WaveOutDevice::~WaveOutDevice() { close(); }

bool WaveOutDevice::open(UINT deviceId, int rate) {
    close();
    event_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!event_) return false;

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;

    HWAVEOUT handle = nullptr;
    const MMRESULT result = waveOutOpen(&handle, deviceId, &format, reinterpret_cast<DWORD_PTR>(event_), 0,
                                        CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        CloseHandle(event_);
        event_ = nullptr;
        return false;
    }
    handle_ = handle;
    rate_ = rate;
    return true;
}

void WaveOutDevice::close() {
    if (handle_) {
        waveOutReset(handle_);
        releaseBlocks();
        waveOutClose(handle_);
        handle_ = nullptr;
    }
    if (event_) {
        CloseHandle(event_);
        event_ = nullptr;
    }
}

void WaveOutDevice::releaseBlocks() {
    for (WAVEHDR& header : headers_) {
        if (header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(handle_, &header, sizeof(header));
    }
    headers_.clear();
    memory_.clear();
    blockFrames_ = 0;
}

bool WaveOutDevice::allocateBlocks(unsigned count, unsigned frames) {
    if (!handle_ || count == 0 || frames == 0) return false;
    releaseBlocks();
    // Both vectors are sized once and never grow again: the device keeps pointers into them.
    headers_.assign(count, WAVEHDR{});
    memory_.assign(count, std::vector<int16_t>(static_cast<size_t>(frames) * 2, 0));
    blockFrames_ = frames;
    for (unsigned i = 0; i < count; ++i) {
        WAVEHDR& header = headers_[i];
        header.lpData = reinterpret_cast<LPSTR>(memory_[i].data());
        header.dwBufferLength = frames * 2 * sizeof(int16_t);
        if (waveOutPrepareHeader(handle_, &header, sizeof(header)) != MMSYSERR_NOERROR) {
            releaseBlocks();
            return false;
        }
        // A prepared block that was never queued counts as free.
        header.dwFlags |= WHDR_DONE;
    }
    return true;
}

bool WaveOutDevice::queue(unsigned index) {
    return waveOutWrite(handle_, &headers_[index], sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
}

bool WaveOutDevice::isDone(unsigned index) const {
    // The flag is set by the audio driver's thread; read it fresh each time.
    const volatile DWORD* flags = &headers_[index].dwFlags;
    return (*flags & WHDR_DONE) != 0;
}

void WaveOutDevice::reset() {
    if (handle_) waveOutReset(handle_);
}

void WaveOutDevice::pause() {
    if (handle_) waveOutPause(handle_);
}

void WaveOutDevice::restart() {
    if (handle_) waveOutRestart(handle_);
}

double WaveOutDevice::playedSeconds() const {
    if (!handle_ || rate_ <= 0) return 0.0;
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(handle_, &time, sizeof(time)) != MMSYSERR_NOERROR) return 0.0;
    if (time.wType == TIME_BYTES) return static_cast<double>(time.u.cb) / (4.0 * rate_);
    if (time.wType != TIME_SAMPLES) return 0.0;
    return static_cast<double>(time.u.sample) / rate_;
}

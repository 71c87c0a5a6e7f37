// WaveOutDevice: waveOutOpen with CALLBACK_EVENT, blocks prepared once and written again and again.
#include "sound/wave_out_device.h"

#include <algorithm>

WaveOutDevice::WaveOutDevice() : waveOut(nullptr), sampleRate(0), event(nullptr), blockFrames(0), framesQueued(0)
{
}

WaveOutDevice::~WaveOutDevice()
{
    Close();
}

bool WaveOutDevice::Open(int driver, int rate)
{
    Close();
    event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (event == nullptr) {
        return false;
    }

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;

    const UINT deviceId = driver <= 0 ? WAVE_MAPPER : static_cast<UINT>(driver - 1);
    HWAVEOUT handle = nullptr;
    const MMRESULT result =
        waveOutOpen(&handle, deviceId, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        CloseHandle(event);
        event = nullptr;
        return false;
    }
    waveOut = handle;
    sampleRate = rate;
    InterlockedExchange64(&framesQueued, 0);
    return true;
}

void WaveOutDevice::Close()
{
    if (waveOut != nullptr) {
        waveOutReset(waveOut);
        ReleaseBlocks();
        waveOutClose(waveOut);
        waveOut = nullptr;
    }
    if (event != nullptr) {
        CloseHandle(event);
        event = nullptr;
    }
}

void WaveOutDevice::ReleaseBlocks()
{
    for (WAVEHDR& header : headers) {
        if (header.dwFlags & WHDR_PREPARED) {
            waveOutUnprepareHeader(waveOut, &header, sizeof(header));
        }
    }
    headers.clear();
    memory.clear();
    blockFrames = 0;
}

bool WaveOutDevice::AllocateBlocks(unsigned count, unsigned frames)
{
    if (waveOut == nullptr || count == 0 || frames == 0) {
        return false;
    }
    ReleaseBlocks();
    // Both vectors are sized once and never grow again: the device keeps pointers into them.
    headers.assign(count, WAVEHDR{});
    memory.assign(count, std::vector<int16_t>(static_cast<size_t>(frames) * 2, 0));
    blockFrames = frames;
    for (unsigned i = 0; i < count; ++i) {
        WAVEHDR& header = headers[i];
        header.lpData = reinterpret_cast<LPSTR>(memory[i].data());
        header.dwBufferLength = frames * 2 * sizeof(int16_t);
        if (waveOutPrepareHeader(waveOut, &header, sizeof(header)) != MMSYSERR_NOERROR) {
            ReleaseBlocks();
            return false;
        }
        // A prepared block that was never queued counts as free.
        header.dwFlags |= WHDR_DONE;
    }
    return true;
}

bool WaveOutDevice::Queue(unsigned index, unsigned frames)
{
    // Counted before the write, so the position never runs ahead of the count while a block plays.
    const LONGLONG counted = std::min(frames, blockFrames);
    InterlockedExchangeAdd64(&framesQueued, counted);
    if (waveOutWrite(waveOut, &headers[index], sizeof(WAVEHDR)) == MMSYSERR_NOERROR) {
        return true;
    }
    InterlockedExchangeAdd64(&framesQueued, -counted);
    return false;
}

bool WaveOutDevice::IsDone(unsigned index) const
{
    // The flag is set by the audio driver's thread; read it fresh each time.
    const volatile DWORD* flags = &headers[index].dwFlags;
    return (*flags & WHDR_DONE) != 0;
}

void WaveOutDevice::Reset()
{
    if (waveOut != nullptr) {
        waveOutReset(waveOut);
    }
    InterlockedExchange64(&framesQueued, 0);
}

void WaveOutDevice::Pause()
{
    if (waveOut != nullptr) {
        waveOutPause(waveOut);
    }
}

void WaveOutDevice::Restart()
{
    if (waveOut != nullptr) {
        waveOutRestart(waveOut);
    }
}

double WaveOutDevice::PlayedSeconds() const
{
    if (waveOut == nullptr || sampleRate <= 0) {
        return 0.0;
    }
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(waveOut, &time, sizeof(time)) != MMSYSERR_NOERROR) {
        return 0.0;
    }
    return PositionSeconds(time, static_cast<uint64_t>(framesQueued), sampleRate);
}

double PositionSeconds(const MMTIME& time, uint64_t framesQueued, int rate)
{
    uint64_t frames;
    if (time.wType == TIME_BYTES) {
        frames = time.u.cb / 4;
    } else if (time.wType == TIME_SAMPLES) {
        frames = time.u.sample;
    } else {
        return 0.0;
    }
    // The position runs on through the silence that pads a stream's last block; only the blocks
    // before it are whole, so stopping at the stream's frames queued so far cuts off just that.
    return static_cast<double>(std::min(frames, framesQueued)) / rate;
}

// The FSOUND_ calls: the layer's one global state (output choice, device, streams, feeder, error code).
#include "sound/fsound.h"

#include <memory>
#include <utility>
#include <vector>

#include "sound/buffer_plan.h"
#include "sound/fsound_stream.h"
#include "sound/output_device_factory.h"
#include "sound/sound_stats.h"
#include "sound/stream_player.h"
#include "sound/wave_out_device.h"

namespace {

constexpr int MIN_MIX_RATE = 8000;
constexpr int MAX_MIX_RATE = 192000;
constexpr int MAX_BUFFER_MS = 60000;
// How often, and how long, Init tries the default device again before it gives up.
constexpr DWORD INIT_RETRY_MS = 250;
constexpr ULONGLONG INIT_GIVE_UP_MS = 3000;

struct SoundState {
    SoundState()
        : error(FSOUND_ERR_NONE),
          output(FSOUND_OUTPUT_DSOUND),
          driver(0),
          initialized(false),
          mixRate(0),  // FSOUND_Init sets it; nothing plays before
          bufferMs(1000),
          playing(nullptr),
          lastStats{0, 0.0, 0.0, 0.0, false}
    {
    }
    ~SoundState() { Close(); }

    void Close()
    {
        if (player != nullptr) {
            // The feeder is joined first, so its last CPU reading is in the figures; the device is
            // reset (player.reset) only after they are taken, so its position is still there to read.
            player->StopFeeder();
            lastStats = Stats();
            lastStats.playing = false;
            player.reset();
        }
        playing = nullptr;
        device.reset();
        streams.clear();
        initialized = false;
    }

    SoundStats Stats() const
    {
        if (player == nullptr || playing == nullptr) {
            return lastStats;
        }
        return SoundStats{player->Underruns(), player->FeederCpuSeconds(), player->DecodedSeconds(),
                          player->PlayedSeconds(), true};
    }

    int error;
    int output;
    int driver;
    bool initialized;
    int mixRate;
    int bufferMs;
    OutputDeviceFactory deviceFactory;
    std::unique_ptr<OutputDevice> device;
    std::vector<std::unique_ptr<FSOUND_STREAM>> streams;
    FSOUND_STREAM* playing;
    std::unique_ptr<StreamPlayer> player;
    SoundStats lastStats;
};

SoundState state;

// Records the error code for FSOUND_GetError and gives back the failing call's result.
template <typename T>
T SetErrorAndReturn(int code, T result)
{
    state.error = code;
    return result;
}

int OpenErrorCode(OggStream::OpenResult result)
{
    switch (result) {
    case OggStream::OpenResult::Ok:
        return FSOUND_ERR_NONE;
    case OggStream::OpenResult::NotVorbis:
    case OggStream::OpenResult::Unsupported:
        return FSOUND_ERR_FILE_FORMAT;
    case OggStream::OpenResult::OutOfMemory:
        return FSOUND_ERR_MEMORY;
    case OggStream::OpenResult::Corrupt:
        break;
    }
    return FSOUND_ERR_FILE_BAD;
}

// NOTE: Intel graphics drivers take the display's audio device (HDMI, DisplayPort) away for a few seconds at
// each display mode change, and Init comes right after the switch to fullscreen: where that device is the only
// one, the default device is tried again for a while. A driver asked for by number fails at once.
bool OpenDevice(OutputDevice& device, int driver, int rate)
{
    const ULONGLONG giveUp = GetTickCount64() + INIT_GIVE_UP_MS;
    while (!device.Open(driver, rate)) {
        if (driver != 0 || GetTickCount64() >= giveUp) {
            return false;
        }
        Sleep(INIT_RETRY_MS);
    }
    return true;
}

}  // namespace

void FSOUND_SetOutputDeviceFactory(OutputDeviceFactory factory)
{
    state.deviceFactory = std::move(factory);
}

signed char FSOUND_SetOutput(int outputType)
{
    if (state.initialized) {
        return SetErrorAndReturn(FSOUND_ERR_BUSY, 0);
    }
    if (outputType != FSOUND_OUTPUT_NOSOUND && outputType != FSOUND_OUTPUT_WINMM &&
        outputType != FSOUND_OUTPUT_DSOUND) {
        return SetErrorAndReturn(FSOUND_ERR_INVALID_PARAM, 0);
    }
    state.output = outputType;
    state.error = FSOUND_ERR_NONE;
    return 1;
}

signed char FSOUND_SetDriver(int driver)
{
    if (state.initialized) {
        return SetErrorAndReturn(FSOUND_ERR_BUSY, 0);
    }
    if (driver < 0) {
        return SetErrorAndReturn(FSOUND_ERR_INVALID_PARAM, 0);
    }
    state.driver = driver;
    state.error = FSOUND_ERR_NONE;
    return 1;
}

signed char FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int flags)
{
    (void)flags;
    if (state.initialized) {
        return SetErrorAndReturn(FSOUND_ERR_BUSY, 0);
    }
    if (mixRate < MIN_MIX_RATE || mixRate > MAX_MIX_RATE || maxSoftwareChannels < 0) {
        return SetErrorAndReturn(FSOUND_ERR_INVALID_PARAM, 0);
    }
    state.lastStats = SoundStats{0, 0.0, 0.0, 0.0, false};
    // Both Win32 output types play through waveOut; "no sound" decodes streams but opens no device.
    if (state.output != FSOUND_OUTPUT_NOSOUND) {
        std::unique_ptr<OutputDevice> device =
            state.deviceFactory ? state.deviceFactory() : std::make_unique<WaveOutDevice>();
        if (!OpenDevice(*device, state.driver, mixRate)) {
            return SetErrorAndReturn(FSOUND_ERR_INIT, 0);
        }
        state.device = std::move(device);
    }
    state.mixRate = mixRate;
    state.initialized = true;
    state.error = FSOUND_ERR_NONE;
    return 1;
}

int FSOUND_GetError()
{
    return state.error;
}

void FSOUND_Close()
{
    state.Close();
}

signed char FSOUND_Stream_SetBufferSize(int milliseconds)
{
    if (milliseconds <= 0 || milliseconds > MAX_BUFFER_MS) {
        return SetErrorAndReturn(FSOUND_ERR_INVALID_PARAM, 0);
    }
    state.bufferMs = milliseconds;
    state.error = FSOUND_ERR_NONE;
    return 1;
}

FSOUND_STREAM* FSOUND_Stream_Open(const char* data, unsigned int mode, int offset, int length)
{
    if (!state.initialized) {
        return SetErrorAndReturn<FSOUND_STREAM*>(FSOUND_ERR_UNINITIALIZED, nullptr);
    }
    // Only memory images: the layer opens no files (the program reads its track itself).
    if (data == nullptr || !(mode & FSOUND_LOADMEMORY) || offset < 0 || length < 0 || offset > length) {
        return SetErrorAndReturn<FSOUND_STREAM*>(FSOUND_ERR_INVALID_PARAM, nullptr);
    }
    auto stream = std::make_unique<FSOUND_STREAM>(state.mixRate);
    const unsigned char* image = reinterpret_cast<const unsigned char*>(data) + offset;
    const int code = OpenErrorCode(stream->source.Open(image, static_cast<size_t>(length - offset)));
    if (code != FSOUND_ERR_NONE) {
        return SetErrorAndReturn<FSOUND_STREAM*>(code, nullptr);
    }
    state.streams.push_back(std::move(stream));
    state.error = FSOUND_ERR_NONE;
    return state.streams.back().get();
}

int FSOUND_Stream_PlayEx(int channel, FSOUND_STREAM* stream, FSOUND_DSPUNIT* dsp, signed char startPaused)
{
    if (stream == nullptr) {
        return SetErrorAndReturn(FSOUND_ERR_INVALID_PARAM, -1);
    }
    if (!state.initialized) {
        return SetErrorAndReturn(FSOUND_ERR_UNINITIALIZED, -1);
    }
    // This layer has no DSP units and no call to resume a paused channel, so neither can be asked for.
    if (dsp != nullptr || startPaused || channel < FSOUND_FREE) {
        return SetErrorAndReturn(FSOUND_ERR_INVALID_PARAM, -1);
    }
    bool known = false;
    for (const auto& open : state.streams) {
        known = known || open.get() == stream;
    }
    if (!known) {
        return SetErrorAndReturn(FSOUND_ERR_INVALID_PARAM, -1);
    }
    // One stream plays at a time, on channel 0.
    if (state.playing != nullptr || channel > 0) {
        return SetErrorAndReturn(FSOUND_ERR_CHANNEL_ALLOC, -1);
    }

    if (state.device != nullptr) {
        auto player = std::make_unique<StreamPlayer>(*state.device, stream->source, state.driver);
        if (!player->Start(PlanStreamBuffers(state.bufferMs, state.mixRate))) {
            return SetErrorAndReturn(FSOUND_ERR_PLAY, -1);
        }
        state.player = std::move(player);
    }
    state.playing = stream;
    state.error = FSOUND_ERR_NONE;
    return 0;
}

SoundStats FSOUND_GetStats()
{
    return state.Stats();
}

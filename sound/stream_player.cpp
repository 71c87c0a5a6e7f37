// StreamPlayer: waits on "stop" or "a block came back", refills what came back, and notes when the
// device had nothing left to play although the stream had more.
#include "sound/stream_player.h"

#include <algorithm>

#include "sound/stream_source.h"
#include "sound/wave_out_device.h"

StreamPlayer::StreamPlayer(WaveOutDevice& output, StreamSource& input) : device(output), source(input)
{
}

StreamPlayer::~StreamPlayer()
{
    Stop();
}

bool StreamPlayer::Start(BufferPlan plan)
{
    if (thread.joinable())
        return false;
    if (!device.AllocateBlocks(plan.blockCount, plan.blockFrames))
        return false;
    stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent)
        return false;
    queued.assign(plan.blockCount, false);
    returned.reserve(plan.blockCount);
    thread = std::thread([this] { Run(); });
    return true;
}

void StreamPlayer::StopFeeder()
{
    if (thread.joinable()) {
        SetEvent(stopEvent);
        thread.join();
    }
    if (stopEvent) {
        CloseHandle(stopEvent);
        stopEvent = nullptr;
    }
}

void StreamPlayer::Stop()
{
    StopFeeder();
    device.Reset();
}

bool StreamPlayer::FillAndQueue(unsigned index)
{
    if (source.Finished())
        return false;
    int16_t* data = device.BlockData(index);
    const size_t frames = device.BlockFrames();
    const size_t got = source.Read(data, frames);
    if (got == 0)
        return false;
    // The last block of a stream is padded with silence.
    std::fill(data + got * 2, data + frames * 2, int16_t{0});
    queued[index] = device.Queue(index, static_cast<unsigned>(got));
    return queued[index];
}

void StreamPlayer::SampleCpuTime()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return;
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    cpuSeconds = static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}

void StreamPlayer::Run()
{
    const unsigned count = device.BlockCount();
    // Paused while the first blocks are decoded, so the device doesn't start on one and run dry.
    device.Pause();
    for (unsigned i = 0; i < count; ++i)
        FillAndQueue(i);
    device.Restart();
    SampleCpuTime();

    const HANDLE waits[2] = {stopEvent, device.DoneEvent()};
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 + 1)
            break;

        returned.clear();
        unsigned stillQueued = 0;
        for (unsigned i = 0; i < count; ++i) {
            if (!queued[i])
                continue;
            if (device.IsDone(i)) {
                queued[i] = false;
                returned.push_back(i);
            } else {
                ++stillQueued;
            }
        }
        if (!returned.empty() && stillQueued == 0 && !source.Finished())
            ++underruns;
        for (unsigned i : returned)
            FillAndQueue(i);
        SampleCpuTime();
    }
    SampleCpuTime();
}

// StreamPlayer: waits on "stop" or "a block came back", refills what came back, and notes when the
// device had nothing left to play although the stream had more.
#include "sound/stream_player.h"

#include <algorithm>

#include "sound/output_device.h"
#include "sound/stream_source.h"

StreamPlayer::StreamPlayer(OutputDevice& output, StreamSource& input)
    : device(output), source(input), stopEvent(nullptr), thread(nullptr), underruns(0), cpuTicks(0), framesDecoded(0)
{
}

StreamPlayer::~StreamPlayer()
{
    Stop();
}

bool StreamPlayer::Start(BufferPlan plan)
{
    if (thread != nullptr) {
        return false;
    }
    if (!device.AllocateBlocks(plan.blockCount, plan.blockFrames)) {
        return false;
    }
    stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (stopEvent == nullptr) {
        return false;
    }
    queued.assign(plan.blockCount, false);
    returned.reserve(plan.blockCount);
    thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    if (thread == nullptr) {
        CloseHandle(stopEvent);
        stopEvent = nullptr;
        return false;
    }
    return true;
}

void StreamPlayer::StopFeeder()
{
    if (thread != nullptr) {
        SetEvent(stopEvent);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
    if (stopEvent != nullptr) {
        CloseHandle(stopEvent);
        stopEvent = nullptr;
    }
}

void StreamPlayer::Stop()
{
    StopFeeder();
    device.Reset();
}

double StreamPlayer::DecodedSeconds() const
{
    const int rate = source.SourceRate();
    return rate > 0 ? static_cast<double>(framesDecoded) / rate : 0.0;
}

DWORD WINAPI StreamPlayer::ThreadMain(LPVOID self)
{
    static_cast<StreamPlayer*>(self)->Run();
    return 0;
}

bool StreamPlayer::FillAndQueue(unsigned index)
{
    if (source.Finished()) {
        return false;
    }
    int16_t* data = device.BlockData(index);
    const size_t frames = device.BlockFrames();
    const size_t got = source.Read(data, frames);
    InterlockedExchange64(&framesDecoded, static_cast<LONGLONG>(source.DecodedFrames()));
    if (got == 0) {
        return false;
    }
    // The last block of a stream is padded with silence.
    std::fill(data + got * 2, data + frames * 2, int16_t{0});
    queued[index] = device.Queue(index, static_cast<unsigned>(got));
    return queued[index];
}

void StreamPlayer::SampleCpuTime()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) {
        return;
    }
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    InterlockedExchange64(&cpuTicks, static_cast<LONGLONG>(ticks(kernel) + ticks(user)));
}

void StreamPlayer::Run()
{
    const unsigned count = device.BlockCount();
    // Paused while the first blocks are decoded, so the device doesn't start on one and run dry.
    device.Pause();
    for (unsigned i = 0; i < count; ++i) {
        FillAndQueue(i);
    }
    device.Restart();
    SampleCpuTime();

    const HANDLE waits[2] = {stopEvent, device.DoneEvent()};
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 + 1) {
            break;
        }

        returned.clear();
        unsigned stillQueued = 0;
        for (unsigned i = 0; i < count; ++i) {
            if (!queued[i]) {
                continue;
            }
            if (device.IsDone(i)) {
                queued[i] = false;
                returned.push_back(i);
            } else {
                ++stillQueued;
            }
        }
        if (!returned.empty() && stillQueued == 0 && !source.Finished()) {
            InterlockedIncrement(&underruns);
        }
        for (unsigned i : returned) {
            FillAndQueue(i);
        }
        SampleCpuTime();
    }
    SampleCpuTime();
}

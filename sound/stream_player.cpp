// StreamPlayer: waits on "stop" or "a block came back", refills what came back, and notes when the
// device had nothing left to play although the stream had more, or has gone.
#include "sound/stream_player.h"

#include <algorithm>

#include "sound/output_device.h"
#include "sound/stream_source.h"

namespace {

constexpr DWORD REOPEN_INTERVAL_MS = 500;

}  // namespace

StreamPlayer::StreamPlayer(OutputDevice& output, StreamSource& input, int driverNumber)
    : device(output),
      source(input),
      driver(driverNumber),
      plan{0, 0},
      stopEvent(nullptr),
      thread(nullptr),
      handedOut(0),
      startFrame(0),
      startMs(0),
      lastReturnMs(0),
      deviceLock(SRWLOCK_INIT),
      playedBefore(0.0),
      underruns(0),
      cpuTicks(0),
      framesDecoded(0)
{
}

StreamPlayer::~StreamPlayer()
{
    Stop();
}

bool StreamPlayer::Start(BufferPlan bufferPlan)
{
    if (thread != nullptr) {
        return false;
    }
    if (!device.AllocateBlocks(bufferPlan.blockCount, bufferPlan.blockFrames)) {
        return false;
    }
    stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (stopEvent == nullptr) {
        return false;
    }
    plan = bufferPlan;
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

double StreamPlayer::PlayedSeconds() const
{
    AcquireSRWLockExclusive(&deviceLock);
    const double seconds = playedBefore + device.PlayedSeconds();
    ReleaseSRWLockExclusive(&deviceLock);
    return seconds;
}

DWORD WINAPI StreamPlayer::ThreadMain(LPVOID self)
{
    static_cast<StreamPlayer*>(self)->Run();
    return 0;
}

bool StreamPlayer::FillAndQueue(unsigned index)
{
    queued[index] = false;
    if (source.Finished()) {
        return true;
    }
    int16_t* data = device.BlockData(index);
    const size_t frames = device.BlockFrames();
    const size_t got = source.Read(data, frames);
    handedOut += got;
    InterlockedExchange64(&framesDecoded, static_cast<LONGLONG>(source.DecodedFrames()));
    if (got == 0) {
        return true;
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

bool StreamPlayer::StartBlocks()
{
    // Paused while the first blocks are decoded, so the device doesn't start on one and run dry.
    device.Pause();
    startFrame = handedOut;
    bool written = true;
    for (unsigned i = 0; i < plan.blockCount && written; ++i) {
        written = FillAndQueue(i);
    }
    device.Restart();
    startMs = lastReturnMs = GetTickCount64();
    SampleCpuTime();
    return written;
}

bool StreamPlayer::Refill()
{
    returned.clear();
    unsigned stillQueued = 0;
    for (unsigned i = 0; i < plan.blockCount; ++i) {
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
    const uint64_t now = GetTickCount64();
    if (returned.empty()) {
        // Nothing back: the device is gone once two block lengths pass with blocks queued and more to play.
        return stillQueued == 0 || source.Finished() ||
               StallWaitMs(lastReturnMs, now, plan.blockFrames, source.OutputRate()) > 0;
    }
    lastReturnMs = now;
    const bool ranDry = stillQueued == 0 && !source.Finished();
    for (unsigned i : returned) {
        if (!FillAndQueue(i)) {
            return false;
        }
    }
    if (ranDry) {
        InterlockedIncrement(&underruns);
    }
    return true;
}

bool StreamPlayer::Reopen()
{
    const int rate = source.OutputRate();
    const DeviceLoss loss = LossPoint(startFrame, startMs, GetTickCount64(), rate, handedOut);
    AcquireSRWLockExclusive(&deviceLock);
    playedBefore += device.PlayedSeconds();
    device.Close();
    ReleaseSRWLockExclusive(&deviceLock);
    std::fill(queued.begin(), queued.end(), false);
    // NOTE: a display's audio device (HDMI, DisplayPort) goes away for seconds at each display mode change,
    // Alt+Tab in fullscreen included, and a handle opened before stays dead: only a new opening plays again.
    // Waiting on the stop event keeps a stop immediate meanwhile.
    for (;;) {
        if (WaitForSingleObject(stopEvent, REOPEN_INTERVAL_MS) != WAIT_TIMEOUT) {
            return false;
        }
        AcquireSRWLockExclusive(&deviceLock);
        const bool opened = device.Open(driver, rate) && device.AllocateBlocks(plan.blockCount, plan.blockFrames);
        if (!opened) {
            device.Close();
        }
        ReleaseSRWLockExclusive(&deviceLock);
        if (opened) {
            return SkipMissed(loss);
        }
    }
}

bool StreamPlayer::SkipMissed(DeviceLoss loss)
{
    // Decoded into a free block and dropped, chasing the clock, which runs on while this decodes.
    int16_t* scratch = device.BlockData(0);
    for (;;) {
        const uint64_t target = ResumeFrame(loss, GetTickCount64(), source.OutputRate(), handedOut);
        if (target <= handedOut || source.Finished()) {
            return true;
        }
        if (WaitForSingleObject(stopEvent, 0) != WAIT_TIMEOUT) {
            return false;
        }
        handedOut +=
            source.Read(scratch, static_cast<size_t>(std::min<uint64_t>(target - handedOut, plan.blockFrames)));
        InterlockedExchange64(&framesDecoded, static_cast<LONGLONG>(source.DecodedFrames()));
    }
}

void StreamPlayer::Run()
{
    bool live = StartBlocks();
    for (;;) {
        if (!live) {
            if (!Reopen()) {
                break;
            }
            live = StartBlocks();
            continue;
        }
        // While blocks are out and the stream has more, the wait ends when the device counts as gone.
        const bool waiting = std::find(queued.begin(), queued.end(), true) != queued.end() && !source.Finished();
        const DWORD timeout =
            waiting ? StallWaitMs(lastReturnMs, GetTickCount64(), plan.blockFrames, source.OutputRate()) : INFINITE;
        const HANDLE waits[2] = {stopEvent, device.DoneEvent()};
        const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, timeout);
        if (woken != WAIT_OBJECT_0 + 1 && woken != WAIT_TIMEOUT) {
            break;
        }
        live = Refill();
        SampleCpuTime();
    }
    SampleCpuTime();
}

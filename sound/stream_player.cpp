// StreamPlayer: waits on "stop" or "a block came back", refills what came back, and notes when the
// device had nothing left to play although the stream had more.
#include "sound/stream_player.h"

#include <algorithm>

#include "sound/stream_source.h"
#include "sound/wave_out_device.h"

StreamPlayer::StreamPlayer(WaveOutDevice& device, StreamSource& source) : device_(device), source_(source) {}

StreamPlayer::~StreamPlayer() { stop(); }

bool StreamPlayer::start(BufferPlan plan) {
    if (thread_.joinable()) return false;
    if (!device_.allocateBlocks(plan.blockCount, plan.blockFrames)) return false;
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent_) return false;
    queued_.assign(plan.blockCount, false);
    thread_ = std::thread([this] { run(); });
    return true;
}

void StreamPlayer::stop() {
    if (thread_.joinable()) {
        SetEvent(stopEvent_);
        thread_.join();
    }
    device_.reset();
    if (stopEvent_) {
        CloseHandle(stopEvent_);
        stopEvent_ = nullptr;
    }
}

bool StreamPlayer::fillAndQueue(unsigned index) {
    if (source_.finished()) return false;
    int16_t* data = device_.blockData(index);
    const size_t frames = device_.blockFrames();
    const size_t got = source_.read(data, frames);
    if (got == 0) return false;
    // The last block of a stream is padded with silence.
    std::fill(data + got * 2, data + frames * 2, int16_t{0});
    queued_[index] = device_.queue(index);
    return queued_[index];
}

void StreamPlayer::sampleCpuTime() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return;
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    cpuSeconds_ = static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}

void StreamPlayer::run() {
    const unsigned count = device_.blockCount();
    // Paused while the first blocks are decoded, so the device doesn't start on one and run dry.
    device_.pause();
    for (unsigned i = 0; i < count; ++i) fillAndQueue(i);
    device_.restart();
    sampleCpuTime();

    const HANDLE waits[2] = {stopEvent_, device_.doneEvent()};
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 + 1) break;

        std::vector<unsigned> returned;
        unsigned stillQueued = 0;
        for (unsigned i = 0; i < count; ++i) {
            if (!queued_[i]) continue;
            if (device_.isDone(i)) {
                queued_[i] = false;
                returned.push_back(i);
            } else {
                ++stillQueued;
            }
        }
        if (!returned.empty() && stillQueued == 0 && !source_.finished()) ++underruns_;
        for (unsigned i : returned) fillAndQueue(i);
        sampleCpuTime();
    }
    sampleCpuTime();
}

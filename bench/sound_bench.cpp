// Sound benchmark: how fast the decode path runs with no device, and what a whole playback of the track
// through the device costs the feeder thread (CPU per second of audio, underruns). Prints a table; never fails.
// usage: sound_bench [FILE.ogg [DECODE_RUNS]]   (default audio.ogg in the current folder, 3 runs)
#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

#include "sound/file_image.h"
#include "sound/fsound.h"
#include "sound/fsound_stream.h"
#include "sound/sound_stats.h"
#include "sound/stream_source.h"

namespace {

constexpr int RATE = 44100;
constexpr unsigned MODE = FSOUND_NORMAL | FSOUND_LOADMEMORY | FSOUND_MPEGACCURATE;
// The program's own stream buffer (app/music_start.cpp).
constexpr int STREAM_BUFFER_MS = 1000;
// The per-core CPU share the feeder may use at real-time playback.
constexpr double CPU_TARGET_PERCENT = 1.0;

double NowSeconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ThreadCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) {
        return 0.0;
    }
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}

struct DecodeRun {
    double audioSeconds;
    double wallSeconds;
    double cpuSeconds;
};

// Pulls the whole image through StreamSource in device-sized blocks, as the feeder does, with no device.
bool DecodeOnce(const std::vector<unsigned char>& image, DecodeRun& run)
{
    StreamSource source(RATE);
    const double wall0 = NowSeconds();
    const double cpu0 = ThreadCpuSeconds();
    if (source.Open(image.data(), image.size()) != OggStream::OpenResult::Ok) {
        return false;
    }
    std::vector<int16_t> block(4410 * 2);
    size_t frames = 0;
    while (size_t got = source.Read(block.data(), 4410)) {
        frames += got;
    }
    run.wallSeconds = NowSeconds() - wall0;
    run.cpuSeconds = ThreadCpuSeconds() - cpu0;
    run.audioSeconds = static_cast<double>(frames) / RATE;
    return true;
}

struct PlayRun {
    bool ok;
    const char* failure;
    SoundStats stats;
    double wallSeconds;
};

// The program's call sequence (app/music_start.cpp), then waits until the device has played the whole
// stream (or stops advancing), reading the layer's counters just before Close.
PlayRun PlayOnce(const std::vector<unsigned char>& image, double audioSeconds)
{
    PlayRun run{false, "", SoundStats{0, 0.0, 0.0, 0.0, false}, 0.0};
    FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND);
    FSOUND_SetDriver(0);
    if (!FSOUND_Init(RATE, 32, 0)) {
        run.failure = "FSOUND_Init failed: no audio device (run it through bench/sound-bench.sh)";
        return run;
    }
    FSOUND_Stream_SetBufferSize(STREAM_BUFFER_MS);
    FSOUND_STREAM* stream =
        FSOUND_Stream_Open(reinterpret_cast<const char*>(image.data()), MODE, 0, static_cast<int>(image.size()));
    if (stream == nullptr) {
        run.failure = "FSOUND_Stream_Open failed";
        FSOUND_Close();
        return run;
    }
    const double wall0 = NowSeconds();
    if (FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 0) < 0) {
        run.failure = "FSOUND_Stream_PlayEx failed";
        FSOUND_Close();
        return run;
    }
    // Played out: the device position reaches the stream's length. A position that stands still for 5 s
    // (a device that stops counting) ends the wait too, as does a ceiling of three times real time.
    double lastPlayed = -1.0;
    double lastChange = NowSeconds();
    for (;;) {
        Sleep(20);
        const SoundStats stats = FSOUND_GetStats();
        const double now = NowSeconds();
        if (stats.playedSeconds >= audioSeconds - 0.001) {
            break;
        }
        if (stats.playedSeconds != lastPlayed) {
            lastPlayed = stats.playedSeconds;
            lastChange = now;
        } else if (now - lastChange > 5.0) {
            run.failure = "the device position stopped before the end of the stream";
            break;
        }
        if (now - wall0 > 3.0 * audioSeconds + 10.0) {
            run.failure = "the stream did not play out in three times its length";
            break;
        }
    }
    run.wallSeconds = NowSeconds() - wall0;
    run.stats = FSOUND_GetStats();
    run.ok = run.failure[0] == '\0';
    FSOUND_Close();
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "audio.ogg";
    const int decodeRuns = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    std::vector<unsigned char> image;
    if (!ReadFileImage(path, image) || image.empty()) {
        printf("sound_bench: cannot read %s\n", path);
        return 2;
    }

    // (a) Decoding alone: the median of a few runs (the first also warms the caches).
    std::vector<DecodeRun> runs;
    for (int i = 0; i < decodeRuns; ++i) {
        DecodeRun run{};
        if (!DecodeOnce(image, run)) {
            printf("sound_bench: %s does not open as Ogg Vorbis\n", path);
            return 2;
        }
        runs.push_back(run);
    }
    std::sort(runs.begin(), runs.end(),
              [](const DecodeRun& a, const DecodeRun& b) { return a.wallSeconds < b.wallSeconds; });
    const DecodeRun& median = runs[runs.size() / 2];
    const double audioSeconds = median.audioSeconds;

    // (b) The whole track through the device.
    const PlayRun play = PlayOnce(image, audioSeconds);

    printf("Sound benchmark: %s, %.2f s of audio at %d Hz stereo, %zu bytes\n", path, audioSeconds, RATE, image.size());
    printf("%-46s %14s  %s\n", "measure", "value", "target");
    printf("%-46s %14s  %s\n", "----------------------------------------------", "--------------", "------");
    printf("%-46s %12.1f x  (median of %d runs)\n", "decode: audio seconds per wall second",
           audioSeconds / median.wallSeconds, decodeRuns);
    if (median.cpuSeconds > 0.0) {
        printf("%-46s %12.1f x\n", "decode: audio seconds per CPU second", audioSeconds / median.cpuSeconds);
    }
    printf("%-46s %12.3f s\n", "decode: wall seconds for the track", median.wallSeconds);
    if (!play.stats.playing && play.wallSeconds == 0.0) {
        printf("%-46s %14s\n", "playback", "not run");
        printf("playback: %s\n", play.failure);
        return 0;
    }
    const double played = play.stats.playedSeconds;
    const double cpuShare = played > 0.0 ? 100.0 * play.stats.feederCpuSeconds / played : 0.0;
    printf("%-46s %12.2f s\n", "playback: played seconds (device position)", played);
    printf("%-46s %12.2f s\n", "playback: decoded seconds", play.stats.decodedSeconds);
    printf("%-46s %12.2f s\n", "playback: wall seconds", play.wallSeconds);
    printf("%-46s %12.2f x\n", "playback: audio seconds per wall second", played / play.wallSeconds);
    printf("%-46s %12.3f s\n", "playback: feeder CPU seconds", play.stats.feederCpuSeconds);
    printf("%-46s %12.3f %%  <= %.0f %%  %s\n", "playback: feeder CPU per audio second (1 core)", cpuShare,
           CPU_TARGET_PERCENT, cpuShare <= CPU_TARGET_PERCENT ? "met" : "OVER");
    printf("%-46s %14u  0  %s\n", "playback: underruns", play.stats.underruns,
           play.stats.underruns == 0 ? "met" : "OVER");
    if (!play.ok) {
        printf("playback: %s\n", play.failure);
    }
    printf(
        "Note: the CPU share per audio second is what the feeder would take of one core at real-time\n"
        "playback. An ALSA \"null\" sink takes samples faster than real time (see the audio seconds per\n"
        "wall second above), so the wall time is shorter than the track, and the feeder had that much less\n"
        "time to refill each block than on a real device.\n");
    return 0;
}

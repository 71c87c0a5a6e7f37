// The FSOUND_ calls: each refusal and its error code in one scripted sequence, then the device paths
// (skipped where this machine has no audio device), and a device that comes late or goes, stood in for.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "sound/buffer_plan.h"
#include "sound/device_loss.h"
#include "sound/fsound_stream.h"
#include "sound/output_device_factory.h"
#include "sound/sound_stats.h"
#include "sound/wave_out_device.h"
#include "sound_fixtures.h"
#include "support/deadline.h"

namespace {

bool WaitFor(int seconds, const std::function<bool()>& done)
{
    for (const ULONGLONG end = GetTickCount64() + seconds * 1000ULL; !done(); Sleep(10)) {
        if (GetTickCount64() > end) {
            return false;
        }
    }
    return true;
}

// A stand-in device's schedule and log. It is away from goneFrom until goneUntil (GetTickCount64 ms); an
// opening made before goneFrom stays dead after it: its writes fail, and its queued blocks never come back
// (keepsBlocks) or all come back at once. An instant device has done with each block as soon as it is queued.
struct DeviceLine {
    ULONGLONG goneFrom, goneUntil;
    bool keepsBlocks, instant = false;
    volatile LONG opens = 0, blocksBack = 0, lastBlocks = 0;
    struct Block {
        ULONGLONG startMs;
        unsigned frames;  // the stream's; the rest is padding
        std::vector<int16_t> samples;
    };
    std::vector<Block> blocks = {};  // written by the feeder; read once FSOUND_Close has stopped it
};

// Plays in real time (each block done a block's length after the one before); a 10 ms timer is the done event.
class StandInDevice : public OutputDevice {
public:
    explicit StandInDevice(DeviceLine& log)
        : line(log), timer(CreateWaitableTimerA(nullptr, FALSE, nullptr)), rate(1), openedAt(0), clock(0)
    {
    }
    ~StandInDevice() override { CloseHandle(timer); }

    bool Open(int driver, int sampleRate) override
    {
        InterlockedIncrement(&line.opens);
        openedAt = clock = GetTickCount64();
        if (driver != 0 || (openedAt >= line.goneFrom && openedAt < line.goneUntil)) {
            return false;
        }
        rate = sampleRate;
        const LARGE_INTEGER due{};  // at once, then every 10 ms
        return SetWaitableTimer(timer, &due, 10, nullptr, nullptr, FALSE) != 0;
    }
    void Close() override { CancelWaitableTimer(timer); }
    bool AllocateBlocks(unsigned count, unsigned blockFrames) override
    {
        data.assign(count, std::vector<int16_t>(blockFrames * 2, 0x5a5a));  // not silence, so padding shows
        ends.assign(count, 0);
        return true;
    }
    unsigned BlockCount() const override { return static_cast<unsigned>(data.size()); }
    unsigned BlockFrames() const override { return static_cast<unsigned>(data[0].size() / 2); }
    int16_t* BlockData(unsigned index) override { return data[index].data(); }
    bool Queue(unsigned index, unsigned streamFrames) override
    {
        const ULONGLONG now = GetTickCount64();
        if (Dead()) {
            return false;
        }
        const ULONGLONG start = std::max(now, clock);
        clock = ends[index] = line.instant ? now : start + (BlockFrames() * 1000ULL + rate / 2) / rate;
        line.blocks.push_back({start, streamFrames, data[index]});
        InterlockedExchangeAdd(&line.blocksBack, now >= line.goneUntil);
        InterlockedExchangeAdd(&line.lastBlocks, streamFrames < BlockFrames());
        return true;
    }
    bool IsDone(unsigned index) const override
    {
        return Dead() ? !line.keepsBlocks || ends[index] <= line.goneFrom : ends[index] <= GetTickCount64();
    }
    void Reset() override { std::fill(ends.begin(), ends.end(), 0); }
    void Pause() override {}
    void Restart() override {}
    double PlayedSeconds() const override { return 0.0; }
    HANDLE DoneEvent() const override { return timer; }

private:
    bool Dead() const { return openedAt < line.goneFrom && GetTickCount64() >= line.goneFrom; }

    DeviceLine& line;
    HANDLE timer;
    int rate;
    ULONGLONG openedAt, clock;  // clock: when the last block queued ends
    std::vector<std::vector<int16_t>> data;
    std::vector<ULONGLONG> ends;
};

class SoundApi : public ::testing::Test {
protected:
    SoundApi() : deadline(20, "the sound calls to return (a feeder that does not stop holds FSOUND_Close)") {}
    void TearDown() override
    {
        FSOUND_Close();
        FSOUND_SetOutputDeviceFactory(nullptr);
    }

    void StandIn(DeviceLine& line)
    {
        FSOUND_SetOutputDeviceFactory([&] { return std::make_unique<StandInDevice>(line); });
    }

    Deadline deadline;
};

}  // namespace

TEST_F(SoundApi, EachCallRefusesWhatItCannotDoWithItsErrorCode)
{
    const Image tone = LoadFixture("tone_44k_stereo.ogg");
    const auto span = [&](int offset, int length) {
        return FSOUND_Stream_Open(reinterpret_cast<const char*>(tone.data()), MODE, offset, length) != nullptr;
    };
    const auto plays = [](FSOUND_STREAM* stream) { return FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 0) == 0; };
    // In order: each call, true if it gave its success result, and the code it leaves (success iff NONE).
    const struct {
        const char* what;
        std::function<bool()> call;
        int error;
    } steps[] = {
        {"Open before Init", [&] { return span(0, 100); }, FSOUND_ERR_UNINITIALIZED},
        {"PlayEx(null) before Init", [&] { return plays(nullptr); }, FSOUND_ERR_INVALID_PARAM},
        {"SetOutput(7)", [] { return FSOUND_SetOutput(7) != 0; }, FSOUND_ERR_INVALID_PARAM},
        {"SetDriver(-1)", [] { return FSOUND_SetDriver(-1) != 0; }, FSOUND_ERR_INVALID_PARAM},
        {"SetBufferSize(0)", [] { return FSOUND_Stream_SetBufferSize(0) != 0; }, FSOUND_ERR_INVALID_PARAM},
        {"Init at 0 Hz", [] { return FSOUND_Init(0, 32, 0) != 0; }, FSOUND_ERR_INVALID_PARAM},
        {"Init with -1 channels", [] { return FSOUND_Init(44100, -1, 0) != 0; }, FSOUND_ERR_INVALID_PARAM},
        {"SetDriver(99)", [] { return FSOUND_SetDriver(99) != 0; }, FSOUND_ERR_NONE},
        {"Init on a driver that does not exist", [] { return FSOUND_Init(44100, 32, 0) != 0; }, FSOUND_ERR_INIT},
        {"SetDriver(0)", [] { return FSOUND_SetDriver(0) != 0; }, FSOUND_ERR_NONE},
        {"SetOutput(NOSOUND)", [] { return FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND) != 0; }, FSOUND_ERR_NONE},
        {"Init without a device", [] { return FSOUND_Init(44100, 32, 0) != 0; }, FSOUND_ERR_NONE},
        {"SetOutput after Init", [] { return FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND) != 0; }, FSOUND_ERR_BUSY},
        {"SetDriver after Init", [] { return FSOUND_SetDriver(0) != 0; }, FSOUND_ERR_BUSY},
        {"Init twice", [] { return FSOUND_Init(44100, 32, 0) != 0; }, FSOUND_ERR_BUSY},
        {"Open(null)", [] { return FSOUND_Stream_Open(nullptr, MODE, 0, 100) != nullptr; }, FSOUND_ERR_INVALID_PARAM},
        {"Open with length -5", [&] { return span(0, -5); }, FSOUND_ERR_INVALID_PARAM},
        {"Open with offset past length", [&] { return span(10, 5); }, FSOUND_ERR_INVALID_PARAM},
        {"Open an empty image", [&] { return span(0, 0); }, FSOUND_ERR_FILE_FORMAT},
        {"Open from the second byte (no Ogg page)", [&] { return span(1, int(tone.size())); }, FSOUND_ERR_FILE_FORMAT},
        {"Open the first page only", [&] { return span(0, 58); }, FSOUND_ERR_FILE_FORMAT},
        {"Open cut inside the setup header", [&] { return span(0, 1000); }, FSOUND_ERR_FILE_BAD},
        // Half of this small file is setup headers; three quarters keeps some audio pages.
        {"Open three quarters", [&] { return span(0, int(tone.size() * 3 / 4)); }, FSOUND_ERR_NONE},
        {"Open by file name",
         [] { return FSOUND_Stream_Open("data/sine_22k_mono.ogg", FSOUND_NORMAL, 0, 0) != nullptr; },
         FSOUND_ERR_INVALID_PARAM},
        {"PlayEx", [&] { return plays(OpenImage(tone)); }, FSOUND_ERR_NONE},
        {"PlayEx of a second stream", [&] { return plays(OpenImage(tone)); }, FSOUND_ERR_CHANNEL_ALLOC},
        {"Close, then SetOutput", [] { return FSOUND_Close(), FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND) != 0; },
         FSOUND_ERR_NONE},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(step.call(), step.error == FSOUND_ERR_NONE) << step.what;
        EXPECT_EQ(FSOUND_GetError(), step.error) << step.what;
    }
}

TEST_F(SoundApi, ClosesAtAnyPointThenPlaysAShortStreamOutAndTheFeederGoesQuiet)
{
    const Image sine = LoadFixture("sine_22k_mono.ogg");  // 0.5 s
    // As the program runs again and again: closed at different points of the feeder's work, then played out.
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        if (!FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND) || !FSOUND_SetDriver(0) || !FSOUND_Init(44100, 32, 0)) {
            ASSERT_EQ(round, 0) << "Init failed after Close with code " << FSOUND_GetError();
            GTEST_SKIP() << "no audio device here (Init failed with code " << FSOUND_GetError() << ")";
        }
        ASSERT_TRUE(FSOUND_Stream_SetBufferSize(300));
        ASSERT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, OpenImage(sine), nullptr, 0), 0);
        if (round < 2) {
            Sleep(static_cast<DWORD>(50 * round));
            FSOUND_Close();
            EXPECT_FALSE(FSOUND_GetStats().playing);
        }
    }
    // Played out and quiet: all decoded, then half a second with the position still and under 50 ms of feeder CPU
    // (the last blocks coming back may wake it briefly; a feeder that keeps working never gets such a stretch).
    double played = -1.0, cpu = 0.0;
    ULONGLONG stillSince = GetTickCount64();
    ASSERT_TRUE(WaitFor(5, [&] {
        const SoundStats stats = FSOUND_GetStats();
        // Decoding may lead what the device has played by the buffer and one decode chunk, no more.
        EXPECT_LE(stats.decodedSeconds, stats.playedSeconds + 0.3 + 0.03);
        if (stats.playedSeconds != played || stats.feederCpuSeconds - cpu >= 0.05) {
            played = stats.playedSeconds;
            cpu = stats.feederCpuSeconds;
            stillSince = GetTickCount64();
            return false;
        }
        return stats.playing && stats.decodedSeconds > 0.499 && GetTickCount64() - stillSince > 500;
    })) << "the 0.5 s stream did not play out, or the feeder kept working, within 5 s";
    EXPECT_NEAR(FSOUND_GetStats().decodedSeconds, 0.5, 0.001);
    EXPECT_LE(played, 0.5 + 1e-9) << "the silence padding the last block counted as played";
    EXPECT_GE(played, 0.5 - PlanStreamBuffers(300, 44100).blockFrames / 44100.0);
}

TEST(SoundDeviceArithmetic, ResumesAtTheWallClockTakesTwoBlockLengthsForGoneAndReadsPositionsInBytesOrSamples)
{
    // Frame 44100 began playing at 1 s; the device went at 3 s with 4 s handed out: at 5.5 s it is 5.5 s.
    EXPECT_EQ(ResumeFrame(LossPoint(44100, 1000, 3000, 44100, 44100 * 4), 5500, 44100, 44100 * 4), 242550u);
    // A device faster than the clock had taken 9 s: it goes on from there.
    EXPECT_EQ(ResumeFrame(LossPoint(44100, 1000, 3000, 44100, 44100 * 9), 5500, 44100, 44100 * 9), 396900u);
    // A device that had run dry at 2 s handed out had played no further: 2 s plus the 2.5 s since.
    EXPECT_EQ(ResumeFrame(LossPoint(44100, 1000, 3000, 44100, 44100 * 2), 5500, 44100, 44100 * 2), 198450u);
    // Blocks of 125 ms: gone 250 ms after the last came back.
    EXPECT_EQ(StallWaitMs(1000, 1100, 5512, 44100), 150u);
    // A waveOut position in bytes gives the seconds it gives in samples, cut off at the stream's frames.
    MMTIME samples{TIME_SAMPLES, {}}, bytes{TIME_BYTES, {}};
    samples.u.sample = 33075;
    bytes.u.cb = 33075 * 4;  // 16-bit stereo
    for (const MMTIME& time : {samples, bytes}) {
        EXPECT_DOUBLE_EQ(PositionSeconds(time, 44100, 44100), 0.75) << time.wType;
        EXPECT_DOUBLE_EQ(PositionSeconds(time, 22050, 44100), 0.5) << time.wType;
    }
}

TEST_F(SoundApi, InitWaitsThreeSecondsForTheDefaultDeviceButNotForAMissingDriverAndAnOutrunFeederEndsInSilence)
{
    // A device that comes after 1 s, then has done with each block at once, outrunning the feeder.
    DeviceLine late{0, GetTickCount64() + 1000, false, true};
    StandIn(late);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0)) << "a device that came after 1 s, error " << FSOUND_GetError();
    ASSERT_TRUE(FSOUND_Stream_SetBufferSize(300));
    ASSERT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, OpenImage(LoadFixture("sine_22k_mono.ogg")), nullptr, 0), 0);
    ASSERT_TRUE(WaitFor(5, [&] { return late.lastBlocks > 0; })) << "the 0.5 s stream's last block never came";
    FSOUND_Close();
    EXPECT_GT(FSOUND_GetStats().underruns, 0u) << "the device had played every block while the stream had more";
    const DeviceLine::Block& last = late.blocks.back();
    EXPECT_TRUE(
        std::all_of(last.samples.begin() + last.frames * 2, last.samples.end(), [](int16_t s) { return s == 0; }))
        << "the last block after the stream's " << last.frames << " frames is not silence";

    DeviceLine never{0, ~0ULL, false};
    StandIn(never);
    const ULONGLONG tried = GetTickCount64();
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    EXPECT_GE(GetTickCount64() - tried, 3000u) << "gave up early";
    // Tried again every 250 to 500 ms until 3 s: not once only, and not in a busy loop (a sleep may come back
    // a tick early, so up to one try in 200 ms).
    EXPECT_GE(never.opens, 2);
    EXPECT_LE(never.opens, 16);

    const LONG opens = never.opens;
    ASSERT_TRUE(FSOUND_SetDriver(2));
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    EXPECT_EQ(never.opens, opens + 1) << "a driver asked for by number was tried again";
    FSOUND_SetDriver(0);
}

TEST_F(SoundApi, AfterTheDeviceIsGoneForTwoSecondsTheMusicPlaysOnWhereTheClockIsAndCloseNeverWaitsForIt)
{
    const Image music = LoadFixture("audio.ogg");
    StreamSource straight(44100);
    ASSERT_EQ(straight.Open(music.data(), music.size()), OggStream::OpenResult::Ok);
    std::vector<int16_t> track(44100 * 10 * 2);
    track.resize(straight.Read(track.data(), 44100 * 10) * 2);
    // Blocks that never come back: gone after two block lengths, back at 3.5 s.
    const ULONGLONG start = GetTickCount64();
    DeviceLine line{start + 1500, start + 3500, true};
    StandIn(line);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0) && FSOUND_Stream_SetBufferSize(1000));
    ASSERT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, OpenImage(music), nullptr, 0), 0);
    ASSERT_TRUE(WaitFor(10, [&] { return line.blocksBack >= 2; })) << "the device was not opened again";
    FSOUND_Close();
    const auto first =
        std::find_if(line.blocks.begin(), line.blocks.end(), [&](auto& b) { return b.startMs >= line.goneUntil; });
    const auto at = std::search(track.begin(), track.end(), first->samples.begin(), first->samples.end());
    ASSERT_NE(at, track.end()) << "the first block after the reopening is not the track's";
    EXPECT_NEAR((at - track.begin()) / 2 / 44100.0, (first->startMs - start) / 1000.0,
                2 * PlanStreamBuffers(1000, 44100).blockFrames / 44100.0)
        << "the position the block plays at, against the time it plays";
    // Writes that fail (the blocks back at once), the device gone for good: tried again, and Close does not wait.
    DeviceLine away{GetTickCount64() + 500, ~0ULL, false};
    StandIn(away);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    ASSERT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, OpenImage(music), nullptr, 0), 0);
    ASSERT_TRUE(WaitFor(5, [&] { return away.opens >= 3; })) << "the feeder did not try the device again";
    const Deadline closing(3, "FSOUND_Close while the device is away");
    FSOUND_Close();
}

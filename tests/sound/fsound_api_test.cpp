// The FSOUND_ calls: order of calls, parameters, bad images and the device paths (skipped where this
// machine has no audio device).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "fixture_files.h"
#include "sound/buffer_plan.h"
#include "sound/fsound.h"
#include "sound/fsound_stream.h"
#include "sound/sound_stats.h"

namespace {

constexpr unsigned MODE = FSOUND_NORMAL | FSOUND_LOADMEMORY | FSOUND_MPEGACCURATE;

FSOUND_STREAM* OpenImage(const std::vector<unsigned char>& image)
{
    return FSOUND_Stream_Open(reinterpret_cast<const char*>(image.data()), MODE, 0, static_cast<int>(image.size()));
}

// Init on the default device; false where there is none.
bool InitDefaultDevice()
{
    if (!FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND) || !FSOUND_SetDriver(0))
        return false;
    return FSOUND_Init(44100, 32, 0) != 0;
}

// Polls done() every 10 ms until it holds (true) or the timeout passes (false): generous, so a slow
// machine only makes the test slower.
template <typename Condition>
bool WaitFor(Condition done, std::chrono::seconds timeout = std::chrono::seconds(30))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class SoundApi : public ::testing::Test {
protected:
    void TearDown() override { FSOUND_Close(); }
    void InitWithoutDevice()
    {
        ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND));
        ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    }

    // Starts a fixture on the default device with the given stream buffer, as the program does; skips the
    // test where there is no device. The caller returns when the test is skipped or has failed.
    void PlayOnDevice(const char* fixture, int bufferMs)
    {
        if (!InitDefaultDevice()) {
            GTEST_SKIP() << "no audio device here (Init failed with code " << FSOUND_GetError() << ")";
        }
        ASSERT_TRUE(FSOUND_Stream_SetBufferSize(bufferMs));
        image = LoadFixture(fixture);
        stream = OpenImage(image);
        ASSERT_NE(stream, nullptr);
        ASSERT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 0), 0);
    }

    bool Stopped() const { return IsSkipped() || HasFatalFailure(); }

    std::vector<unsigned char> image;
    FSOUND_STREAM* stream = nullptr;
};

}  // namespace

TEST_F(SoundApi, CallsThatNeedInitFailBeforeIt)
{
    const std::vector<unsigned char> image = LoadFixture("tone_44k_stereo.ogg");
    EXPECT_EQ(OpenImage(image), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_UNINITIALIZED);
}

TEST_F(SoundApi, OutputAndDriverCannotChangeAfterInit)
{
    InitWithoutDevice();
    EXPECT_EQ(FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND), 0);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_BUSY);
    EXPECT_EQ(FSOUND_SetDriver(0), 0);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_BUSY);
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 0);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_BUSY);
    // After Close they may be set again.
    FSOUND_Close();
    EXPECT_NE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND), 0);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_NONE);
}

TEST_F(SoundApi, InvalidParametersAreRefused)
{
    EXPECT_EQ(FSOUND_SetOutput(7), 0);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INVALID_PARAM);
    EXPECT_EQ(FSOUND_SetDriver(-1), 0);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INVALID_PARAM);
    EXPECT_EQ(FSOUND_Stream_SetBufferSize(0), 0);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INVALID_PARAM);
    ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND));
    EXPECT_EQ(FSOUND_Init(0, 32, 0), 0);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INVALID_PARAM);
    EXPECT_EQ(FSOUND_Init(44100, -1, 0), 0);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INVALID_PARAM);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    const std::vector<unsigned char> image = LoadFixture("tone_44k_stereo.ogg");
    EXPECT_EQ(FSOUND_Stream_Open(nullptr, MODE, 0, 100), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INVALID_PARAM);
    EXPECT_EQ(FSOUND_Stream_Open(reinterpret_cast<const char*>(image.data()), MODE, 0, -5), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INVALID_PARAM);
    EXPECT_EQ(FSOUND_Stream_Open(reinterpret_cast<const char*>(image.data()), MODE, 10, 5), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INVALID_PARAM);
}

TEST_F(SoundApi, PlayingANullStreamFailsWithInvalidParam)
{
    EXPECT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, nullptr, nullptr, 0), -1);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INVALID_PARAM);
    InitWithoutDevice();
    EXPECT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, nullptr, nullptr, 0), -1);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INVALID_PARAM);
}

TEST_F(SoundApi, EmptyTruncatedAndForeignImagesGiveNoStream)
{
    InitWithoutDevice();
    const std::vector<unsigned char> good = LoadFixture("tone_44k_stereo.ogg");
    ASSERT_FALSE(good.empty());

    const std::vector<unsigned char> empty;
    const char nothing = 0;
    EXPECT_EQ(FSOUND_Stream_Open(&nothing, MODE, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_FILE_FORMAT);

    std::vector<unsigned char> garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<unsigned char>(i * 7919 >> 3);
    EXPECT_EQ(OpenImage(garbage), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_FILE_FORMAT);

    // A RIFF/WAVE header is a real format, just not this one.
    const std::vector<unsigned char> wave = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    EXPECT_EQ(OpenImage(wave), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_FILE_FORMAT);

    // Cut inside the headers: the image starts right but can't be set up.
    for (size_t keep : {4u, 27u, 58u, 200u, 1000u, 3000u}) {
        const std::vector<unsigned char> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(keep));
        FSOUND_STREAM* stream = OpenImage(cut);
        if (stream) {
            // Cut after the headers: it opens, and plays what there is.
            EXPECT_GE(keep, 1000u) << "opened although cut at " << keep;
            continue;
        }
        const int code = FSOUND_GetError();
        EXPECT_TRUE(code == FSOUND_ERR_FILE_BAD || code == FSOUND_ERR_FILE_FORMAT) << "cut at " << keep << ": " << code;
    }
    EXPECT_NE(OpenImage(good), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_NONE);
}

TEST_F(SoundApi, TruncatedStreamPlaysWhatThereIsAndEnds)
{
    InitWithoutDevice();
    const std::vector<unsigned char> good = LoadFixture("tone_44k_stereo.ogg");
    // Half of this small file is setup headers; three quarters keeps some audio pages.
    const std::vector<unsigned char> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() * 3 / 4));
    FSOUND_STREAM* stream = OpenImage(cut);
    ASSERT_NE(stream, nullptr) << "error " << FSOUND_GetError();
    std::vector<int16_t> block(4096 * 2);
    size_t total = 0;
    while (size_t got = stream->source.Read(block.data(), 4096))
        total += got;
    EXPECT_GT(total, 0u);
    EXPECT_LT(total, 44100u);
    EXPECT_TRUE(stream->source.Finished());
}

TEST_F(SoundApi, OpensFromAFileNameToo)
{
    InitWithoutDevice();
    EXPECT_NE(FSOUND_Stream_Open("data/sine_22k_mono.ogg", FSOUND_NORMAL, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Stream_Open("data/no_such_file.ogg", FSOUND_NORMAL, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_FILE_NOTFOUND);
}

TEST_F(SoundApi, PlayWithoutDeviceTakesChannelZeroOnce)
{
    InitWithoutDevice();
    const std::vector<unsigned char> image = LoadFixture("tone_44k_stereo.ogg");
    FSOUND_STREAM* stream = OpenImage(image);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 0), 0);
    FSOUND_STREAM* second = OpenImage(image);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, second, nullptr, 0), -1);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_CHANNEL_ALLOC);
}

TEST_F(SoundApi, InitOnADriverThatDoesNotExistFailsWithInitError)
{
    ASSERT_TRUE(FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND));
    ASSERT_TRUE(FSOUND_SetDriver(99));
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 0);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_INIT);
    // Still uninitialized: the same calls as before Init fail the same way.
    const std::vector<unsigned char> image = LoadFixture("tone_44k_stereo.ogg");
    EXPECT_EQ(OpenImage(image), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FSOUND_ERR_UNINITIALIZED);
    FSOUND_Close();
    EXPECT_TRUE(FSOUND_SetDriver(0));
}

TEST_F(SoundApi, ProgramSequencePlaysAndCloseJoinsTheFeederEachTime)
{
    const std::vector<unsigned char> image = LoadFixture("tone_44k_stereo.ogg");
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        if (!InitDefaultDevice())
            GTEST_SKIP() << "no audio device here (Init failed with code " << FSOUND_GetError() << ")";
        ASSERT_TRUE(FSOUND_Stream_SetBufferSize(1000));
        FSOUND_STREAM* stream = OpenImage(image);
        ASSERT_NE(stream, nullptr);
        ASSERT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 0), 0);
        EXPECT_TRUE(FSOUND_GetStats().playing);
        std::this_thread::sleep_for(std::chrono::milliseconds(50 * round));
        const auto before = std::chrono::steady_clock::now();
        FSOUND_Close();
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2)) << "Close was slow to join";
        EXPECT_FALSE(FSOUND_GetStats().playing);
    }
}

TEST_F(SoundApi, DecodingStaysWithinTheStreamBufferAheadOfPlayback)
{
    PlayOnDevice("tone_44k_stereo.ogg", 200);
    if (Stopped())
        return;
    for (int i = 0; i < 10; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const SoundStats stats = FSOUND_GetStats();
        // Decoding may lead what the device has played by the buffer and one decode chunk, no more.
        EXPECT_LE(stats.decodedSeconds, stats.playedSeconds + 0.2 + 0.03) << "after " << 20 * (i + 1) << " ms";
    }
    EXPECT_GT(FSOUND_GetStats().decodedSeconds, 0.0);
}

TEST_F(SoundApi, PlayedStreamEndsAndTheFeederGoesQuiet)
{
    PlayOnDevice("sine_22k_mono.ogg", 300);
    if (Stopped())
        return;
    ASSERT_TRUE(WaitFor([&] { return stream->source.Finished(); })) << "the stream did not end within 30 s";
    EXPECT_NEAR(FSOUND_GetStats().decodedSeconds, 0.5, 0.001);
    ASSERT_TRUE(WaitFor([] { return FSOUND_GetStats().playedSeconds >= 0.5 - 1e-9; }))
        << "the device did not play the stream out within 30 s";
    // Quiet: a 300 ms stretch in which the feeder uses under 50 ms of CPU. The last blocks coming back
    // may still wake it briefly; a feeder that keeps working never gets such a stretch.
    double cpu = FSOUND_GetStats().feederCpuSeconds;
    auto stretchStart = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitFor([&] {
        const double now = FSOUND_GetStats().feederCpuSeconds;
        if (now - cpu >= 0.05) {
            cpu = now;
            stretchStart = std::chrono::steady_clock::now();
            return false;
        }
        return std::chrono::steady_clock::now() - stretchStart >= std::chrono::milliseconds(300);
    })) << "the feeder keeps working after the end";
}

TEST_F(SoundApi, PlayedSecondsOfAShortStreamEqualItsLength)
{
    PlayOnDevice("sine_22k_mono.ogg", 300);
    if (Stopped())
        return;
    // 11025 frames at 22050 Hz: 22050 frames, exactly 0.5 s, at the 44100 Hz output.
    const double length = 0.5;
    // The stream's last block is padded with silence up to a whole block.
    const double block = PlanStreamBuffers(300, 44100).blockFrames / 44100.0;
    // Played out: the stream has ended and the position has stood still for half a second.
    double played = -1.0;
    auto lastChange = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitFor([&] {
        const double now = FSOUND_GetStats().playedSeconds;
        if (now != played) {
            played = now;
            lastChange = std::chrono::steady_clock::now();
            return false;
        }
        return stream->source.Finished() &&
               std::chrono::steady_clock::now() - lastChange > std::chrono::milliseconds(500);
    })) << "the position kept moving for 30 s";
    EXPECT_LE(played, length + 1e-9) << "the silence padding the last block counted as played";
    EXPECT_GE(played, length - block);
    EXPECT_LE(played, FSOUND_GetStats().decodedSeconds + 1e-9);
}

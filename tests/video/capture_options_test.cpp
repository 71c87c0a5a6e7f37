// The capture's option parsing, the demo's star seed against the capture's and the frames' YUV, without a window.
#include <gtest/gtest.h>

#include "scenes/scene_clock.h"
#include "video/capture_options.h"
#include "video/yuv_frame.h"

namespace {

bool Parse(const std::vector<const char*>& args, CaptureOptions& options, std::string& error)
{
    std::vector<const char*> argv = {"kelvra-capture.exe"};
    argv.insert(argv.end(), args.begin(), args.end());
    return ParseCaptureOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(CaptureOptions, EveryOptionIsReadAndTheShortestCaptureIsOneFrame)
{
    CaptureOptions options;
    std::string error;
    // Each option reaches its own field (the capture passes --video and --audio); 12.5 s at 30 fps are 375 frames.
    ASSERT_TRUE(Parse(
        {"--fps", "30", "--size", "3840x2160", "--seconds", "12.5", "--out", "a.mp4", "--aa", "off", "--describe"},
        options, error))
        << error;
    EXPECT_EQ(options.fps, 30);
    EXPECT_EQ(options.width, 3840);
    EXPECT_EQ(options.height, 2160);
    EXPECT_EQ(options.seconds, 12.5);
    EXPECT_EQ(options.out, "a.mp4");
    EXPECT_FALSE(options.antialias);
    EXPECT_TRUE(options.describe);
    EXPECT_EQ(DescribeCapture(options), "3840 2160 30 375");
    // A capture shorter than a frame at the rate, given after it, is refused with the least it takes, which is
    // taken.
    ASSERT_FALSE(Parse({"--seconds", "0.03", "--fps", "30"}, options = CaptureOptions(), error));
    EXPECT_NE(error.find("at least 1/30 s (0.0334)"), std::string::npos) << error;
    ASSERT_TRUE(Parse({"--seconds", "0.0334", "--fps", "30"}, options = CaptureOptions(), error)) << error;
    EXPECT_EQ(CaptureFrameCount(options), 1);
}

TEST(CaptureOptions, RefusesWhatItCannotDo)
{
    const std::vector<std::vector<const char*>> refused = {
        {"--speed", "2"},       {"--fps"},           {"--fps", "0"},        {"--fps", "241"},
        {"--fps", "30x"},       {"--fps", "+30"},    {"--fps", ""},         {"--fps", "\t30"},
        {"--size", "800"},      {"--size", "0x0"},   {"--size", "801x600"}, {"--size", "x600"},
        {"--size", "8000x600"}, {"--size", "62x62"}, {"--seconds", "0"},    {"--seconds", "-3"},
        {"--seconds", "nan"},   {"--seconds", "+3"}, {"--seconds", " 3"},   {"--seconds", ".001"},
        {"--out", ""},          {"extra"},           {"--aa", "yes"},       {"--describe", "x"},
    };
    for (const std::vector<const char*>& args : refused) {
        CaptureOptions options;
        std::string error;
        EXPECT_FALSE(Parse(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST(SceneClock, TheDemoSeedsItsStarsFromATickCountThatMoves)
{
    // The capture's fixed seed is checked by capture_repeat.sh; in real time each run places its own stars.
    const DWORD first = SceneClock::Ticks();
    Sleep(50);
    EXPECT_NE(SceneClock::Ticks(), first);
}

}  // namespace

TEST(YuvFrame, BlocksConvertInStudioRangeAndRowsComeOutUpright)
{
    // 4 x 2 BGRX, bottom row first as GL reads a window: a white 2 x 2 block, then a block red on top, black
    // below.
    const unsigned char bgrx[] = {255, 255, 255, 0, 255, 255, 255, 0, 0, 0, 0,   0, 0, 0, 0,   0,
                                  255, 255, 255, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0};
    ASSERT_EQ(Yuv420Bytes(4, 2), 12u);
    unsigned char yuv[12];
    BgrxToYuv420(bgrx, 4, 2, true, yuv);
    const unsigned char expected[] = {235, 235, 81,  81,    // top row: white, then red
                                      235, 235, 16,  16,    // bottom row: white, then black
                                      128, 109, 128, 184};  // U, then V: grey for white, half red beside it
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(yuv[i], expected[i]) << "byte " << i;
    }
    // The same rows taken top row first come out in that order: black beside white on top, red below.
    BgrxToYuv420(bgrx, 4, 2, false, yuv);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(yuv[i], expected[i < 8 ? (i + 4) % 8 : i]) << "byte " << i;
    }
}

// The capture's pieces under Wine: a capture that cannot start on a real window and GL context, and the frame
// writer against a pipe whose reader stops reading.
#include <gtest/gtest.h>

#include <vector>

#include "support/deadline.h"
#include "video/capture_app.h"

TEST(CaptureApp, ACaptureThatCannotStartLeavesNoWindowAndNoClass)
{
    CaptureOptions options;
    options.video = "frames.yuv";
    options.audio = "no-such-folder\\music.wav";  // fails after the window and the context are made
    CaptureApp capture(options);
    EXPECT_EQ(capture.Run(GetModuleHandleA(nullptr), SW_HIDE, ""), EXIT_CODE_NOT_STARTED);
    EXPECT_FALSE(capture.Succeeded());
    EXPECT_EQ(FindWindowA(GLWindowApp::WINDOW_CLASS_NAME, nullptr), nullptr);
    WNDCLASSEXA registered = {};
    registered.cbSize = sizeof(registered);
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), GLWindowApp::WINDOW_CLASS_NAME, &registered));
}

TEST(FrameWriter, AnEncoderThatStopsReadingIsGivenUpOnAtTheDeadline)
{
    HANDLE reader = nullptr;
    HANDLE pipe = nullptr;
    ASSERT_TRUE(CreatePipe(&reader, &pipe, nullptr, 4096));
    const std::vector<unsigned char> frame(64 * 64 * 4, 0);
    FrameWriter writer(200);
    ASSERT_TRUE(writer.Start(pipe, 64, 64, false));
    {
        // Far more frames than the pipe holds: one of them must wait for a reader that never comes.
        Deadline deadline(30, "the writer to give up on a pipe nobody reads");
        int handed = 0;
        while (handed < 100 && writer.Hand(frame.data())) {
            ++handed;
        }
        EXPECT_LT(handed, 100);
        EXPECT_TRUE(writer.Stalled());
        EXPECT_FALSE(writer.Finish());
    }
    CloseHandle(pipe);
    CloseHandle(reader);
}

// FrameWriter: one writer thread, woken by an event per frame; the caller never waits unless the pipe still
// holds the frame before the one it hands.
#include "video/frame_writer.h"

#include <stdlib.h>

#include "video/yuv_frame.h"

FrameWriter::FrameWriter()
    : pipe(INVALID_HANDLE_VALUE),
      width(0),
      height(0),
      buffers{nullptr, nullptr},
      picture(nullptr),
      pictureBytes(0),
      next(0),
      thread(nullptr),
      frameQueued(nullptr),
      frameDone(nullptr),
      queued(0),
      failed(0),
      waitCounts(0)
{
}

FrameWriter::~FrameWriter()
{
    Finish();
    if (frameDone != nullptr) {
        CloseHandle(frameDone);
        frameDone = nullptr;
    }
    if (frameQueued != nullptr) {
        CloseHandle(frameQueued);
        frameQueued = nullptr;
    }
    free(picture);
    free(buffers[1]);
    free(buffers[0]);
}

bool FrameWriter::Start(HANDLE out, int frameWidth, int frameHeight)
{
    pipe = out;
    width = frameWidth;
    height = frameHeight;
    const size_t bytes = static_cast<size_t>(width) * height * 4;
    pictureBytes = Yuv420Bytes(width, height);
    buffers[0] = static_cast<unsigned char*>(malloc(bytes));
    buffers[1] = static_cast<unsigned char*>(malloc(bytes));
    picture = static_cast<unsigned char*>(malloc(pictureBytes));
    frameQueued = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    frameDone = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (buffers[0] == nullptr || buffers[1] == nullptr || picture == nullptr || frameQueued == nullptr ||
        frameDone == nullptr) {
        return false;
    }
    thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    return thread != nullptr;
}

bool FrameWriter::WaitForPreviousFrame()
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    WaitForSingleObject(frameDone, INFINITE);
    QueryPerformanceCounter(&end);
    waitCounts += end.QuadPart - start.QuadPart;
    return failed == 0;
}

bool FrameWriter::Hand()
{
    if (!WaitForPreviousFrame()) {
        return false;
    }
    ResetEvent(frameDone);
    InterlockedExchange(&queued, next);
    SetEvent(frameQueued);
    next = 1 - next;
    return true;
}

bool FrameWriter::Finish()
{
    if (thread == nullptr) {
        return failed == 0;
    }
    WaitForPreviousFrame();
    InterlockedExchange(&queued, -1);
    SetEvent(frameQueued);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread = nullptr;
    return failed == 0;
}

DWORD WINAPI FrameWriter::Run(LPVOID self)
{
    FrameWriter& writer = *static_cast<FrameWriter*>(self);
    for (;;) {
        WaitForSingleObject(writer.frameQueued, INFINITE);
        const LONG index = InterlockedCompareExchange(&writer.queued, 0, 0);
        if (index < 0) {
            return 0;
        }
        BgrxToYuv420(writer.buffers[index], writer.width, writer.height, writer.picture);
        DWORD written = 0;
        if (!WriteFile(writer.pipe, writer.picture, static_cast<DWORD>(writer.pictureBytes), &written, nullptr) ||
            written != writer.pictureBytes) {
            InterlockedExchange(&writer.failed, 1);
        }
        SetEvent(writer.frameDone);
    }
}

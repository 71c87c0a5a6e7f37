// FrameWriter: one writer thread, woken by an event per frame; the caller never waits unless the pipe still
// holds the frame before the one it hands.
#include "video/frame_writer.h"

#include <new>

#include "video/yuv_frame.h"

FrameWriter::FrameWriter(DWORD deadline)
    : deadlineMs(deadline),
      pipe(INVALID_HANDLE_VALUE),
      width(0),
      height(0),
      bottomFirst(true),
      frame(nullptr),
      picture(nullptr),
      pictureBytes(0),
      thread(nullptr),
      frameQueued(nullptr),
      frameDone(nullptr),
      stop(0),
      failed(0),
      stalled(false),
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
}

bool FrameWriter::Start(HANDLE out, int frameWidth, int frameHeight, bool rowsBottomFirst)
{
    pipe = out;
    width = frameWidth;
    height = frameHeight;
    bottomFirst = rowsBottomFirst;
    pictureBytes = Yuv420Bytes(width, height);
    picture.reset(new (std::nothrow) unsigned char[pictureBytes]);
    frameQueued = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    frameDone = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (picture == nullptr || frameQueued == nullptr || frameDone == nullptr) {
        return false;
    }
    thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    return thread != nullptr;
}

bool FrameWriter::Wait()
{
    if (stalled) {
        return false;
    }
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    stalled = WaitForSingleObject(frameDone, deadlineMs) != WAIT_OBJECT_0;
    QueryPerformanceCounter(&end);
    waitCounts += end.QuadPart - start.QuadPart;
    return failed == 0 && !stalled;
}

bool FrameWriter::Hand(const unsigned char* next)
{
    if (!Wait()) {
        return false;
    }
    ResetEvent(frameDone);
    frame = next;  // the event below publishes it to the thread
    SetEvent(frameQueued);
    return true;
}

bool FrameWriter::Finish()
{
    if (thread == nullptr) {
        return failed == 0 && !stalled;
    }
    Wait();
    InterlockedExchange(&stop, 1);
    SetEvent(frameQueued);
    if (stalled) {
        // NOTE: a write into a full pipe ends with CancelSynchronousIo on Windows and in Wine's own pipes, but
        // under Wine one into a Unix fifo waits in the kernel, where nothing cancels it. The thread, which
        // holds nothing but that write, is then ended: otherwise it would outlive the picture it writes.
        CancelSynchronousIo(thread);
        if (WaitForSingleObject(thread, 1000) != WAIT_OBJECT_0) {
            TerminateThread(thread, 1);
        }
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread = nullptr;
    return failed == 0 && !stalled;
}

DWORD WINAPI FrameWriter::Run(LPVOID self)
{
    FrameWriter& writer = *static_cast<FrameWriter*>(self);
    for (;;) {
        WaitForSingleObject(writer.frameQueued, INFINITE);
        if (InterlockedCompareExchange(&writer.stop, 0, 0) != 0) {
            return 0;
        }
        BgrxToYuv420(writer.frame, writer.width, writer.height, writer.bottomFirst, writer.picture.get());
        DWORD written = 0;
        if (!WriteFile(writer.pipe, writer.picture.get(), static_cast<DWORD>(writer.pictureBytes), &written, nullptr) ||
            written != writer.pictureBytes) {
            InterlockedExchange(&writer.failed, 1);
        }
        SetEvent(writer.frameDone);
    }
}

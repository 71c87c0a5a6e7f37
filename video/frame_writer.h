// FrameWriter: hands captured frames to the encoder's pipe on a thread of its own, through two buffers, so
// that the next frame renders while the thread turns the last one into YUV 4:2:0 and writes it.
#pragma once

#include <stddef.h>
#include <windows.h>

class FrameWriter {
public:
    FrameWriter();
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Takes the pipe (not its ownership) and makes the buffers and the thread for frames of this (even)
    // size; false if it cannot.
    bool Start(HANDLE pipe, int width, int height);
    // The buffer for the next frame, BGRX rows bottom first; the one before it may still be on its way.
    unsigned char* NextBuffer() { return buffers[next]; }
    // Queues NextBuffer() for the pipe, after the frame before it has gone out; false once a write failed.
    bool Hand();
    // Waits for the last frame to go out and stops the thread; false if any write failed.
    bool Finish();
    // Counter ticks the caller spent waiting for the pipe to take the frame before.
    LONGLONG WaitCounts() const { return waitCounts; }

private:
    static DWORD WINAPI Run(LPVOID self);
    bool WaitForPreviousFrame();

    HANDLE pipe;
    int width;
    int height;
    unsigned char* buffers[2];
    unsigned char* picture;  // the writer thread's YUV 4:2:0 of the frame it writes
    size_t pictureBytes;
    int next;
    HANDLE thread;
    HANDLE frameQueued;    // auto-reset: a buffer (or the stop) is waiting for the thread
    HANDLE frameDone;      // manual-reset: the thread is idle
    volatile LONG queued;  // index of the queued buffer, or -1 to stop
    volatile LONG failed;
    LONGLONG waitCounts;
};

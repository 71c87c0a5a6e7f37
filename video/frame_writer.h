// FrameWriter: hands captured frames to the encoder's pipe on a thread of its own, so that the next frame
// renders while the thread turns the last one into YUV 4:2:0 and writes it.
#pragma once

#include <stddef.h>
#include <windows.h>

class FrameWriter {
public:
    FrameWriter();
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Takes the pipe (not its ownership) and makes the picture and the thread for frames of this (even)
    // size, their rows bottom row first or not; false if it cannot.
    bool Start(HANDLE pipe, int width, int height, bool bottomFirst);
    // Waits until the frame handed last has gone out (its memory is then free); false once a write failed.
    bool Wait();
    // Waits, then queues the frame (BGRX rows) for the pipe; its memory must stay as it is
    // until the next Wait. False once a write failed.
    bool Hand(const unsigned char* frame);
    // Waits for the last frame to go out and stops the thread; false if any write failed.
    bool Finish();
    // Counter ticks the caller spent waiting for the pipe to take the frame before.
    LONGLONG WaitCounts() const { return waitCounts; }

private:
    static DWORD WINAPI Run(LPVOID self);

    HANDLE pipe;
    int width;
    int height;
    bool bottomFirst;
    const unsigned char* frame;  // the frame handed last
    unsigned char* picture;      // the writer thread's YUV 4:2:0 of the frame it writes
    size_t pictureBytes;
    HANDLE thread;
    HANDLE frameQueued;  // auto-reset: a frame (or the stop) is waiting for the thread
    HANDLE frameDone;    // manual-reset: the thread is idle
    volatile LONG stop;
    volatile LONG failed;
    LONGLONG waitCounts;
};

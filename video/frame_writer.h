// FrameWriter: hands captured frames to the encoder's pipe on a thread of its own, so that the next frame
// renders while the thread turns the last one into YUV 4:2:0 and writes it.
#pragma once

#include <stddef.h>
#include <windows.h>

#include <memory>

class FrameWriter {
public:
    // Far above any frame's time to encode (a 4096x4096 frame takes the encoder well under a second), so that
    // only an encoder that stopped reading meets it.
    static const DWORD ENCODER_DEADLINE_MS = 30000;

    explicit FrameWriter(DWORD deadlineMs = ENCODER_DEADLINE_MS);
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Takes the pipe (not its ownership) and makes the picture and the thread for frames of this (even)
    // size, their rows bottom row first or not; false if it cannot.
    bool Start(HANDLE pipe, int width, int height, bool bottomFirst);
    // Waits until the frame handed last has gone out (its memory is then free); false once a write failed or
    // the pipe took nothing for the deadline.
    bool Wait();
    // Waits, then queues the frame (BGRX rows) for the pipe; its memory must stay as it is
    // until the next Wait. False once a write failed.
    bool Hand(const unsigned char* frame);
    // Waits for the last frame to go out and stops the thread; false if any write failed or stalled.
    bool Finish();
    // True once the pipe took nothing for the deadline: the encoder is alive but stopped reading.
    bool Stalled() const { return stalled; }
    DWORD DeadlineMs() const { return deadlineMs; }
    // Counter ticks the caller spent waiting for the pipe to take the frame before.
    LONGLONG WaitCounts() const { return waitCounts; }

private:
    static DWORD WINAPI Run(LPVOID self);

    DWORD deadlineMs;
    HANDLE pipe;
    int width;
    int height;
    bool bottomFirst;
    const unsigned char* frame;                // the frame handed last
    std::unique_ptr<unsigned char[]> picture;  // the writer thread's YUV 4:2:0 of the frame it writes
    size_t pictureBytes;
    HANDLE thread;
    HANDLE frameQueued;  // auto-reset: a frame (or the stop) is waiting for the thread
    HANDLE frameDone;    // manual-reset: the thread is idle
    volatile LONG stop;
    volatile LONG failed;
    bool stalled;
    LONGLONG waitCounts;
};

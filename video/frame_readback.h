// FrameReadback: frames read back from the bound read framebuffer into a ring of three slots, each taken a
// frame after it was read: pixel buffer objects, so that a GPU copies a frame while the next one is drawn, or
// plain memory where the frames are read from the window.
#pragma once

#include <stddef.h>

#include <memory>

#include "video/framebuffer_calls.h"

class FrameReadback {
public:
    static const int SLOTS = 3;

    FrameReadback();
    FrameReadback(const FrameReadback&) = delete;
    FrameReadback& operator=(const FrameReadback&) = delete;

    // Current: the slots for BGRX frames of this size, pixel buffer objects when calls is given, else memory.
    // False if they cannot be made.
    bool Start(const FramebufferCalls* calls, int width, int height);
    // Current: gives back every slot; a frame taken last is no longer valid.
    void Stop();
    // Current: starts reading the frame in the bound read framebuffer into the next slot, which must be free:
    // at most one frame waits to be taken besides the one taken last.
    void Read();
    // Frames read and not taken yet.
    int Waiting() const { return read - taken; }
    // Current: the oldest frame not taken yet, BGRX rows as read, or null if it cannot be had. It stays valid
    // until the next Take, which gives it back: the caller must be done with it by then.
    const unsigned char* Take();

private:
    void GiveBack();

    const FramebufferCalls* gl;
    int width;
    int height;
    size_t bytes;
    GLuint buffers[SLOTS];
    std::unique_ptr<unsigned char[]> memory[SLOTS];
    int read;     // frames read so far
    int taken;    // frames taken so far
    bool mapped;  // the slot of the frame taken last is mapped
};

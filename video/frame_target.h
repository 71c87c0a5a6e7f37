// FrameTarget: the offscreen framebuffers the capture draws into, of the capture's size whatever the window's:
// a multisampled one when asked, and two single-sampled ones that frames take turns in, so that a frame can
// be read back while the next one is drawn.
#pragma once

#include "video/framebuffer_calls.h"

class FrameTarget {
public:
    FrameTarget();
    FrameTarget(const FrameTarget&) = delete;
    FrameTarget& operator=(const FrameTarget&) = delete;

    // Current, with the window's framebuffer bound: makes the framebuffers, their depth as deep as the
    // window's; samples 0 draws straight into the single-sampled ones. False, with nothing left made, when GL
    // cannot make them complete at this size.
    bool Create(const FramebufferCalls& calls, int width, int height, int samples);
    // Current: frees the framebuffers.
    void Destroy();
    // Where frame number `frame` is drawn: the multisampled framebuffer, or with single (or no samples) the
    // frame's own single-sampled one, which can be read while drawing, unlike a multisampled one.
    void BindForDrawing(int frame, bool single);
    // Resolves the frame, when drawn multisampled, into its own single-sampled framebuffer.
    void Resolve(int frame);
    // Binds the frame's single-sampled framebuffer for glReadPixels.
    void BindForReading(int frame);
    int Samples() const { return samples; }

private:
    GLuint Single(int frame) const { return framebuffers[1 + frame % 2]; }

    const FramebufferCalls* gl;
    int width;
    int height;
    int samples;
    GLuint framebuffers[3];   // the multisampled one (when samples > 0), then the two single-sampled ones
    GLuint renderbuffers[5];  // colour and depth of the multisampled one, the two colours, the shared depth
};

// FrameTarget: renderbuffers for colour (RGB8, as the window has no alpha) and depth, the resolve as a blit of
// the same size. The single-sampled frames share one depth buffer: each frame clears it before use.
#include "video/frame_target.h"

FrameTarget::FrameTarget()
    : gl(nullptr), width(0), height(0), samples(0), framebuffers{0, 0, 0}, renderbuffers{0, 0, 0, 0, 0}
{
}

bool FrameTarget::Create(const FramebufferCalls& calls, int frameWidth, int frameHeight, int frameSamples)
{
    gl = &calls;
    width = frameWidth;
    height = frameHeight;
    samples = frameSamples;
    ClearGlErrors();
    // As deep as the window's depth buffer, so that a frame drawn here is the one the window would show.
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    const GLenum depthFormat = depthBits > 16 ? fb::DEPTH_COMPONENT24 : fb::DEPTH_COMPONENT16;
    gl->GenFramebuffers(3, framebuffers);
    gl->GenRenderbuffers(5, renderbuffers);
    const struct {
        GLuint renderbuffer;
        GLsizei samples;
        GLenum format;
    } storage[5] = {{renderbuffers[0], samples, GL_RGB8},
                    {renderbuffers[1], samples, depthFormat},
                    {renderbuffers[2], 0, GL_RGB8},
                    {renderbuffers[3], 0, GL_RGB8},
                    {renderbuffers[4], 0, depthFormat}};
    for (int i = samples > 0 ? 0 : 2; i < 5; ++i) {
        gl->BindRenderbuffer(fb::RENDERBUFFER, storage[i].renderbuffer);
        gl->RenderbufferStorageMultisample(fb::RENDERBUFFER, storage[i].samples, storage[i].format, width, height);
    }
    gl->BindRenderbuffer(fb::RENDERBUFFER, 0);
    bool complete = true;
    for (int i = samples > 0 ? 0 : 1; i < 3; ++i) {
        gl->BindFramebuffer(fb::FRAMEBUFFER, framebuffers[i]);
        gl->FramebufferRenderbuffer(fb::FRAMEBUFFER, fb::COLOR_ATTACHMENT0, fb::RENDERBUFFER,
                                    renderbuffers[i == 0 ? 0 : i + 1]);
        gl->FramebufferRenderbuffer(fb::FRAMEBUFFER, fb::DEPTH_ATTACHMENT, fb::RENDERBUFFER,
                                    renderbuffers[i == 0 ? 1 : 4]);
        complete = complete && gl->CheckFramebufferStatus(fb::FRAMEBUFFER) == fb::FRAMEBUFFER_COMPLETE;
    }
    gl->BindFramebuffer(fb::FRAMEBUFFER, 0);
    // A window's rows lie top row first, a framebuffer object's bottom row first, and GL turns the image to
    // match: edges that meet a pixel's centre exactly then fall to the other side. With the origin at the
    // top, the frames drawn here are the window's, pixel for pixel, and are read back top row first.
    gl->ClipControl(fb::UPPER_LEFT, fb::NEGATIVE_ONE_TO_ONE);
    if (!complete || glGetError() != GL_NO_ERROR) {
        Destroy();
        return false;
    }
    return true;
}

void FrameTarget::Destroy()
{
    if (gl == nullptr) {
        return;
    }
    gl->BindFramebuffer(fb::FRAMEBUFFER, 0);
    gl->ClipControl(fb::LOWER_LEFT, fb::NEGATIVE_ONE_TO_ONE);
    gl->DeleteFramebuffers(3, framebuffers);
    gl->DeleteRenderbuffers(5, renderbuffers);
    gl = nullptr;
}

void FrameTarget::BindForDrawing(int frame, bool single)
{
    gl->BindFramebuffer(fb::FRAMEBUFFER, samples > 0 && !single ? framebuffers[0] : Single(frame));
}

void FrameTarget::Resolve(int frame)
{
    if (samples > 0) {
        gl->BindFramebuffer(fb::READ_FRAMEBUFFER, framebuffers[0]);
        gl->BindFramebuffer(fb::DRAW_FRAMEBUFFER, Single(frame));
        gl->BlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    }
}

void FrameTarget::BindForReading(int frame)
{
    gl->BindFramebuffer(fb::READ_FRAMEBUFFER, Single(frame));
}

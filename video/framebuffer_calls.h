// FramebufferCalls: the few entry points beyond OpenGL 1.1 the capture draws and reads its frames with
// (framebuffer objects, multisampled renderbuffers, the resolving blit, pixel buffer objects, the clip
// origin), found through wglGetProcAddress, and their enums; and a bounded clear of GL's error flags.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <stddef.h>

namespace fb {
const GLenum FRAMEBUFFER = 0x8D40;
const GLenum READ_FRAMEBUFFER = 0x8CA8;
const GLenum DRAW_FRAMEBUFFER = 0x8CA9;
const GLenum RENDERBUFFER = 0x8D41;
const GLenum COLOR_ATTACHMENT0 = 0x8CE0;
const GLenum DEPTH_ATTACHMENT = 0x8D00;
const GLenum FRAMEBUFFER_COMPLETE = 0x8CD5;
const GLenum MAX_SAMPLES = 0x8D57;
const GLenum DEPTH_COMPONENT16 = 0x81A5;
const GLenum DEPTH_COMPONENT24 = 0x81A6;
const GLenum PIXEL_PACK_BUFFER = 0x88EB;
const GLenum STREAM_READ = 0x88E1;
const GLenum READ_ONLY = 0x88B8;
const GLenum LOWER_LEFT = 0x8CA1;
const GLenum UPPER_LEFT = 0x8CA2;
const GLenum NEGATIVE_ONE_TO_ONE = 0x935E;
}  // namespace fb

// Current: clears GL's error flags before a step whose errors are checked. GL keeps one flag per kind of error,
// eight kinds in all, so eight reads clear them; a lost context may report an error on every read, and an
// unbounded drain would hold the capture there for ever.
void ClearGlErrors();

struct FramebufferCalls {
    // With a context current: true when every entry point is there; else `missing` names the first that is not.
    // KELVRA_CAPTURE_WITHOUT, entry point names separated by spaces, takes those as missing: the tests' way to
    // try the window read-back on a GL that has them all.
    bool Load();

    const char* missing = nullptr;

    void(APIENTRY* GenFramebuffers)(GLsizei, GLuint*) = nullptr;
    void(APIENTRY* DeleteFramebuffers)(GLsizei, const GLuint*) = nullptr;
    void(APIENTRY* BindFramebuffer)(GLenum, GLuint) = nullptr;
    GLenum(APIENTRY* CheckFramebufferStatus)(GLenum) = nullptr;
    void(APIENTRY* FramebufferRenderbuffer)(GLenum, GLenum, GLenum, GLuint) = nullptr;
    void(APIENTRY* GenRenderbuffers)(GLsizei, GLuint*) = nullptr;
    void(APIENTRY* DeleteRenderbuffers)(GLsizei, const GLuint*) = nullptr;
    void(APIENTRY* BindRenderbuffer)(GLenum, GLuint) = nullptr;
    void(APIENTRY* RenderbufferStorageMultisample)(GLenum, GLsizei, GLenum, GLsizei, GLsizei) = nullptr;
    void(APIENTRY* BlitFramebuffer)(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield,
                                    GLenum) = nullptr;
    void(APIENTRY* GenBuffers)(GLsizei, GLuint*) = nullptr;
    void(APIENTRY* DeleteBuffers)(GLsizei, const GLuint*) = nullptr;
    void(APIENTRY* BindBuffer)(GLenum, GLuint) = nullptr;
    void(APIENTRY* BufferData)(GLenum, ptrdiff_t, const void*, GLenum) = nullptr;
    void*(APIENTRY* MapBuffer)(GLenum, GLenum) = nullptr;
    GLboolean(APIENTRY* UnmapBuffer)(GLenum) = nullptr;
    void(APIENTRY* ClipControl)(GLenum, GLenum) = nullptr;
};

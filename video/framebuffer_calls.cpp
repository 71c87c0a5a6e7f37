// FramebufferCalls: each entry point looked up by its core name.
#include "video/framebuffer_calls.h"

namespace {

template <typename Call>
bool Find(Call& call, const char* name)
{
    // NOTE: some drivers return small integers (1, 2, 3, -1) instead of null for a missing entry point.
    const INT_PTR found = reinterpret_cast<INT_PTR>(wglGetProcAddress(name));
    call = found >= -1 && found <= 3 ? nullptr : reinterpret_cast<Call>(found);
    return call != nullptr;
}

}  // namespace

bool FramebufferCalls::Load()
{
    bool all = Find(GenFramebuffers, "glGenFramebuffers");
    all = Find(DeleteFramebuffers, "glDeleteFramebuffers") && all;
    all = Find(BindFramebuffer, "glBindFramebuffer") && all;
    all = Find(CheckFramebufferStatus, "glCheckFramebufferStatus") && all;
    all = Find(FramebufferRenderbuffer, "glFramebufferRenderbuffer") && all;
    all = Find(GenRenderbuffers, "glGenRenderbuffers") && all;
    all = Find(DeleteRenderbuffers, "glDeleteRenderbuffers") && all;
    all = Find(BindRenderbuffer, "glBindRenderbuffer") && all;
    all = Find(RenderbufferStorageMultisample, "glRenderbufferStorageMultisample") && all;
    all = Find(BlitFramebuffer, "glBlitFramebuffer") && all;
    all = Find(GenBuffers, "glGenBuffers") && all;
    all = Find(DeleteBuffers, "glDeleteBuffers") && all;
    all = Find(BindBuffer, "glBindBuffer") && all;
    all = Find(BufferData, "glBufferData") && all;
    all = Find(MapBuffer, "glMapBuffer") && all;
    all = Find(UnmapBuffer, "glUnmapBuffer") && all;
    all = Find(ClipControl, "glClipControl") && all;
    return all;
}

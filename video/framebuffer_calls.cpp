// FramebufferCalls: each entry point looked up by its core name, unless a test withholds it; the bounded error
// drain.
#include "video/framebuffer_calls.h"

#include <stdlib.h>
#include <string.h>

namespace {

bool Withheld(const char* name)
{
    const char* list = getenv("KELVRA_CAPTURE_WITHOUT");
    const size_t length = strlen(name);
    for (const char* at = list; at != nullptr && (at = strstr(at, name)) != nullptr; at += length) {
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) {
            return true;
        }
    }
    return false;
}

template <typename Call>
void Find(Call& call, const char* name, const char*& missing)
{
    // NOTE: some drivers return small integers (1, 2, 3, -1) instead of null for a missing entry point.
    const INT_PTR found = Withheld(name) ? 0 : reinterpret_cast<INT_PTR>(wglGetProcAddress(name));
    call = found >= -1 && found <= 3 ? nullptr : reinterpret_cast<Call>(found);
    if (call == nullptr && missing == nullptr) {
        missing = name;
    }
}

}  // namespace

void ClearGlErrors()
{
    for (int kind = 0; kind < 8 && glGetError() != GL_NO_ERROR; ++kind) {
    }
}

bool FramebufferCalls::Load()
{
    missing = nullptr;
    Find(GenFramebuffers, "glGenFramebuffers", missing);
    Find(DeleteFramebuffers, "glDeleteFramebuffers", missing);
    Find(BindFramebuffer, "glBindFramebuffer", missing);
    Find(CheckFramebufferStatus, "glCheckFramebufferStatus", missing);
    Find(FramebufferRenderbuffer, "glFramebufferRenderbuffer", missing);
    Find(GenRenderbuffers, "glGenRenderbuffers", missing);
    Find(DeleteRenderbuffers, "glDeleteRenderbuffers", missing);
    Find(BindRenderbuffer, "glBindRenderbuffer", missing);
    Find(RenderbufferStorageMultisample, "glRenderbufferStorageMultisample", missing);
    Find(BlitFramebuffer, "glBlitFramebuffer", missing);
    Find(GenBuffers, "glGenBuffers", missing);
    Find(DeleteBuffers, "glDeleteBuffers", missing);
    Find(BindBuffer, "glBindBuffer", missing);
    Find(BufferData, "glBufferData", missing);
    Find(MapBuffer, "glMapBuffer", missing);
    Find(UnmapBuffer, "glUnmapBuffer", missing);
    Find(ClipControl, "glClipControl", missing);
    return missing == nullptr;
}

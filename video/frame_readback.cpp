// FrameReadback: glReadPixels into a bound pixel pack buffer may return before the copy is done; mapping the
// buffer a frame later finds it done. Frame n lives in slot n % SLOTS.
#include "video/frame_readback.h"

#include <new>

namespace {
// The read-back layout: 32-bit BGRX, the window's own, which the writer turns into YUV.
const GLenum FRAME_FORMAT = GL_BGRA_EXT;
}  // namespace

FrameReadback::FrameReadback()
    : gl(nullptr), width(0), height(0), bytes(0), buffers{}, memory{}, read(0), taken(0), mapped(false)
{
}

bool FrameReadback::Start(const FramebufferCalls* calls, int frameWidth, int frameHeight)
{
    gl = calls;
    width = frameWidth;
    height = frameHeight;
    bytes = static_cast<size_t>(width) * height * 4;
    read = taken = 0;
    if (gl == nullptr) {
        for (std::unique_ptr<unsigned char[]>& slot : memory) {
            slot.reset(new (std::nothrow) unsigned char[bytes]);
            if (slot == nullptr) {
                return false;
            }
        }
        return true;
    }
    ClearGlErrors();
    gl->GenBuffers(SLOTS, buffers);
    for (GLuint buffer : buffers) {
        gl->BindBuffer(fb::PIXEL_PACK_BUFFER, buffer);
        gl->BufferData(fb::PIXEL_PACK_BUFFER, static_cast<ptrdiff_t>(bytes), nullptr, fb::STREAM_READ);
    }
    gl->BindBuffer(fb::PIXEL_PACK_BUFFER, 0);
    return glGetError() == GL_NO_ERROR;
}

void FrameReadback::Stop()
{
    if (gl != nullptr) {
        GiveBack();
        gl->DeleteBuffers(SLOTS, buffers);
    }
    read = taken = 0;
}

void FrameReadback::Read()
{
    const int slot = read % SLOTS;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    if (gl == nullptr) {
        glReadPixels(0, 0, width, height, FRAME_FORMAT, GL_UNSIGNED_BYTE, memory[slot].get());
    } else {
        gl->BindBuffer(fb::PIXEL_PACK_BUFFER, buffers[slot]);
        glReadPixels(0, 0, width, height, FRAME_FORMAT, GL_UNSIGNED_BYTE, nullptr);
        gl->BindBuffer(fb::PIXEL_PACK_BUFFER, 0);
    }
    ++read;
}

const unsigned char* FrameReadback::Take()
{
    GiveBack();
    if (taken == read) {
        return nullptr;
    }
    const int slot = taken % SLOTS;
    ++taken;
    if (gl == nullptr) {
        return memory[slot].get();
    }
    gl->BindBuffer(fb::PIXEL_PACK_BUFFER, buffers[slot]);
    const void* frame = gl->MapBuffer(fb::PIXEL_PACK_BUFFER, fb::READ_ONLY);
    gl->BindBuffer(fb::PIXEL_PACK_BUFFER, 0);
    mapped = frame != nullptr;
    return static_cast<const unsigned char*>(frame);
}

void FrameReadback::GiveBack()
{
    if (!mapped) {
        return;
    }
    gl->BindBuffer(fb::PIXEL_PACK_BUFFER, buffers[(taken - 1) % SLOTS]);
    gl->UnmapBuffer(fb::PIXEL_PACK_BUFFER);
    gl->BindBuffer(fb::PIXEL_PACK_BUFFER, 0);
    mapped = false;
}

// The stb_vorbis decoder's implementation, compiled once here (other files include it header-only), and the
// one look at its state that the layer needs.
// It is third-party code: its own warnings are not ours to fix, so they are silenced for this file alone.
#if defined(__clang__)
#pragma GCC diagnostic ignored "-Wunknown-warning-option"
#elif defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wpragmas"
#endif
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-value"
#pragma GCC diagnostic ignored "-Wunused-variable"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wshadow"
#endif
#include "stb_vorbis.h"

// Whether the frame just decoded was cut short by its page's granule position to end before its overlap
// with the next frame starts: stb_vorbis then keeps a negative overlap length, which it shifts (undefined
// behaviour) if it is asked for another frame.
int VorbisFrameCutShort(const stb_vorbis* vorbis)
{
    return vorbis->previous_length < 0;
}

// The stb_vorbis decoder's implementation, compiled once here; other files include it header-only.
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

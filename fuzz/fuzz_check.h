// What the fuzz targets share: the bound on the work one input may cause, and a check that fails as a crash.
#pragma once

#include <stddef.h>
#include <stdlib.h>

// Source frames decoded per input at most: four long blocks or more covers the decoder's packet paths,
// and a full setup header plus this much decoding is what each input costs.
constexpr size_t MAX_DECODED_FRAMES = 4096;

inline void Require(bool holds)
{
    if (!holds) {
        abort();
    }
}

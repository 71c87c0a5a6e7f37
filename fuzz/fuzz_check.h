// What the fuzz targets share: the bound on the work one input may cause, and a check that fails as a crash.
#pragma once

#include <cstddef>
#include <cstdlib>

// Source frames decoded per input at most: a few packets' worth covers the decoder, and keeps each
// target at thousands of inputs a second.
constexpr size_t MAX_DECODED_FRAMES = 16384;

inline void Require(bool holds)
{
    if (!holds)
        std::abort();
}

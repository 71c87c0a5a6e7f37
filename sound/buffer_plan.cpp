// PlanStreamBuffers: 2 to 8 blocks of about 25 ms or more each.
#include "sound/buffer_plan.h"

#include <stdint.h>

#include <algorithm>

BufferPlan PlanStreamBuffers(int milliseconds, int rate)
{
    const int64_t ms = std::max(milliseconds, 1);
    const int64_t totalFrames = std::max<int64_t>(ms * std::max(rate, 1) / 1000, 2);
    const int64_t count = std::clamp<int64_t>(ms / 25, 2, 8);
    const int64_t frames = std::max<int64_t>(totalFrames / count, 1);
    return BufferPlan{static_cast<unsigned>(count), static_cast<unsigned>(frames)};
}

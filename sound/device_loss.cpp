// LossPoint, ResumeFrame, StallWaitMs: frames from milliseconds at the output rate, rounded down.
#include "sound/device_loss.h"

#include <algorithm>

namespace {

uint64_t FramesIn(uint64_t fromMs, uint64_t toMs, int rate)
{
    return toMs > fromMs ? (toMs - fromMs) * static_cast<uint64_t>(std::max(rate, 0)) / 1000 : 0;
}

}  // namespace

DeviceLoss LossPoint(uint64_t startFrame, uint64_t startMs, uint64_t lossMs, int rate, uint64_t handedOut)
{
    return DeviceLoss{std::min(startFrame + FramesIn(startMs, lossMs, rate), handedOut), lossMs};
}

uint64_t ResumeFrame(DeviceLoss loss, uint64_t nowMs, int rate, uint64_t handedOut)
{
    return std::max(loss.frame + FramesIn(loss.ms, nowMs, rate), handedOut);
}

uint32_t StallWaitMs(uint64_t lastReturnMs, uint64_t nowMs, unsigned blockFrames, int rate)
{
    const uint64_t limit = (2 * static_cast<uint64_t>(blockFrames) * 1000 + std::max(rate, 1) - 1) /
                           static_cast<uint64_t>(std::max(rate, 1));
    const uint64_t waited = nowMs > lastReturnMs ? nowMs - lastReturnMs : 0;
    return waited >= limit ? 0 : static_cast<uint32_t>(limit - waited);
}

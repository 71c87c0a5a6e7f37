// PlanStreamBuffers: how a stream buffer length in milliseconds is cut into device blocks.
#pragma once

struct BufferPlan {
    unsigned blockCount;
    unsigned blockFrames;
};

// Several blocks, so one can be refilled while the others play; together they never hold more than
// the requested milliseconds (at least one frame a block), which bounds how far decoding runs ahead.
BufferPlan PlanStreamBuffers(int milliseconds, int rate);

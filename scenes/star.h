// Star: one square of the crawl's star field, with the same motion fields as a text line.
#pragma once

#include "text/vec3.h"

struct Star {
    Vec3 basePos;
    Vec3 velocity;
    Vec3 pos;
    Vec3 color;
    float startTime;
};

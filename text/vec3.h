// Vec3: three floats, used for positions, velocities and colours of the text lines and stars.
#pragma once

struct Vec3 {
    float x;
    float y;
    float z;
};

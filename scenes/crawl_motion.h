// The crawl's arithmetic, free of GL and windows: where a line stands at a clock reading, how opaque it is at
// its depth, how stars are placed and fly, and when the crawl has ended.
#pragma once

#include "scenes/star.h"
#include "text/vec3.h"

constexpr float STAR_RANDOM_UNIT = 1.0f / 32767.0f;  // n x unit lies in [0, 1] for n from 0 to 32767
constexpr float STAR_RESPAWN_Z = 3.0f;
constexpr float STAR_RESTART_Z = -10.0f;
constexpr float CRAWL_MIN_RUNNING_TIME = 30.0f;

// A source of pseudo-random integers from 0 to 32767 (the C library's rand in the program).
using RandomSource = int (*)();

// basePos + (t - startTime) x velocity, except that x stays at basePos.x (the centring offset).
Vec3 LinePositionAt(const Vec3& basePos, const Vec3& velocity, float startTime, float t);

// 2.75 - ln |z|, limited to [0, 1]; a line in the plane z = 0 is fully opaque.
float LineAlpha(float z);

// Whether a line at depth z with this alpha can change a pixel. A faded one blends to nothing, and one in
// front of the plane z = 0 has not set off yet: it waits below the bottom of the view. Neither is drawn, so
// the frame's geometry follows the lines a viewer can see.
bool LineCanShow(float alpha, float z);

// First placement: x and y uniform in [-5, 5], z uniform in [-10, 1], flying at speed towards +z.
void PlaceStar(Star& star, float speed, RandomSource random);

// Moves a star to clock t. A star that has reached the eye (z >= 3) starts a new flight far away and keeps
// this frame's position; returns true then.
bool StepStar(Star& star, float t, RandomSource random);

// The crawl has ended once the last line has faded out and the star clock is past the minimum running time.
bool CrawlFinished(float lastLineAlpha, float starClock);

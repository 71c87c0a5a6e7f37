// The crawl's arithmetic: every position comes afresh from a start time and the clock, never from summed steps.
#include "scenes/crawl_motion.h"

#include <math.h>

namespace {

float RandomBetween(RandomSource random, float scale, float offset)
{
    return static_cast<float>(random()) * STAR_RANDOM_UNIT * scale + offset;
}

}  // namespace

Vec3 LinePositionAt(const Vec3& basePos, const Vec3& velocity, float startTime, float t)
{
    const float since = t - startTime;
    return Vec3{basePos.x, since * velocity.y + basePos.y, since * velocity.z + basePos.z};
}

float LineAlpha(float z)
{
    const float a = 2.75f - logf(fabsf(z));
    if (a > 1.0f) {
        return 1.0f;
    }
    if (a < 0.0f) {
        return 0.0f;
    }
    return a;
}

bool LineCanShow(float alpha, float z)
{
    return alpha > 0.0f && z <= 0.0f;
}

void PlaceStar(Star& star, float speed, RandomSource random)
{
    star.basePos.x = RandomBetween(random, 10.0f, -5.0f);
    star.basePos.y = RandomBetween(random, 10.0f, -5.0f);
    star.basePos.z = RandomBetween(random, 11.0f, -10.0f);
    star.velocity = Vec3{0.0f, 0.0f, speed};
    star.color = Vec3{1.0f, 1.0f, 1.0f};
    star.startTime = 0.0f;
    star.pos = star.basePos;
}

bool StepStar(Star& star, float t, RandomSource random)
{
    star.pos.z = (t - star.startTime) * star.velocity.z + star.basePos.z;
    if (star.pos.z < STAR_RESPAWN_Z) {
        star.pos.x = star.basePos.x;
        star.pos.y = star.basePos.y;
        return false;
    }
    star.basePos.x = RandomBetween(random, 10.0f, -5.0f);
    star.basePos.y = RandomBetween(random, 10.0f, -5.0f);
    star.basePos.z = STAR_RESTART_Z;
    star.startTime = t;
    return true;
}

bool CrawlFinished(float lastLineAlpha, float starClock)
{
    return lastLineAlpha <= 0.0f && starClock > CRAWL_MIN_RUNNING_TIME;
}

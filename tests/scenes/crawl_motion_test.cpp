// The crawl's arithmetic, without a window: line motion, the fade, star flights and respawns, the end test.
#include <gtest/gtest.h>
#include <math.h>

#include "scenes/crawl_motion.h"

namespace {

int LowestRandom()
{
    return 0;
}

int HighestRandom()
{
    return 32767;
}

int sequence[8];
int sequenceAt = 0;
int NextInSequence()
{
    return sequence[sequenceAt++ % 8];
}

const Vec3 LINE_BASE = {-3.25f, -5.0f, 0.0f};
const Vec3 LINE_VELOCITY = {0.0f, 0.5f, -0.5f};

TEST(CrawlMotion, LineStandsAtItsBaseAtItsStartTimeAndMovesInClosedForm)
{
    const Vec3 atStart = LinePositionAt(LINE_BASE, LINE_VELOCITY, 10.0f, 10.0f);
    EXPECT_EQ(atStart.x, -3.25f);
    EXPECT_EQ(atStart.y, -5.0f);
    EXPECT_EQ(atStart.z, 0.0f);

    const Vec3 later = LinePositionAt(LINE_BASE, LINE_VELOCITY, 10.0f, 14.0f);
    EXPECT_EQ(later.x, -3.25f);
    EXPECT_FLOAT_EQ(later.y, -3.0f);
    EXPECT_FLOAT_EQ(later.z, -2.0f);

    const Vec3 before = LinePositionAt(LINE_BASE, LINE_VELOCITY, 10.0f, 8.0f);
    EXPECT_FLOAT_EQ(before.y, -6.0f);
    EXPECT_FLOAT_EQ(before.z, 1.0f);
}

TEST(CrawlMotion, FadeKeepsNearLinesOpaqueAndHidesFarOnes)
{
    EXPECT_EQ(LineAlpha(0.0f), 1.0f);  // ln 0 is minus infinity: fully opaque, not undefined
    EXPECT_EQ(LineAlpha(-0.5f * 11.50f), 1.0f);
    EXPECT_LT(LineAlpha(-0.5f * 11.52f), 1.0f);
    EXPECT_GT(LineAlpha(-0.5f * 11.52f), 0.99f);
    EXPECT_GT(LineAlpha(-0.5f * 31.28f), 0.0f);
    EXPECT_EQ(LineAlpha(-0.5f * 31.30f), 0.0f);
    EXPECT_EQ(LineAlpha(0.5f * 31.30f), 0.0f);  // before its start a line is as faded as after
    EXPECT_NEAR(LineAlpha(-10.0f), 2.75f - logf(10.0f), 1e-6f);
}

TEST(CrawlMotion, EndNeedsTheLastLineFadedAndMoreThanThirtySeconds)
{
    EXPECT_FALSE(CrawlFinished(0.0f, 0.0f));  // first frame: the last line is far off, but too early
    EXPECT_FALSE(CrawlFinished(0.0f, 30.0f));
    EXPECT_TRUE(CrawlFinished(0.0f, 30.0001f));
    EXPECT_FALSE(CrawlFinished(0.001f, 79.0f));
    EXPECT_TRUE(CrawlFinished(0.0f, 79.3f));
}

TEST(CrawlMotion, PlacementSpansTheFieldAndFliesAtTheStarSpeed)
{
    Star low;
    PlaceStar(low, 8.0f, LowestRandom);
    EXPECT_EQ(low.basePos.x, -5.0f);
    EXPECT_EQ(low.basePos.y, -5.0f);
    EXPECT_EQ(low.basePos.z, -10.0f);
    EXPECT_EQ(low.velocity.z, 8.0f);
    EXPECT_EQ(low.color.x, 1.0f);
    EXPECT_EQ(low.startTime, 0.0f);

    Star high;
    PlaceStar(high, 8.0f, HighestRandom);
    EXPECT_FLOAT_EQ(high.basePos.x, 5.0f);
    EXPECT_FLOAT_EQ(high.basePos.y, 5.0f);
    EXPECT_FLOAT_EQ(high.basePos.z, 1.0f);
    EXPECT_EQ(high.pos.z, high.basePos.z);
}

TEST(CrawlMotion, StarRespawnsAtExactlyThreeKeepingThisFramesPosition)
{
    Star star;
    PlaceStar(star, 8.0f, LowestRandom);  // from (-5, -5, -10)
    EXPECT_FALSE(StepStar(star, 1.0f, HighestRandom));
    EXPECT_EQ(star.pos.x, -5.0f);
    EXPECT_FLOAT_EQ(star.pos.z, -2.0f);

    star.basePos.z = 2.9999f - 8.0f;  // one second later it stands just short of the eye
    EXPECT_FALSE(StepStar(star, 1.0f, HighestRandom));
    EXPECT_LT(star.pos.z, 3.0f);

    star.basePos.z = -10.0f;
    EXPECT_TRUE(StepStar(star, 1.625f, HighestRandom));  // 13 units at 8 per second: exactly z = 3
    EXPECT_EQ(star.pos.z, 3.0f);
    EXPECT_EQ(star.pos.x, -5.0f);  // last frame's x and y: the square is behind the eye this frame
    EXPECT_EQ(star.pos.y, -5.0f);
    EXPECT_FLOAT_EQ(star.basePos.x, 5.0f);
    EXPECT_FLOAT_EQ(star.basePos.y, 5.0f);
    EXPECT_EQ(star.basePos.z, -10.0f);
    EXPECT_EQ(star.startTime, 1.625f);

    EXPECT_FALSE(StepStar(star, 1.7f, LowestRandom));
    EXPECT_FLOAT_EQ(star.pos.x, 5.0f);
    EXPECT_NEAR(star.pos.z, -10.0f + 8.0f * 0.075f, 1e-4f);
}

TEST(CrawlMotion, RespawnDrawsTwoFreshNumbersForXAndY)
{
    sequence[0] = 0;
    sequence[1] = 32767;
    sequenceAt = 0;
    Star star;
    star.basePos = {1.0f, 1.0f, 3.0f};
    star.velocity = {0.0f, 0.0f, 8.0f};
    star.pos = star.basePos;
    star.startTime = 0.0f;
    EXPECT_TRUE(StepStar(star, 0.0f, NextInSequence));
    EXPECT_EQ(sequenceAt, 2);
    EXPECT_EQ(star.basePos.x, -5.0f);
    EXPECT_FLOAT_EQ(star.basePos.y, 5.0f);
}

}  // namespace

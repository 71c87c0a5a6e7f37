// The scenes' logic without a window: the menu's timeline at its row boundaries and the scene that applies it
// to its nine entries; the crawl's fade, star flights and end test, and the scene that drives its lines and
// stars by two clocks.
#include <gtest/gtest.h>
#include <math.h>
#include <string>
#include <vector>

#include "scenes/scene_clock.h"
#include "scenes/crawl_motion.h"
#include "scenes/crawl_scene.h"
#include "scenes/menu_scene.h"
#include "scenes/menu_timeline.h"

namespace {

bool Is(const TextItem* item, const Vec3& c)
{
    return item->color.x == c.x && item->color.y == c.y && item->color.z == c.z;
}

// The nine entries' colours as a viewer sees them (Normal, Highlight, Active), frame by frame at both ends of
// every stretch of the timeline: a row, a bound or a write out of place shows as a wrong letter.
std::string Colours(const MenuScene& menu)
{
    std::string seen;
    for (const TextItem* item : menu.items) {
        seen += Is(item, NORMAL_COLOR) ? 'N' : Is(item, HIGHLIGHT_COLOR) ? 'H' : Is(item, ACTIVE_COLOR) ? 'A' : '?';
    }
    return seen;
}

TEST(MenuScene, TheCursorWalksTheTimelineByTheClockSinceStartThenPlayDemoFlashes)
{
    SceneClock clock;
    clock.SetSeconds(100.0);
    MenuScene menu;
    menu.Start();
    const struct {
        float t;
        const char* seen;
    } frames[] = {{0.0f, "HNNNNANNA"},     {3.0f, "HNNNNANNA"},     {3.0001f, "NHNNNANNA"},  {4.5f, "NHNNNANNA"},
                  {4.5001f, "NNHNNANNA"},  {6.0f, "NNHNNANNA"},     {6.0001f, "NNNHNANNA"},  {7.5f, "NNNHNANNA"},
                  {7.5001f, "NNNHANNNA"},  {9.0f, "NNNHANNNA"},     {9.0001f, "NNHNANNNA"},  {10.5f, "NNHNANNNA"},
                  {10.5001f, "NHNNANNNA"}, {12.0f, "NHNNANNNA"},    {12.0001f, "HNNNANNNA"}, {13.5f, "HNNNANNNA"},
                  {13.5001f, "ANNNANNNA"}, {13.99f, "ANNNANNNA"},   {14.0f, "HNNNANNNA"},    {14.99f, "HNNNANNNA"},
                  {15.0f, "ANNNANNNA"},    {15.99f, "ANNNANNNA"},   {16.0f, "HNNNANNNA"},    {16.99f, "HNNNANNNA"},
                  {17.0f, "ANNNANNNA"},    {17.0001f, "ANNNANNNA"}, {500.0f, "ANNNANNNA"}};
    for (const auto& f : frames) {
        clock.SetSeconds(100.0 + f.t);
        menu.Update();
        EXPECT_EQ(Colours(menu), f.seen) << "t = " << f.t;
        EXPECT_EQ(menu.finished, f.t > 17.0f) << "t = " << f.t;
    }
}

int draws = 0;
int HighThenLow()  // two fresh numbers tell x from y
{
    return draws++ % 2 == 0 ? 32767 : 0;
}
const RandomSource LOWEST = [] { return 0; };
const RandomSource HIGHEST = [] { return 32767; };

TEST(CrawlMotion, LinesFadeWithDistanceAndTheEndWaitsForTheLastOne)
{
    // Opaque up to |z| = e^1.75, gone from e^2.75; ln 0 is minus infinity: fully opaque, not undefined.
    const struct {
        float z, low, high;
    } fades[] = {{0.0f, 1.0f, 1.0f},         {-5.75f, 1.0f, 1.0f},  {-5.76f, 0.99f, 0.99999f},
                 {-15.64f, 0.00001f, 0.01f}, {-15.65f, 0.0f, 0.0f}, {15.65f, 0.0f, 0.0f}};
    for (const auto& f : fades) {
        EXPECT_GE(LineAlpha(f.z), f.low) << "z = " << f.z;
        EXPECT_LE(LineAlpha(f.z), f.high) << "z = " << f.z;
    }
    // Only a faded line, or one still waiting in front of z = 0 below the view, goes undrawn.
    EXPECT_TRUE(LineCanShow(1.0f, 0.0f));
    EXPECT_TRUE(LineCanShow(0.001f, -15.6f));
    EXPECT_FALSE(LineCanShow(0.0f, -15.65f));
    EXPECT_FALSE(LineCanShow(1.0f, 0.001f));
    // The end needs the last line faded and more than thirty seconds on the star clock.
    EXPECT_FALSE(CrawlFinished(0.0f, 30.0f));
    EXPECT_TRUE(CrawlFinished(0.0f, 30.0001f));
    EXPECT_FALSE(CrawlFinished(0.001f, 79.0f));
}

TEST(CrawlMotion, StarsSpanTheFieldAndRespawnAtExactlyThreeKeepingThisFramesPosition)
{
    Star high;
    PlaceStar(high, 8.0f, HIGHEST);
    EXPECT_FLOAT_EQ(high.basePos.x, 5.0f);
    EXPECT_FLOAT_EQ(high.basePos.y, 5.0f);
    EXPECT_FLOAT_EQ(high.basePos.z, 1.0f);

    Star star;
    PlaceStar(star, 8.0f, LOWEST);
    EXPECT_EQ(star.basePos.x, -5.0f);
    EXPECT_EQ(star.basePos.z, -10.0f);
    star.basePos.z = 2.9999f - 8.0f;  // one second later it stands just short of the eye
    EXPECT_FALSE(StepStar(star, 1.0f, LOWEST));
    EXPECT_LT(star.pos.z, 3.0f);

    star.basePos.z = -10.0f;
    draws = 0;
    EXPECT_TRUE(StepStar(star, 1.625f, HighThenLow));  // 13 units at 8 per second: exactly z = 3
    EXPECT_EQ(draws, 2);                               // two fresh numbers, for x and for y
    EXPECT_EQ(star.pos.z, 3.0f);
    EXPECT_EQ(star.pos.x, -5.0f);  // last frame's x and y: the square is behind the eye this frame
    EXPECT_EQ(star.pos.y, -5.0f);
    EXPECT_FLOAT_EQ(star.basePos.x, 5.0f);
    EXPECT_EQ(star.basePos.y, -5.0f);
    EXPECT_EQ(star.basePos.z, -10.0f);
    EXPECT_EQ(star.startTime, 1.625f);
    EXPECT_FALSE(StepStar(star, 1.7f, LOWEST));
    EXPECT_FLOAT_EQ(star.pos.x, 5.0f);
    EXPECT_NEAR(star.pos.z, -10.0f + 8.0f * 0.075f, 1e-4f);
}

TEST(CrawlScene, LinesSetOffInTurnAndUpdateMovesLinesAndStarsByTheClock)
{
    SceneClock clock;
    clock.SetSeconds(3.0);
    CrawlScene crawl(8.0f, 100);
    crawl.Start();
    // The lines set off in turn, each once the one before has risen more than an em along the plane they lean
    // in, so that no two touch on screen. (The last one's start sets the crawl's end, and so its length.)
    for (int i = 1; i < CRAWL_ITEM_COUNT; ++i) {
        crawl.UpdateAt(crawl.items[i]->startTime, 0.0f);
        const Vec3 &ahead = crawl.items[i - 1]->pos, &setOff = crawl.items[i]->pos;
        EXPECT_TRUE(ahead.y > setOff.y && hypotf(ahead.y - setOff.y, ahead.z - setOff.z) > 1.0f) << i;
    }
    const std::vector<Star> placed(crawl.stars, crawl.stars + crawl.starCount);
    clock.SetSeconds(3.2);
    crawl.Update();
    for (int i = 0; i < crawl.starCount; ++i) {  // placed at the scene's star speed, flying by the star clock
        ASSERT_NEAR(crawl.stars[i].pos.z, placed[i].basePos.z + 1.6f, 1e-4f);
    }
    clock.SetSeconds(13.0);
    crawl.Update();
    const TextItem& first = *crawl.items[0];  // set off with the crawl: 10 s on the item clock, straight back
    EXPECT_TRUE(first.pos.x == first.basePos.x && first.pos.z == -5.0f) << first.pos.x << ", " << first.pos.z;
    EXPECT_EQ(crawl.elapsed, 10.0f);
}

}  // namespace

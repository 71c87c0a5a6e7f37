// The scenes' logic without a window: the menu's timeline at its row boundaries and the scene that applies it
// to its nine entries; the crawl's fade, star flights and end test, and the scene that drives its lines and
// stars by two clocks.
#include <gtest/gtest.h>
#include <string.h>
#include <vector>

#include "scenes/scene_clock.h"
#include "scenes/crawl_motion.h"
#include "scenes/crawl_scene.h"
#include "scenes/menu_scene.h"
#include "scenes/menu_timeline.h"

namespace {

using C = MenuColor;

bool Writes(const MenuStep& step, int slot, MenuColor color)
{
    for (int i = 0; i < step.writeCount; ++i) {
        if (step.writes[i].slot == slot && step.writes[i].color == color) {
            return true;
        }
    }
    return false;
}

bool Is(const TextItem* item, const Vec3& c)
{
    return item->color.x == c.x && item->color.y == c.y && item->color.z == c.z;
}

TEST(MenuTimeline, RowsSwitchAtTheirUpperBoundsAndPlayDemoFlashesUntilTheEnd)
{
    // Each row includes its upper bound; the cursor walks down, over, switches the option and walks back.
    const struct {
        float t;
        int slot;
        MenuColor color;
    } writes[] = {{3.0001f, 0, C::Normal},    {3.0001f, 1, C::Highlight}, {4.5f, 1, C::Highlight},
                  {4.5001f, 2, C::Highlight}, {6.0f, 2, C::Highlight},    {7.5f, 3, C::Highlight},
                  {8.0f, 4, C::Active},       {8.0f, 5, C::Normal},       {10.0f, 3, C::Normal},
                  {10.0f, 2, C::Highlight},   {11.0f, 1, C::Highlight},   {13.0f, 0, C::Highlight},
                  {13.5f, 1, C::Normal},      {13.9f, 0, C::Active},      {14.0f, 0, C::Highlight},
                  {15.0f, 0, C::Active},      {16.99f, 0, C::Highlight},  {17.0f, 0, C::Active}};
    for (const auto& w : writes) {
        EXPECT_TRUE(Writes(MenuTimelineAt(w.t), w.slot, w.color)) << "t = " << w.t << ", slot " << w.slot;
    }
    for (float t : {0.0f, 3.0f, 17.0f, 17.0001f, 500.0f}) {  // nothing up to 3 s, one write at the end, then done
        EXPECT_EQ(MenuTimelineAt(t).writeCount, t == 17.0f ? 1 : 0) << "t = " << t;
        EXPECT_EQ(MenuTimelineAt(t).finished, t > 17.0f) << "t = " << t;
    }
}

TEST(MenuScene, StartCreatesNineUprightStillEntriesAndLeavesSkippedRowsAndEmptySlotsAlone)
{
    SceneClock clock;
    MenuScene menu;
    menu.Start();
    for (TextItem* item : menu.items) {
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->tilt == 0.0f && item->velocity.y == 0.0f && item->velocity.z == 0.0f) << item->text;
    }
    delete menu.items[0];
    menu.items[0] = nullptr;
    menu.UpdateAt(4.0f);  // writes the empty slot 0 too
    menu.UpdateAt(6.2f);
    EXPECT_TRUE(Is(menu.items[1], HIGHLIGHT_COLOR));  // its "back to normal" was skipped
    EXPECT_TRUE(Is(menu.items[3], HIGHLIGHT_COLOR));
    menu.UpdateAt(30.0f);  // past the end: finished, and nothing more is written
    EXPECT_TRUE(menu.finished);
    EXPECT_TRUE(Is(menu.items[4], NORMAL_COLOR));
    EXPECT_TRUE(Is(menu.items[5], ACTIVE_COLOR));
    menu.Start();  // refills only the empty slot
    ASSERT_NE(menu.items[0], nullptr);
    EXPECT_STREQ(menu.items[0]->text, "Play Demo");
    EXPECT_TRUE(Is(menu.items[0], HIGHLIGHT_COLOR));
    EXPECT_TRUE(Is(menu.items[1], HIGHLIGHT_COLOR));
}

TEST(MenuScene, UpdateReadsTheClockSinceTheLatestStartAndARestartKeepsTheColours)
{
    SceneClock clock;
    clock.SetSeconds(100.0);
    MenuScene menu;
    menu.Start();
    TextItem* first = menu.items[0];
    menu.UpdateAt(10.0f);  // "Extras" highlighted
    clock.SetSeconds(150.0);
    menu.Start();
    EXPECT_EQ(menu.items[0], first);
    EXPECT_TRUE(Is(menu.items[2], HIGHLIGHT_COLOR));
    clock.SetSeconds(153.5);
    menu.Update();
    EXPECT_TRUE(Is(menu.items[1], HIGHLIGHT_COLOR));
    clock.SetSeconds(167.0);
    menu.Update();
    EXPECT_FALSE(menu.finished);
    clock.SetSeconds(167.001);
    menu.Update();
    EXPECT_TRUE(menu.finished);
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
    EXPECT_EQ(high.pos.z, high.basePos.z);

    Star star;
    PlaceStar(star, 8.0f, LOWEST);
    EXPECT_EQ(star.basePos.x, -5.0f);
    EXPECT_EQ(star.basePos.z, -10.0f);
    EXPECT_FALSE(StepStar(star, 1.0f, LOWEST));
    EXPECT_EQ(star.pos.x, -5.0f);
    EXPECT_FLOAT_EQ(star.pos.z, -2.0f);
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

TEST(CrawlScene, StartCreatesTheLinesOnTheirTimetableAndTheStarsFlyByTheirOwnClock)
{
    SceneClock clock;
    clock.SetSeconds(3.0);
    CrawlScene crawl(8.0f, 100);
    crawl.Start();
    for (TextItem* item : crawl.items) {
        ASSERT_NE(item, nullptr);
    }
    TextItem* first = crawl.items[0];
    const std::vector<Star> placed(crawl.stars, crawl.stars + crawl.starCount);
    clock.SetSeconds(3.2);
    crawl.Update();
    for (int i = 0; i < crawl.starCount; ++i) {  // placed at the scene's star speed, flying by the star clock
        ASSERT_NEAR(crawl.stars[i].pos.z, placed[i].basePos.z + 1.6f, 1e-4f);
    }

    const std::vector<Star> flown(crawl.stars, crawl.stars + crawl.starCount);
    clock.SetSeconds(13.0);
    crawl.Start();  // a reseed here would place the stars anew: the tick count has moved on
    EXPECT_EQ(crawl.items[0], first);
    EXPECT_EQ(memcmp(flown.data(), crawl.stars, flown.size() * sizeof(Star)), 0);
    clock.SetSeconds(23.0);
    crawl.Update();
    const TextItem& line = *crawl.items[4];  // starts at 10 s on the item clock, which counts from the restart
    EXPECT_EQ(line.pos.x, line.basePos.x);
    EXPECT_EQ(line.pos.y, -5.0f);
    EXPECT_EQ(line.pos.z, 0.0f);
    EXPECT_FLOAT_EQ(crawl.items[0]->pos.z, -5.0f);
    EXPECT_EQ(crawl.elapsed, 20.0f);             // the star clock counts from the first start
    for (int i = 0; i < crawl.starCount; ++i) {  // every star has ended its first flight (1.625 s at most)
        ASSERT_EQ(crawl.stars[i].basePos.z, -10.0f);
        ASSERT_GT(crawl.stars[i].startTime, 0.0f);
    }

    CrawlScene starless(8.0f, 0);
    starless.Start();
    clock.SetSeconds(43.0);
    starless.Update();
    EXPECT_EQ(starless.stars, nullptr);
    EXPECT_FLOAT_EQ(starless.items[0]->pos.y, 5.0f);
}

}  // namespace

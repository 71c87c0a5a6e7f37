// The scenes' logic without a window: the menu's timeline at its row boundaries and the scene that applies it
// to its nine entries; the crawl's fade, star flights and end test, and the scene that drives its lines and
// stars by two clocks.
#include <gtest/gtest.h>
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

TEST(MenuScene, EntriesStandWhereTheyShouldAndTheCursorWalksTheTimelineThenPlayDemoFlashes)
{
    MenuScene menu;
    menu.Start();
    const struct {
        const char* text;
        float x, y;
    } entries[] = {{"Play Demo", -9.0f, 4.0f}, {"Chapter Selection", -9.0f, 2.0f},
                   {"Extras", -9.0f, 0.0f},    {"Audio commentary", 1.0f, 4.0f},
                   {"ON", 1.0f, 2.5f},         {"OFF", 3.0f, 2.5f},
                   {"Subtitles", 1.0f, 0.0f},  {"ON", 1.0f, -1.5f},
                   {"OFF", 3.0f, -1.5f}};
    for (int i = 0; i < MENU_ITEM_COUNT; ++i) {
        const TextItem& item = *menu.items[i];
        EXPECT_STREQ(item.text, entries[i].text);
        EXPECT_TRUE(item.pos.x == entries[i].x && item.pos.y == entries[i].y && item.pos.z == -11.0f) << item.text;
        EXPECT_TRUE(item.tilt == 0.0f && item.velocity.y == 0.0f && item.velocity.z == 0.0f) << item.text;
    }
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
        menu.UpdateAt(f.t);
        EXPECT_EQ(Colours(menu), f.seen) << "t = " << f.t;
        EXPECT_EQ(menu.finished, f.t > 17.0f) << "t = " << f.t;
    }
    const Vec3* colours[] = {&NORMAL_COLOR, &HIGHLIGHT_COLOR, &ACTIVE_COLOR, &CRAWL_COLOR};
    const float rgb[][3] = {{0.42f, 0.54f, 0.945f}, {0.78f, 0.64f, 0.59f}, {0.92f, 0.14f, 0.15f}, {0.96f, 0.9f, 0.2f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(colours[i]->x == rgb[i][0] && colours[i]->y == rgb[i][1] && colours[i]->z == rgb[i][2]) << i;
    }
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

TEST(CrawlScene, StartCreatesTheLinesOnTheirTimetableAndUpdateMovesLinesAndStarsByTheClock)
{
    SceneClock clock;
    clock.SetSeconds(3.0);
    CrawlScene crawl(8.0f, 100);
    crawl.Start();
    const struct {
        const char* text;
        float start;
    } lines[] = {{"A long time ago,", 0.0f},
                 {"in a galaxy far, far away.", 1.5f},
                 {"HELL NO!", 6.0f},
                 {"Right here, right now,", 8.5f},
                 {"a scener has broken his chains.", 10.0f},
                 {"Once again he conquers the planet", 12.5f},
                 {"with his wits and his evil laughter.", 14.0f},
                 {"QuillfestW'04 is his playground.", 16.5f},
                 {"His fellow sceners are the targets.", 18.0f},
                 {"With this production,", 20.5f},
                 {"he will make everyone worship him,", 22.0f},
                 {"and be remembered forever", 23.5f},
                 {"May the source be with him...", 26.5f},
                 {"......it wasn't. THE END", 48.0f}};
    for (int i = 0; i < CRAWL_ITEM_COUNT; ++i) {
        const TextItem& item = *crawl.items[i];
        EXPECT_STREQ(item.text, lines[i].text);
        EXPECT_EQ(item.startTime, lines[i].start) << item.text;
        EXPECT_TRUE(Is(&item, CRAWL_COLOR) && item.tilt == -44.999996f) << item.text;
        EXPECT_TRUE(item.basePos.y == -5.0f && item.basePos.z == 0.0f && item.velocity.y == 0.5f &&
                    item.velocity.z == -0.5f)
            << item.text;
    }
    const std::vector<Star> placed(crawl.stars, crawl.stars + crawl.starCount);
    clock.SetSeconds(3.2);
    crawl.Update();
    for (int i = 0; i < crawl.starCount; ++i) {  // placed at the scene's star speed, flying by the star clock
        ASSERT_NEAR(crawl.stars[i].pos.z, placed[i].basePos.z + 1.6f, 1e-4f);
    }
    clock.SetSeconds(13.0);
    crawl.Update();
    const TextItem& line = *crawl.items[4];  // starts at 10 s on the item clock
    EXPECT_EQ(line.pos.x, line.basePos.x);
    EXPECT_EQ(line.pos.y, -5.0f);
    EXPECT_EQ(line.pos.z, 0.0f);
    EXPECT_FLOAT_EQ(crawl.items[0]->pos.z, -5.0f);
    EXPECT_EQ(crawl.elapsed, 10.0f);
    for (int i = 0; i < crawl.starCount; ++i) {  // every star has ended its first flight (1.625 s at most)
        ASSERT_EQ(crawl.stars[i].basePos.z, -10.0f);
        ASSERT_GT(crawl.stars[i].startTime, 0.0f);
    }
}

}  // namespace

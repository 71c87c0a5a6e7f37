// The crawl scene's lines, stars and clocks as the scene drives them, read at fixed clock readings.
#include <gtest/gtest.h>
#include <string.h>
#include <vector>

#include "scenes/crawl_scene.h"
#include "framework/fixed_clock.h"

namespace {

std::vector<Star> CopyStars(const CrawlScene& crawl)
{
    return std::vector<Star>(crawl.stars, crawl.stars + crawl.starCount);
}

TEST(CrawlScene, StartCreatesTheFourteenLinesOnTheirTimetable)
{
    FixedClock clock;
    CrawlScene crawl(8.0f, 100);
    EXPECT_FALSE(crawl.started);
    crawl.Start();
    EXPECT_TRUE(crawl.started);
    for (int i = 0; i < CRAWL_ITEM_COUNT; ++i) {
        ASSERT_NE(crawl.items[i], nullptr);
        EXPECT_EQ(crawl.items[i]->text, CRAWL_LINES[i]);
        EXPECT_EQ(crawl.items[i]->startTime, CRAWL_START_TIMES[i]);
        EXPECT_EQ(crawl.items[i]->color.x, 0.96f);
        EXPECT_EQ(crawl.items[i]->color.z, 0.2f);
    }
    EXPECT_STREQ(crawl.items[13]->text, "......it wasn't. THE END");
    EXPECT_EQ(crawl.items[13]->startTime, 48.0f);
}

TEST(CrawlScene, ALineStandsAtItsBaseAtItsStartTime)
{
    FixedClock clock;
    clock.SetSeconds(3.0);
    CrawlScene crawl(8.0f, 100);
    crawl.Start();
    clock.SetSeconds(3.0 + 10.0);
    crawl.Update();
    const TextItem& line = *crawl.items[4];  // starts at 10 s
    EXPECT_EQ(line.pos.x, line.basePos.x);
    EXPECT_EQ(line.pos.y, -5.0f);
    EXPECT_EQ(line.pos.z, 0.0f);
    EXPECT_FLOAT_EQ(crawl.items[0]->pos.y, 0.0f);
    EXPECT_FLOAT_EQ(crawl.items[0]->pos.z, -5.0f);
    EXPECT_EQ(crawl.elapsed, 10.0f);  // the star clock, the same as the item clock after one start
}

TEST(CrawlScene, StarsArePlacedInTheFieldAndFlyAtTheViewer)
{
    FixedClock clock;
    CrawlScene crawl(8.0f, 100);
    crawl.Start();
    for (int i = 0; i < crawl.starCount; ++i) {
        const Star& star = crawl.stars[i];
        ASSERT_GE(star.basePos.x, -5.0f);
        ASSERT_LE(star.basePos.x, 5.0f);
        ASSERT_GE(star.basePos.y, -5.0f);
        ASSERT_LE(star.basePos.y, 5.0f);
        ASSERT_GE(star.basePos.z, -10.0f);
        ASSERT_LE(star.basePos.z, 1.0f);
        ASSERT_EQ(star.velocity.z, 8.0f);
    }
    const std::vector<Star> placed = CopyStars(crawl);
    clock.SetSeconds(0.2);
    crawl.Update();
    for (int i = 0; i < crawl.starCount; ++i) {
        ASSERT_NEAR(crawl.stars[i].pos.z, placed[i].basePos.z + 1.6f, 1e-4f);
    }
}

TEST(CrawlScene, EveryStarHasRespawnedAfterOneFullFlight)
{
    FixedClock clock;
    CrawlScene crawl(8.0f, 100);
    crawl.Start();
    clock.SetSeconds(1.7);  // the longest first flight ends at 1.625 s
    crawl.Update();
    for (int i = 0; i < crawl.starCount; ++i) {
        ASSERT_EQ(crawl.stars[i].basePos.z, -10.0f);
        ASSERT_GT(crawl.stars[i].startTime, 0.0f);
    }
}

TEST(CrawlScene, SecondStartRestartsTheLinesButNotTheStars)
{
    FixedClock clock;
    CrawlScene crawl(8.0f, 100);
    crawl.Start();
    TextItem* first = crawl.items[0];
    const std::vector<Star> placed = CopyStars(crawl);

    clock.SetSeconds(10.0);
    crawl.Start();  // a reseed here would place the stars anew: the tick count has moved on
    EXPECT_EQ(crawl.items[0], first);
    const std::vector<Star> after = CopyStars(crawl);
    EXPECT_EQ(memcmp(placed.data(), after.data(), placed.size() * sizeof(Star)), 0);

    clock.SetSeconds(10.5);
    crawl.Update();
    EXPECT_FLOAT_EQ(crawl.items[0]->pos.y, -5.0f + 0.25f);  // the item clock counts from the second start
    EXPECT_EQ(crawl.elapsed, 10.5f);                        // the star clock from the first
}

TEST(CrawlScene, NoStarsStillMovesTheLines)
{
    FixedClock clock;
    CrawlScene crawl(8.0f, 0);
    crawl.Start();
    clock.SetSeconds(20.0);
    crawl.Update();
    EXPECT_EQ(crawl.stars, nullptr);
    EXPECT_FLOAT_EQ(crawl.items[0]->pos.y, 5.0f);
}

}  // namespace

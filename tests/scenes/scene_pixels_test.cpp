// What the scenes put on screen, read back from a real frame: the menu's colours in the rows of its entries,
// the option switching across 7.5 s, and the crawl's yellow lines and white stars.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "scenes/crawl_motion.h"
#include "scenes/crawl_scene.h"
#include "scenes/menu_scene.h"
#include "framework/fixed_clock.h"
#include "support/test_demo.h"

namespace {

const int LEFT_COLUMN_END = 380;
const int RIGHT_COLUMN_START = 420;
const int OPTION_SPLIT = 515;  // between "ON" and "OFF" in the right column

class ScenePixels : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(demo.Open()); }

    // Plays the menu from 0 s in quarter seconds, as frames would (no row is skipped), up to the frame at t.
    void MenuFrameAt(double t)
    {
        for (double at = 0.0; at < t; at += 0.25) {
            clock.SetSeconds(at);
            demo.DrawFrame();
        }
        clock.SetSeconds(t);
        demo.DrawFrame();
        ASSERT_EQ(demo.frame.width, TestDemo::WIDTH);
    }

    // Finishes the menu, starts the crawl at 20 s and draws the crawl frame at crawl time t, after frames
    // every tenth of a second over the two seconds before it (the stars' flights take 1.6 s).
    void CrawlFrameAt(double t)
    {
        demo.DrawFrame();
        clock.SetSeconds(18.0);
        demo.DrawFrame();
        clock.SetSeconds(20.0);
        demo.DrawFrame();
        ASSERT_NE(demo.crawl, nullptr);
        for (int tenth = 20; tenth > 0; --tenth) {
            clock.SetSeconds(20.0 + t - tenth * 0.1);
            demo.DrawFrame();
        }
        clock.SetSeconds(20.0 + t);
        demo.DrawFrame();
        ASSERT_EQ(demo.frame.width, TestDemo::WIDTH);
    }

    FixedClock clock;
    TestDemo demo;
};

TEST_F(ScenePixels, ScenesDrawABlackFrameBeforeStart)
{
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    MenuScene menu;
    EXPECT_FALSE(menu.Render());
    demo.frame.Capture(TestDemo::WIDTH, TestDemo::HEIGHT);
    EXPECT_EQ(demo.frame.CountNonBlack(0, 0, TestDemo::WIDTH, TestDemo::HEIGHT), 0);

    glClear(GL_COLOR_BUFFER_BIT);
    CrawlScene crawl(8.0f, 100);
    EXPECT_FALSE(crawl.Render());
    demo.frame.Capture(TestDemo::WIDTH, TestDemo::HEIGHT);
    EXPECT_EQ(demo.frame.CountNonBlack(0, 0, TestDemo::WIDTH, TestDemo::HEIGHT), 0);
    wglMakeCurrent(nullptr, nullptr);
}

TEST_F(ScenePixels, MenuAtFiveSecondsHighlightsExtrasAndNothingElseOnTheLeft)
{
    MenuFrameAt(5.25);
    const FramePixels& frame = demo.frame;
    const std::vector<RowBand> rows = frame.Bands(0, LEFT_COLUMN_END, 6);
    ASSERT_EQ(rows.size(), 3u) << "Play Demo, Chapter Selection, Extras";
    EXPECT_EQ(frame.Dominant(0, rows[0].top, LEFT_COLUMN_END, rows[0].bottom + 1), PixelClass::Normal);
    EXPECT_EQ(frame.Dominant(0, rows[1].top, LEFT_COLUMN_END, rows[1].bottom + 1), PixelClass::Normal);
    EXPECT_EQ(frame.Dominant(0, rows[2].top, LEFT_COLUMN_END, rows[2].bottom + 1), PixelClass::Highlight);
    EXPECT_EQ(frame.Count(PixelClass::Highlight, 0, rows[0].top, LEFT_COLUMN_END, rows[1].bottom + 1), 0);
    EXPECT_EQ(frame.Count(PixelClass::Yellow, 0, 0, TestDemo::WIDTH, TestDemo::HEIGHT), 0);
}

TEST_F(ScenePixels, CommentaryOptionSwitchesOnAcrossSevenAndAHalfSeconds)
{
    MenuFrameAt(7.4);
    std::vector<RowBand> rows = demo.frame.Bands(RIGHT_COLUMN_START, TestDemo::WIDTH, 6);
    ASSERT_EQ(rows.size(), 4u) << "Audio commentary, ON OFF, Subtitles, ON OFF";
    const RowBand option = rows[1];
    EXPECT_EQ(demo.frame.Dominant(RIGHT_COLUMN_START, option.top, OPTION_SPLIT, option.bottom + 1), PixelClass::Normal);
    EXPECT_EQ(demo.frame.Dominant(OPTION_SPLIT, option.top, TestDemo::WIDTH, option.bottom + 1), PixelClass::Active);
    EXPECT_EQ(demo.frame.Dominant(RIGHT_COLUMN_START, rows[0].top, TestDemo::WIDTH, rows[0].bottom + 1),
              PixelClass::Highlight);

    clock.SetSeconds(7.6);
    demo.DrawFrame();
    EXPECT_EQ(demo.frame.Dominant(RIGHT_COLUMN_START, option.top, OPTION_SPLIT, option.bottom + 1), PixelClass::Active);
    EXPECT_EQ(demo.frame.Dominant(OPTION_SPLIT, option.top, TestDemo::WIDTH, option.bottom + 1), PixelClass::Normal);
    // Subtitles keeps "ON" normal and "OFF" active.
    EXPECT_EQ(demo.frame.Dominant(OPTION_SPLIT, rows[3].top, TestDemo::WIDTH, rows[3].bottom + 1), PixelClass::Active);
}

TEST_F(ScenePixels, CrawlShowsYellowLinesOverWhiteStarsFadingWithDistance)
{
    CrawlFrameAt(20.0);
    const FramePixels& frame = demo.frame;
    EXPECT_GT(frame.Count(PixelClass::Yellow, 0, 0, TestDemo::WIDTH, TestDemo::HEIGHT), 500);
    EXPECT_GT(frame.Count(PixelClass::White, 0, 0, TestDemo::WIDTH, TestDemo::HEIGHT), 20);
    EXPECT_EQ(frame.Count(PixelClass::Normal, 0, 0, TestDemo::WIDTH, TestDemo::HEIGHT), 0);

    // Lines sit in the middle columns; the farthest (20 s old, alpha about 0.45) is at the top, the newest
    // (2 s old, opaque) at the bottom.
    const std::vector<RowBand> rows = frame.Bands(300, 500, 2);
    ASSERT_GE(rows.size(), 2u);
    const int farPeak = frame.PeakYellow(0, rows.front().top, TestDemo::WIDTH, rows.front().bottom + 1);
    const int nearPeak = frame.PeakYellow(0, rows.back().top, TestDemo::WIDTH, rows.back().bottom + 1);
    EXPECT_GT(nearPeak, 300);
    EXPECT_LT(farPeak, nearPeak * 3 / 4);
}

TEST_F(ScenePixels, CrawlWithoutStarsHasNoWhiteSquares)
{
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    demo.SetProjection(60.0f, 1.0f, 90.0f, true);
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    CrawlScene crawl(8.0f, 0);
    crawl.BuildFont();
    crawl.Start();
    clock.SetSeconds(20.0);
    crawl.Update();
    EXPECT_FALSE(crawl.Render());
    demo.frame.Capture(TestDemo::WIDTH, TestDemo::HEIGHT);
    EXPECT_EQ(demo.frame.Count(PixelClass::White, 0, 0, TestDemo::WIDTH, TestDemo::HEIGHT), 0);
    EXPECT_GT(demo.frame.Count(PixelClass::Yellow, 0, 0, TestDemo::WIDTH, TestDemo::HEIGHT), 500);
    wglMakeCurrent(nullptr, nullptr);
}

TEST_F(ScenePixels, CrawlEndsOnlyAfterThirtySecondsOnceTheLastLineHasFaded)
{
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    CrawlScene crawl(8.0f, 100);
    crawl.Start();
    crawl.UpdateAt(0.0f, 0.0f);
    EXPECT_EQ(LineAlpha(crawl.items[13]->pos.z), 0.0f);
    EXPECT_FALSE(crawl.Render());
    crawl.UpdateAt(79.2f, 79.2f);
    EXPECT_FALSE(crawl.Render());
    crawl.UpdateAt(79.3f, 79.3f);
    EXPECT_TRUE(crawl.Render());
    EXPECT_TRUE(crawl.Render());   // not remembered: true again while the condition holds
    crawl.UpdateAt(16.0f, 30.0f);  // last line faded (before its start), star clock not past 30
    EXPECT_FALSE(crawl.Render());
    crawl.UpdateAt(16.0f, 30.01f);
    EXPECT_TRUE(crawl.Render());
    wglMakeCurrent(nullptr, nullptr);
}

TEST_F(ScenePixels, CrawlWithoutAnyLineStillEndsAfterThirtySeconds)
{
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    CrawlScene crawl(8.0f, 100);
    crawl.Start();
    for (TextItem*& item : crawl.items) {
        delete item;
        item = nullptr;
    }
    crawl.UpdateAt(10.0f, 10.0f);
    EXPECT_FALSE(crawl.Render());
    crawl.UpdateAt(30.5f, 30.5f);
    EXPECT_TRUE(crawl.Render());  // the demo must not play on for ever
    wglMakeCurrent(nullptr, nullptr);
}

}  // namespace

// What the scenes put on screen, read back from real frames: black before start, the crawl's yellow lines
// fading over white stars, and when the crawl's frame reports its end. (The menu's rows and colours on
// screen are checked in its captured frames and end to end.)
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "scenes/scene_clock.h"
#include "scenes/crawl_motion.h"
#include "scenes/crawl_scene.h"
#include "scenes/menu_scene.h"
#include "support/test_demo.h"
#include "text/glyph_font.h"

namespace {

const int W = TestDemo::WIDTH;
const int H = TestDemo::HEIGHT;

class ScenePixels : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(demo.Open()); }

    // Draws the demo's frames from `from` to `to` seconds in steps of `step`, as the loop would.
    void Play(double from, double to, double step)
    {
        for (double at = from; at < to; at += step) {
            clock.SetSeconds(at);
            demo.DrawFrame();
        }
        clock.SetSeconds(to);
        demo.DrawFrame();
        ASSERT_EQ(demo.frame.width, W);
    }

    SceneClock clock;
    TestDemo demo;
};

// The stars show even where a glyph list leaves the front face clockwise, as Windows' own lists may: here the
// '.' that ends line 12 does, before every next frame's stars.
TEST_F(ScenePixels, CrawlShowsYellowLinesOverWhiteStarsFadingWithDistance)
{
    // The menu ends, the crawl starts at 20 s; frames every tenth of a second over the two seconds before
    // crawl time 20 s (the stars' flights take 1.6 s).
    Play(0.0, 20.0, 18.0);
    ASSERT_NE(demo.crawl, nullptr);
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    glNewList(FONT_LIST_BASE + '.', GL_COMPILE);
    glFrontFace(GL_CW);
    glEndList();
    wglMakeCurrent(nullptr, nullptr);
    Play(38.0, 40.0, 0.1);
    const FramePixels& frame = demo.frame;
    const RegionTally all = frame.Tally();
    EXPECT_GT(all[PixelClass::Yellow], 500);
    EXPECT_GT(all[PixelClass::White], 20);
    EXPECT_EQ(all[PixelClass::Normal], 0);
    // Lines sit in the middle columns; the farthest (20 s old, alpha about 0.45) is at the top, the newest
    // (2 s old, opaque) at the bottom.
    const std::vector<RowBand> rows = frame.Bands(300, 500, 2);
    ASSERT_GE(rows.size(), 2u);
    const int farPeak = frame.Tally(rows.front(), 0, W).peakYellow;
    const int nearPeak = frame.Tally(rows.back(), 0, W).peakYellow;
    EXPECT_GT(nearPeak, 300);
    EXPECT_LT(farPeak, nearPeak * 3 / 4);
}

TEST_F(ScenePixels, ScenesDrawBlackBeforeStartAndTheCrawlEndsAfterThirtySecondsOnceTheLastLineHasFaded)
{
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    MenuScene menu;
    CrawlScene crawl(8.0f, 100);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_FALSE(menu.Render());
    demo.frame.Capture(W, H);
    EXPECT_EQ(demo.frame.Tally()[PixelClass::Black], W * H);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_FALSE(crawl.Render());
    demo.frame.Capture(W, H);
    EXPECT_EQ(demo.frame.Tally()[PixelClass::Black], W * H);
    // The last line is faded at the first frame, but the star clock is not past 30 s: not the end yet.
    crawl.Start();
    crawl.UpdateAt(0.0f, 0.0f);
    EXPECT_FALSE(crawl.Render());
    crawl.UpdateAt(79.3f, 79.3f);
    EXPECT_TRUE(crawl.Render());
    EXPECT_TRUE(crawl.Render()) << "not remembered: the same again while the condition holds";
    wglMakeCurrent(nullptr, nullptr);
}

}  // namespace

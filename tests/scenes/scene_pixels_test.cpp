// What the scenes put on screen, read back from real frames: the menu's entries row by row, the crawl's yellow
// lines fading over the sequencer's white stars, and when the crawl's frame reports its end.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenes/scene_clock.h"
#include "scenes/crawl_motion.h"
#include "scenes/crawl_scene.h"
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

TEST_F(ScenePixels, MenuRowsThenCentredCrawlLinesFadingOverAHundredStarsUntilTheLastHasFaded)
{
    // The menu's first frame, row by row down each half: the left column's three entries, "Play Demo"
    // highlighted; the right column's four, each option's OFF active.
    Play(0.0, 0.0, 1.0);
    std::string menuRows;
    for (const int x0 : {0, W / 2}) {
        for (const RowBand& band : demo.frame.Bands(x0, x0 + W / 2, 2)) {
            const RegionTally row = demo.frame.Tally(band, x0, x0 + W / 2);
            menuRows += std::string(row[PixelClass::Highlight] > 50, 'H') +
                        std::string(row[PixelClass::Normal] > 50, 'N') +
                        std::string(row[PixelClass::Active] > 50, 'A') + ' ';
        }
    }
    EXPECT_EQ(menuRows, "H N N N NA N NA ");
    EXPECT_EQ(demo.frame.Count(PixelClass::Black, W / 2 - 8, 0, W / 2 + 32, H), 40 * H) << "no gap between the columns";
    // The menu ends, the crawl starts at 20 s; frames every tenth of a second over the two seconds before
    // crawl time 20 s (the stars' flights take 1.6 s).
    Play(18.0, 20.0, 2.0);
    ASSERT_NE(demo.crawl, nullptr);
    // The stars show even where a glyph list leaves the front face clockwise, as Windows' own lists may: here
    // the '.' that ends line 12 does, before every next frame's stars.
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    glNewList(FONT_LIST_BASE + '.', GL_COMPILE);
    glFrontFace(GL_CW);
    glEndList();
    wglMakeCurrent(nullptr, nullptr);
    Play(38.0, 39.9, 0.1);
    // The sequencer's field is the production's hundred stars, each moved by the next frame.
    const std::vector<Star> before(demo.crawl->stars, demo.crawl->stars + demo.crawl->starCount);
    Play(40.0, 40.0, 1.0);
    int moved = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        moved += demo.crawl->stars[i].pos.z != before[i].pos.z;
    }
    EXPECT_EQ(moved, 100);
    const FramePixels& frame = demo.frame;
    const RegionTally all = frame.Tally();
    EXPECT_GT(all[PixelClass::Yellow], 500);
    EXPECT_GT(all[PixelClass::White], 20);
    EXPECT_EQ(all[PixelClass::Normal], 0);
    EXPECT_NEAR(frame.Count(PixelClass::Yellow, 0, 0, W / 2, H), all[PixelClass::Yellow] / 2,
                all[PixelClass::Yellow] / 200)
        << "the lines are not centred";
    // Lines sit in the middle columns; the farthest (20 s old, alpha about 0.45) is at the top, the newest
    // (2 s old, opaque) at the bottom.
    const std::vector<RowBand> rows = frame.Bands(300, 500, 2);
    ASSERT_GE(rows.size(), 2u);
    const int farPeak = frame.Tally(rows.front(), 0, W).peakYellow;
    const int nearPeak = frame.Tally(rows.back(), 0, W).peakYellow;
    EXPECT_GT(nearPeak, 300);
    EXPECT_LT(farPeak, nearPeak * 3 / 4);
    // The crawl ends once its last line has faded, just after 79.2 s, and not at its first frame, where that
    // line, still waiting below the view, shows nothing: the star clock is not past 30 s.
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    for (const float t : {0.0f, 79.2f, 79.3f}) {
        demo.crawl->UpdateAt(t, t);
        EXPECT_EQ(demo.crawl->Render(), t > 79.25f) << t;
    }
    wglMakeCurrent(nullptr, nullptr);
}

}  // namespace

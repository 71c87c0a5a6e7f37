// Solid crawl glyphs on a real window: where the system's lists come out flat they are rebuilt solid, the
// front face covers what the flat glyph covers, the tilted crawl shows lit sides, and a finer flattening
// would change nothing a viewer sees.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include "scenes/crawl_scene.h"
#include "support/test_demo.h"
#include "text/solid_glyph_lists.h"
#include "text/text_item.h"

namespace {

const int W = TestDemo::WIDTH;
const int H = TestDemo::HEIGHT;

bool Lit(Rgb p)
{
    return p.r > 8 || p.g > 8 || p.b > 8;
}

bool LitNear(const FramePixels& frame, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < W && py < H && Lit(frame.At(px, py))) {
                return true;
            }
        }
    }
    return false;
}

struct Difference {
    int lit = 0;          // lit in the first frame
    int differing = 0;    // lit in one frame and not in the other
    int farFromEdge = 0;  // of those, with nothing lit within a pixel in the other frame
};

Difference Compare(const FramePixels& a, const FramePixels& b)
{
    Difference d;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const bool inA = Lit(a.At(x, y)), inB = Lit(b.At(x, y));
            d.lit += inA;
            if (inA != inB) {
                ++d.differing;
                d.farFromEdge += !LitNear(inA ? b : a, x, y);
            }
        }
    }
    return d;
}

class SolidTextPixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(demo.Open());
        wglMakeCurrent(demo.hDC, demo.hGLRC);
    }
    void TearDown() override
    {
        DeleteOutlineFont();
        wglMakeCurrent(nullptr, nullptr);
    }

    // The text square-on under a parallel projection, one em `emPixels` high, lit as the scenes light it,
    // with the crawl's culling; read back into `frame`.
    void DrawSquareOn(const char* text, float emPixels, FramePixels& frame)
    {
        glViewport(0, 0, W, H);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, W / emPixels, 0.0, H / emPixels, -10.0, 10.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_BLEND);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glTranslatef(0.2f, 0.3f, 0.0f);
        glColor3f(0.96f, 0.9f, 0.2f);
        TextItem item(metrics, text, 1.0f, 1.0f, 1.0f, 0.0f);
        item.Draw();
        frame.Capture(W, H);
    }

    // The crawl's frame at 10 s without stars: its first three lines, opaque, in the lower half.
    void DrawCrawl(CrawlScene& crawl, FramePixels& frame)
    {
        crawl.UpdateAt(10.0f, 10.0f);
        crawl.Render();
        frame.Capture(W, H);
    }

    TestDemo demo;
    GlyphMetricsTable metrics;
};

TEST_F(SolidTextPixels, SolidFrontCoversTheFlatGlyphsPixels)
{
    const char* text = "HELL NO! Oa@";
    FramePixels flat, solid;
    BuildOutlineFont(metrics, 0.0f);
    EXPECT_TRUE(GlyphListIsFlat(FONT_LIST_BASE + 'H'));
    const float flatAdvance = metrics['O'].gmfCellIncX;
    DrawSquareOn(text, 60.0f, flat);

    BuildOutlineFont(metrics, 0.1f);
    EXPECT_FALSE(GlyphListIsFlat(FONT_LIST_BASE + 'H')) << "the crawl's glyphs came out flat";
    EXPECT_EQ(metrics['O'].gmfCellIncX, flatAdvance);  // the system's metrics stay
    DrawSquareOn(text, 60.0f, solid);

    const Difference d = Compare(flat, solid);
    EXPECT_GT(d.lit, 5000) << "the text was not drawn";
    EXPECT_EQ(d.farFromEdge, 0) << "the solid glyphs' outline strays or shifts from the flat one";
    EXPECT_LT(d.differing, d.lit / 50) << "more than the odd edge pixel differs";
    // The hole of the 'O' stays open: in the middle of its bowl nothing is lit.
    const float oLeft = 0.2f + TextItem::TextWidth(metrics, "HELL NO! ");
    const int holeX = static_cast<int>((oLeft + metrics['O'].gmfCellIncX / 2) * 60.0f);
    const int holeY = H - 1 - static_cast<int>((0.3f + 0.36f) * 60.0f);
    EXPECT_FALSE(Lit(solid.At(holeX, holeY)));
    EXPECT_TRUE(Lit(solid.At(holeX, holeY - 18)));  // the top of the bowl, just above
}

TEST_F(SolidTextPixels, TiltedCrawlLinesShowTheirLitSides)
{
    demo.SetProjection(60.0f, 1.0f, 90.0f, true);
    wglMakeCurrent(demo.hDC, demo.hGLRC);
    CrawlScene crawl(8.0f, 0);
    crawl.BuildFont();
    crawl.Start();
    // The first frame has the lines' glyphs solid; the others, the last of them 'ÿ', follow a few a frame.
    EXPECT_FALSE(GlyphListIsFlat(FONT_LIST_BASE + 'H'));
    EXPECT_TRUE(GlyphListIsFlat(FONT_LIST_BASE + 0xFF));
    for (int frame = 0; frame < 11; ++frame) {
        crawl.Render();
    }
    EXPECT_FALSE(GlyphListIsFlat(FONT_LIST_BASE + 0xFF));
    FramePixels solid, flat;
    DrawCrawl(crawl, solid);
    BuildOutlineFont(crawl.metrics, 0.0f);  // the same lines, flat
    DrawCrawl(crawl, flat);

    // Flat, every opaque line has the one lit colour of its front; solid, the sides add pixels of other
    // shades: lit from the left, and the dark undersides that the lean turns towards the viewer.
    int flatLit = 0, solidLit = 0, flatOther = 0, solidOther = 0, undersides = 0;
    Rgb face = {0, 0, 0};
    for (int y = 0; y < H && face.r == 0; ++y) {
        for (int x = 0; x < W && face.r == 0; ++x) {
            if (Lit(flat.At(x, y))) {
                face = flat.At(x, y);
            }
        }
    }
    auto other = [&](Rgb p) { return Lit(p) && (abs(p.r - face.r) > 24 || abs(p.g - face.g) > 24); };
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            flatLit += Lit(flat.At(x, y));
            solidLit += Lit(solid.At(x, y));
            flatOther += other(flat.At(x, y));
            const Rgb p = solid.At(x, y);
            solidOther += other(p);
            // An underside: darker than the face, with the face's own colour just above it.
            if (other(p) && p.r < face.r / 2 && y >= 3) {
                bool faceAbove = false;
                for (int up = 1; up <= 3; ++up) {
                    faceAbove = faceAbove || (!other(solid.At(x, y - up)) && Lit(solid.At(x, y - up)));
                }
                undersides += faceAbove;
            }
        }
    }
    ASSERT_GT(flatLit, 5000) << "no crawl line in view";
    EXPECT_GT(solidLit, flatLit + flatLit / 10);
    EXPECT_LT(flatOther, flatLit / 100);
    EXPECT_GT(solidOther, flatLit / 10);
    EXPECT_GT(undersides, flatLit / 50);
}

TEST_F(SolidTextPixels, FinerFlatteningChangesNothingVisible)
{
    // The crawl's nearest lines are about 75 pixels to the em at 600 lines. A quarter of the tolerance
    // moves only the odd edge pixel, about as many as any change of the geometry does.
    const char* text = "Oops, @ge";
    FramePixels normal, finer;
    BuildOutlineFont(metrics, 0.1f);
    DrawSquareOn(text, 80.0f, normal);
    BuildOutlineFont(metrics, 0.1f, nullptr, SOLID_GLYPH_TOLERANCE / 4.0f);
    DrawSquareOn(text, 80.0f, finer);
    const Difference d = Compare(normal, finer);
    EXPECT_GT(d.lit, 8000);
    EXPECT_EQ(d.farFromEdge, 0);
    EXPECT_LT(d.differing, d.lit / 40) << d.differing << " of " << d.lit << " pixels differ";
}

}  // namespace

// Text on a real window with the real outline glyphs: measuring and drawing a text item, and the solid crawl
// glyphs where the system's lists come out flat (the front covers the flat glyph, tilted lines show lit
// sides, even when built in a window too small to see; the probe gives back the front face).
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include "scenes/crawl_scene.h"
#include "support/test_demo.h"
#include "text/glyph_font.h"
#include "text/solid_glyph_lists.h"
#include "text/text_item.h"

namespace {

const int W = TestDemo::WIDTH;
const int H = TestDemo::HEIGHT;

bool Lit(Rgb p)
{
    return p.r > 8 || p.g > 8 || p.b > 8;
}

// Pixels lit in `a`; of those and of b's, how many the other frame lacks, and how many with nothing lit within
// a pixel in the other frame (the frames' edge rows and columns are left out).
struct Difference {
    int lit = 0, differing = 0, farFromEdge = 0;
};

Difference Compare(const FramePixels& a, const FramePixels& b)
{
    Difference d;
    for (int y = 1; y + 1 < H; ++y) {
        for (int x = 1; x + 1 < W; ++x) {
            const bool inA = Lit(a.At(x, y)), differs = inA != Lit(b.At(x, y));
            bool edge = false;
            for (int i = 0; i < 9 && differs; ++i) {
                edge = edge || Lit((inA ? b : a).At(x + i % 3 - 1, y + i / 3 - 1));
            }
            d.lit += inA;
            d.differing += differs;
            d.farFromEdge += differs && !edge;
        }
    }
    return d;
}

class TextPixels : public ::testing::Test {
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

    // "HELL NO! Oa@" square-on under a parallel projection, 60 pixels to the em (the crawl's nearest lines
    // have about 75), lit as the scenes light it, with the crawl's culling; read back into `frame`.
    void DrawSquareOn(FramePixels& frame)
    {
        glViewport(0, 0, W, H);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, W / 60.0, 0.0, H / 60.0, -10.0, 10.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_BLEND);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glTranslatef(0.2f, 0.3f, 0.0f);
        glColor3f(0.96f, 0.9f, 0.2f);
        TextItem item(metrics, "HELL NO! Oa@", 1.0f, 1.0f, 1.0f, 0.0f);
        static_cast<Drawable&>(item).Draw();
        frame.Capture(W, H);
    }

    TestDemo demo;
    GlyphMetricsTable metrics;
};

TEST_F(TextPixels, TheSolidFrontCoversTheFlatGlyphsPixels)
{
    BuildOutlineFont(metrics, 0.0f);
    EXPECT_TRUE(GlyphListIsFlat(FONT_LIST_BASE + 'H'));
    // The probe gives back the front face that a system list may set.
    glNewList(FONT_LIST_BASE + 1, GL_COMPILE);
    glFrontFace(GL_CW);
    glEndList();
    EXPECT_TRUE(GlyphListIsFlat(FONT_LIST_BASE + 1));
    GLint frontFace = 0;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    EXPECT_EQ(frontFace, GL_CCW);
    const float advanceO = metrics['O'].gmfCellIncX;
    EXPECT_NEAR(advanceO, 0.778f, 0.03f);                                          // Arial Bold: 'O' is 0.778 em wide
    EXPECT_EQ(TextItem(metrics, "ON", 1.0f, 1.0f, 1.0f, 6.0f).tilt, -44.999996f);  // the production's tilt, not -45

    FramePixels flat, solid;
    DrawSquareOn(flat);
    BuildOutlineFont(metrics, 0.1f);
    EXPECT_FALSE(GlyphListIsFlat(FONT_LIST_BASE + 'H')) << "the crawl's glyphs came out flat";
    EXPECT_EQ(metrics['O'].gmfCellIncX, advanceO);  // the system's metrics stay
    DrawSquareOn(solid);
    // Holes (the 'O', the '@') filled, or an outline strayed, leave pixels far from the flat glyphs' edges.
    const Difference d = Compare(flat, solid);
    EXPECT_GT(d.lit, 5000) << "the text was not drawn";
    EXPECT_EQ(d.farFromEdge, 0) << "the solid glyphs' outline strays or shifts from the flat one";
    EXPECT_LT(d.differing, d.lit / 50) << "more than the odd edge pixel differs";
}

TEST_F(TextPixels, TiltedCrawlLinesShowTheirLitSides)
{
    demo.SetProjection(60.0f, 1.0f, 90.0f, true);
    CrawlScene crawl(8.0f, 0);
    // The first frame may find the window minimised (0 x 0 here), or dragged down to 1 x 1 or to a few rows or
    // columns: too small for the flat-list probe's pixels. Its glyphs come out solid all the same, as shown
    // once the window has its size back.
    const SIZE firstSizes[] = {{0, 0}, {1, 1}, {W, 3}, {3, H}};
    for (const SIZE& first : firstSizes) {
        SCOPED_TRACE(testing::Message() << first.cx << " x " << first.cy);
        first.cx == 0 ? ShowWindow(demo.hWnd, SW_MINIMIZE)
                      : SetWindowPos(demo.hWnd, nullptr, 0, 0, first.cx, first.cy, SWP_NOZORDER);
        PumpMessages();
        wglMakeCurrent(demo.hDC, demo.hGLRC);
        RECT client;
        ASSERT_TRUE(GetClientRect(demo.hWnd, &client) && client.right <= first.cx && client.bottom <= first.cy);
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        crawl.BuildFont();
        GLubyte corner[4] = {};
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
        EXPECT_TRUE(first.cx == 0 || corner[0] == 255) << "the probe cleared a window without its corner";
        ShowWindow(demo.hWnd, SW_RESTORE);
        SetWindowPos(demo.hWnd, nullptr, 0, 0, W, H, SWP_NOZORDER);
        PumpMessages();
        wglMakeCurrent(demo.hDC, demo.hGLRC);
        EXPECT_FALSE(GlyphListIsFlat(FONT_LIST_BASE + 'H'));
    }
    crawl.Start();
    // The first frame has the lines' glyphs solid; the others, the last of them 'ÿ', follow a few a frame,
    // all within the crawl's first second.
    EXPECT_TRUE(GlyphListIsFlat(FONT_LIST_BASE + 0xFF));
    for (int frame = 0; frame < 60; ++frame) {
        crawl.Render();
    }
    EXPECT_FALSE(GlyphListIsFlat(FONT_LIST_BASE + 0xFF));
    // The frame at 10 s: the first three lines, opaque, in the lower half; solid, then the same lines flat.
    FramePixels solid, flat;
    crawl.UpdateAt(10.0f, 10.0f);
    crawl.Render();
    solid.Capture(W, H);
    BuildOutlineFont(crawl.metrics, 0.0f);
    crawl.Render();
    flat.Capture(W, H);

    // Flat, every opaque line has the one lit colour of its front; solid, the sides add pixels of other
    // shades: lit from the left, and the dark undersides that the lean turns towards the viewer.
    Rgb face = {0, 0, 0};
    for (int i = 0; i < W * H && !Lit(face); ++i) {
        face = flat.At(i % W, i / W);
    }
    auto other = [&](Rgb p) { return Lit(p) && (abs(p.r - face.r) > 24 || abs(p.g - face.g) > 24); };
    int flatLit = 0, flatOther = 0, solidOther = 0, undersides = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const Rgb p = solid.At(x, y);
            flatLit += Lit(flat.At(x, y));
            flatOther += other(flat.At(x, y));
            solidOther += other(p);
            // An underside: darker than the face, with the face's own colour just above it.
            bool faceAbove = false;
            for (int up = 1; up <= 3 && y >= 3 && other(p) && p.r < face.r / 2; ++up) {
                faceAbove = faceAbove || (!other(solid.At(x, y - up)) && Lit(solid.At(x, y - up)));
            }
            undersides += faceAbove;
        }
    }
    ASSERT_GT(flatLit, 5000) << "no crawl line in view";
    EXPECT_LT(flatOther, flatLit / 100);
    EXPECT_GT(solidOther, flatLit / 10);
    EXPECT_GT(undersides, flatLit / 50);
}

}  // namespace

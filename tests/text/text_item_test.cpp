// Text items with the real outline glyphs built under a GL context: measuring, the constructor's values,
// and the two GL calls of Draw.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <string.h>
#include <stdio.h>

#include "support/test_demo.h"
#include "text/glyph_font.h"
#include "text/text_item.h"

namespace {

class TextItemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(demo.Open());
        wglMakeCurrent(demo.hDC, demo.hGLRC);
        BuildOutlineFont(metrics, 0.0f);
    }
    void TearDown() override
    {
        DeleteOutlineFont();
        wglMakeCurrent(nullptr, nullptr);
    }

    TestDemo demo;
    GlyphMetricsTable metrics;
};

TEST_F(TextItemTest, ItemIsCentredByTheAdvancesOfItsFontsGlyphs)
{
    const float advanceO = metrics['O'].gmfCellIncX;
    const float advanceN = metrics['N'].gmfCellIncX;
    // Arial Bold: 'O' is 0.778 em wide, 'N' 0.722 em.
    EXPECT_NEAR(advanceO, 0.778f, 0.03f);
    EXPECT_NEAR(advanceN, 0.722f, 0.03f);

    TextItem on(metrics, "ON", 1.0f, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(on.basePos.x, -0.5f * (advanceO + advanceN));
    EXPECT_EQ(on.length, 2);
    EXPECT_EQ(TextItem::TextWidth(metrics, "ON"), advanceO + advanceN);
    EXPECT_GT(TextItem::TextWidth(metrics, "Chapter Selection"), TextItem::TextWidth(metrics, "Extras"));
}

TEST_F(TextItemTest, EmptyTextHasNoLengthAndNoWidth)
{
    TextItem empty(metrics, "", 1.0f, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(empty.length, 0);
    EXPECT_EQ(empty.basePos.x, 0.0f);
    EXPECT_EQ(TextItem::TextWidth(metrics, ""), 0.0f);
}

TEST_F(TextItemTest, NewItemLeansBackAndMovesUpAndAway)
{
    TextItem item(metrics, "HELL NO!", 0.96f, 0.9f, 0.2f, 6.0f);
    EXPECT_EQ(item.tilt, -44.999996f);
    EXPECT_NE(item.tilt, -45.0f);
    EXPECT_EQ(item.velocity.x, 0.0f);
    EXPECT_EQ(item.velocity.y, 0.5f);
    EXPECT_EQ(item.velocity.z, -0.5f);
    EXPECT_EQ(item.basePos.y, -5.0f);
    EXPECT_EQ(item.basePos.z, 0.0f);
    EXPECT_EQ(item.startTime, 6.0f);
    EXPECT_EQ(item.color.y, 0.9f);
    EXPECT_EQ(item.length, 8);
}

TEST_F(TextItemTest, DrawLeavesListBaseAtTheFontAndChangesNoColour)
{
    while (glGetError() != GL_NO_ERROR) {
    }
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);
    GLfloat colorBefore[4] = {}, matrixBefore[16] = {};
    glGetFloatv(GL_CURRENT_COLOR, colorBefore);
    glGetFloatv(GL_MODELVIEW_MATRIX, matrixBefore);

    TextItem item(metrics, "Extras", 1.0f, 0.0f, 0.0f, 0.0f);
    Drawable& drawable = item;
    drawable.Draw();

    GLint listBase = 0;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    EXPECT_EQ(listBase, 1000);
    GLfloat colorAfter[4] = {}, matrixAfter[16] = {};
    glGetFloatv(GL_CURRENT_COLOR, colorAfter);
    glGetFloatv(GL_MODELVIEW_MATRIX, matrixAfter);
    EXPECT_EQ(memcmp(colorBefore, colorAfter, sizeof(colorBefore)), 0);
    // The glyph lists lay the line out along +x: the origin ends one text width further right, no other move.
    EXPECT_NEAR(matrixAfter[12], matrixBefore[12] + TextItem::TextWidth(metrics, "Extras"), 1e-4f);
    EXPECT_EQ(matrixAfter[13], matrixBefore[13]);
    EXPECT_EQ(matrixAfter[14], matrixBefore[14]);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextItemTest, PlacedDrawingRestoresTheMatrix)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    GLfloat before[16] = {}, after[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    TextItem item(metrics, "Extras", 1.0f, 0.0f, 0.0f, 0.0f);
    item.pos = Vec3{-9.0f, 0.0f, -11.0f};
    item.DrawPlaced(0.5f);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(memcmp(before, after, sizeof(before)), 0);
    GLfloat color[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_EQ(color[0], 1.0f);
    EXPECT_EQ(color[3], 0.5f);
}

TEST_F(TextItemTest, GlyphListsExistOnlyUntilTheRangeIsDeleted)
{
    EXPECT_TRUE(glIsList(FONT_LIST_BASE + 'A'));
    EXPECT_TRUE(glIsList(FONT_LIST_BASE + 255));
    DeleteOutlineFont();
    EXPECT_FALSE(glIsList(FONT_LIST_BASE + 'A'));
}

}  // namespace

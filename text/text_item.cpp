// TextItem: measuring a line against the glyph metrics, and drawing it through the glyph display lists.
#include "text/text_item.h"

#include <GL/gl.h>
#include <math.h>
#include <string.h>

namespace {
// Not the nearest float to 180/pi (57.29578018) but the one just below it: with it the tilt comes out as
// -44.999996, not -45, the tilt the production is built around and every frame of the crawl is drawn with.
const float DEGREES_PER_RADIAN = 57.2957763671875f;
}  // namespace

TextItem::TextItem(const GlyphMetricsTable& metrics, const char* itemText, float red, float green, float blue,
                   float itemStartTime)
    : tilt(static_cast<float>(atan2(-1.0, 1.0) * DEGREES_PER_RADIAN)),
      startTime(itemStartTime),
      color{red, green, blue},
      basePos(START_POSITION),
      velocity(VELOCITY),
      pos{0.0f, 0.0f, 0.0f},
      text(itemText),
      length(static_cast<int>(strlen(itemText)))
{
    basePos.x = TextWidth(metrics, text) * -0.5f;
}

float TextItem::TextWidth(const GlyphMetricsTable& metrics, const char* text)
{
    float width = 0.0f;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
        width += metrics[*c].gmfCellIncX;
    }
    return width;
}

void TextItem::Draw()
{
    glListBase(FONT_LIST_BASE);
    glCallLists(length, GL_UNSIGNED_BYTE, text);
}

void TextItem::DrawPlaced(float alpha)
{
    glPushMatrix();
    glScalef(0.5f, 0.5f, 0.5f);
    glTranslatef(pos.x, pos.y, pos.z);
    glRotatef(tilt, 1.0f, 0.0f, 0.0f);
    glColor4f(color.x, color.y, color.z, alpha);
    Drawable& drawable = *this;
    drawable.Draw();
    glPopMatrix();
}

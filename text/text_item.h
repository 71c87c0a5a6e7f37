// TextItem: one line of outline-font text with its colour, tilt, position and straight-line motion.
// The text is a string literal the item points at and never owns.
#pragma once

#include "text/drawable.h"
#include "text/glyph_font.h"
#include "text/vec3.h"

class TextItem : public Drawable {
public:
    // Where a line starts (before its centring offset in x) and how fast it moves, in units a second.
    static constexpr Vec3 START_POSITION = {0.0f, -5.0f, 0.0f};
    static constexpr Vec3 VELOCITY = {0.0f, 0.5f, -0.5f};

    TextItem(const GlyphMetricsTable& metrics, const char* text, float red, float green, float blue, float startTime);
    ~TextItem() override = default;

    // Sum of the advances of the text's characters in the given table.
    static float TextWidth(const GlyphMetricsTable& metrics, const char* text);

    // Issues the glyph lists of the text: two GL calls, no colour or matrix change.
    void Draw() override;

    // The drawing steps both scenes use: half scale, moved to pos, tilted about X, coloured with the given
    // alpha, drawn, matrix restored.
    void DrawPlaced(float alpha);

    float tilt;
    float startTime;
    Vec3 color;
    Vec3 basePos;
    Vec3 velocity;
    Vec3 pos;
    const char* text;
    int length;
};

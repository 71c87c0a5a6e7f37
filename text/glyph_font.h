// The glyph resources shared by the scenes: 256 outline-font display lists from FONT_LIST_BASE and the
// table of glyph metrics that the build fills.
#pragma once

#include <windows.h>

constexpr unsigned FONT_LIST_BASE = 1000;
constexpr int FONT_GLYPH_COUNT = 256;

using GlyphMetricsTable = GLYPHMETRICSFLOAT[FONT_GLYPH_COUNT];

// Builds lists FONT_LIST_BASE .. +255 from bold Arial, 12 units high, with the given extrusion depth
// (0 gives flat glyphs), and fills the metrics. Needs the GL context current. The table is cleared first,
// so a build that fails leaves every advance at 0 and the program runs on without text.
void BuildOutlineFont(GlyphMetricsTable& metrics, float extrusion);

// Deletes the whole glyph list range; names that are no longer lists are ignored by GL.
void DeleteOutlineFont();

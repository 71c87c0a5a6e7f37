// The glyph resources shared by the scenes: 256 outline-font display lists from FONT_LIST_BASE and the
// table of glyph metrics that the build fills.
#pragma once

#include <windows.h>

constexpr unsigned FONT_LIST_BASE = 1000;
constexpr int FONT_GLYPH_COUNT = 256;

using GlyphMetricsTable = GLYPHMETRICSFLOAT[FONT_GLYPH_COUNT];

// How far a flattened curve of a solid glyph we build may stray from the font's outline, in em units: a
// third of a pixel on the crawl's nearest glyphs (about 75 pixels to the em at 600 lines), half a pixel at
// 1080 lines. Finer costs frame rate: the crawl's frame time follows its triangle count.
constexpr float SOLID_GLYPH_TOLERANCE = 1.0f / 256.0f;

class SolidGlyphLists;

// Builds lists FONT_LIST_BASE .. +255 from bold Arial, 12 units high, with the given extrusion depth
// (0 gives flat glyphs), and fills the metrics. Needs the GL context current. The table is cleared first,
// so a build that fails leaves every advance at 0 and the program runs on without text.
// Where the system builds solid glyphs flat, they are built solid here, curves flattened to
// `solidTolerance` em: all at once, or with `later`, printable ASCII now and the rest when `later` is
// continued.
void BuildOutlineFont(GlyphMetricsTable& metrics, float extrusion, SolidGlyphLists* later = nullptr,
                      float solidTolerance = SOLID_GLYPH_TOLERANCE);

// Deletes the whole glyph list range; names that are no longer lists are ignored by GL.
void DeleteOutlineFont();

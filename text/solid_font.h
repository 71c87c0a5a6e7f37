// Solid glyph lists built here from the selected font's own outlines, for systems whose outline-font
// builder leaves the glyphs flat, and the check that tells such lists apart.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include "text/glyph_font.h"

// True when the list's glyph has no depth: seen from the side it covers no pixel. Needs the GL context
// current; draws into an 8 x 8 corner of the back buffer and leaves the frame cleared to black. A list that draws
// nothing counts as flat too: the caller tells that case apart by the glyph's advance.
bool GlyphListIsFlat(GLuint list);

// Rebuilds lists FONT_LIST_BASE .. +255 as solid glyphs of the font selected into `dc`: the glyph's
// face at z = 0 facing +z, again at z = -extrusion facing -z, and the sides between them, each list ending
// with the advance from `metrics`, as the system's lists do. Needs the GL context current.
void BuildSolidGlyphLists(HDC dc, const GlyphMetricsTable& metrics, float extrusion, float tolerance);

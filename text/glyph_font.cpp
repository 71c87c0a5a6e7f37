// The outline-font build that both scenes use; only the extrusion differs between them.
#include "glyph_font.h"

#include <GL/gl.h>
#include <string.h>

#include "text/solid_glyph_lists.h"

void BuildOutlineFont(GlyphMetricsTable& metrics, float extrusion, SolidGlyphLists* later, float solidTolerance)
{
    memset(metrics, 0, sizeof(GlyphMetricsTable));
    HFONT font = CreateFontA(12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    HDC dc = wglGetCurrentDC();
    HGDIOBJ previous = SelectObject(dc, font);
    wglUseFontOutlinesA(dc, 0, FONT_GLYPH_COUNT, FONT_LIST_BASE, 0.0f, extrusion, WGL_FONT_POLYGONS, metrics);
    // NOTE: some systems' wglUseFontOutlinesA ignores the extrusion and builds front faces only (Wine's
    // does). Where it built glyphs (the 'H' has an advance) but an 'H' asked to be solid came out flat, the
    // glyphs are built solid here from the same font's outlines; the system's metrics stay.
    if (later != nullptr) {
        later->Cancel();
    }
    if (extrusion > 0.0f && metrics['H'].gmfCellIncX > 0.0f && GlyphListIsFlat(FONT_LIST_BASE + 'H')) {
        if (later != nullptr) {
            later->Start(dc, metrics, extrusion, solidTolerance, false);
        } else {
            SolidGlyphLists now;
            now.Start(dc, metrics, extrusion, solidTolerance, true);
        }
    }
    SelectObject(dc, previous);
    DeleteObject(font);
}

void DeleteOutlineFont()
{
    glDeleteLists(FONT_LIST_BASE, FONT_GLYPH_COUNT);
}

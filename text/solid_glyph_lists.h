// SolidGlyphLists: solid glyph lists built from the selected font's own outlines, for systems whose
// outline-font builder leaves the glyphs flat; and the check that tells such lists apart.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <vector>

#include "text/glyph_font.h"
#include "text/glyph_outline.h"
#include "text/solid_glyph_builder.h"

// True when the list's glyph has no depth: seen from the side it covers no pixel. Needs the GL context
// current; draws into an 8 x 8 corner of the back buffer and leaves the frame cleared to black. A list that
// draws nothing counts as flat too: the caller tells that case apart by the glyph's advance. So does any
// list while the window is smaller than that corner (minimised, say), where the probe cannot see.
bool GlyphListIsFlat(GLuint list);

// Rebuilds lists FONT_LIST_BASE .. +255 as solid glyphs: the face at z = 0 facing +z, again at z = -extrusion
// facing -z, and the sides between them, each list ending with the system's advance from the metrics. A
// glyph without an outline, or one that cannot be read, keeps the system's list.
class SolidGlyphLists {
public:
    SolidGlyphLists();
    ~SolidGlyphLists();
    SolidGlyphLists(const SolidGlyphLists&) = delete;
    SolidGlyphLists& operator=(const SolidGlyphLists&) = delete;

    // Starts a rebuild from the font selected into `dc`, curves flattened to `tolerance` em, and builds
    // the printable ASCII glyphs, which are all the program's texts use; with `allNow` the rest too.
    // `metrics` must outlive the rebuild. Needs the GL context current.
    void Start(HDC dc, const GlyphMetricsTable& metrics, float extrusion, float tolerance, bool allNow);

    // Builds up to `count` of the glyphs left, in the current context's device context. True once none is
    // left (or none was started).
    bool Continue(int count);

    // Drops what is left to build.
    void Cancel();

private:
    void BuildGlyph(HDC dc, int code);

    HFONT emFont;
    const GlyphMetricsTable* metrics;
    float extrusion;
    float tolerance;
    float scale;
    int nextLeft;  // how many of the codes outside printable ASCII are built
    std::vector<unsigned char> buffer;
    GlyphContours contours;
    GlyphMesh mesh;
    SolidGlyphBuilder builder;
};

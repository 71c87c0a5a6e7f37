// SolidGlyphLists: the font's TrueType outlines at its em size, flattened, tessellated and extruded into one
// draw of triangles per glyph; and the check for flat lists, drawn from the side in a corner of the back buffer.
#include "text/solid_glyph_lists.h"

namespace {

// The probe draws into a corner of the back buffer this many pixels square.
const int PROBE_SIZE = 8;

// True when the current context's window has the probe's corner. A smaller one (dragged very small, or
// minimised to nothing) lacks those pixels, and GL leaves what is read from outside a window undefined.
bool ProbeCornerExists()
{
    const HWND window = WindowFromDC(wglGetCurrentDC());
    RECT client;
    return window != nullptr && GetClientRect(window, &client) && client.right >= PROBE_SIZE &&
           client.bottom >= PROBE_SIZE;
}

// Printable ASCII, the characters of every text of the program, is built first.
const int FIRST_PRINTABLE = 32;
const int PRINTABLE_COUNT = 95;
const int LEFT_COUNT = FONT_GLYPH_COUNT - PRINTABLE_COUNT;

// The codes outside printable ASCII, in the order they are built: 0 to 31, then 127 to 255.
int LeftCode(int index)
{
    return index < FIRST_PRINTABLE ? index : index + PRINTABLE_COUNT;
}

MAT2 IdentityMatrix()
{
    MAT2 matrix = {};
    matrix.eM11.value = 1;
    matrix.eM22.value = 1;
    return matrix;
}

}  // namespace

bool GlyphListIsFlat(GLuint list)
{
    if (!ProbeCornerExists()) {
        return true;  // cannot tell: rebuilding glyphs that are solid already does no harm
    }
    // Drawn from the side (looking along the glyph's x axis), a glyph in the plane z = 0 is edge-on and
    // covers no pixel; a solid one shows its sides. The current lighting, blending and depth test stay as
    // they are. The whole frame is cleared, before and after: the scene clears it again before it draws, and
    // a scissored clear of the corner would be one more piece of state to save and give back.
    // NOTE: Mesa retracks a colour-driven material only when the colour changes, and popping the current
    // colour does not retrack it: the probe's white would stay in the material while the current colour
    // reads as before. So the colour and normal are put back by hand, which retracks the material.
    GLfloat color[4], normal[3];
    glGetFloatv(GL_CURRENT_COLOR, color);
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    // The polygon state too: a system glyph list may set its own front face.
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT | GL_COLOR_BUFFER_BIT | GL_POLYGON_BIT);
    glViewport(0, 0, PROBE_SIZE, PROBE_SIZE);
    glDisable(GL_CULL_FACE);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-0.25, 0.25, -0.25, 1.0, -2.0, 2.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    // x' = z, y' = y, z' = -x: exact, so a flat glyph's x' is exactly 0.
    const GLfloat sideView[16] = {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    glLoadMatrixf(sideView);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glCallList(list);
    unsigned char pixels[PROBE_SIZE * PROBE_SIZE * 4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, PROBE_SIZE, PROBE_SIZE, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    glColor4fv(color);
    glNormal3fv(normal);
    for (int i = 0; i < PROBE_SIZE * PROBE_SIZE; ++i) {
        if (pixels[i * 4] != 0 || pixels[i * 4 + 1] != 0 || pixels[i * 4 + 2] != 0) {
            return false;
        }
    }
    return true;
}

SolidGlyphLists::SolidGlyphLists()
    : emFont(nullptr), metrics(nullptr), extrusion(0.0f), tolerance(0.0f), scale(0.0f), nextLeft(LEFT_COUNT)
{
}

SolidGlyphLists::~SolidGlyphLists()
{
    Cancel();
}

void SolidGlyphLists::Cancel()
{
    if (emFont != nullptr) {
        DeleteObject(emFont);
        emFont = nullptr;
    }
    nextLeft = LEFT_COUNT;
}

void SolidGlyphLists::Start(HDC dc, const GlyphMetricsTable& table, float depth, float flatness, bool allNow)
{
    Cancel();
    OUTLINETEXTMETRICA outline;
    LOGFONTA design;
    if (GetOutlineTextMetricsA(dc, sizeof(outline), &outline) == 0 || outline.otmEMSquare == 0 ||
        GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof(design), &design) == 0) {
        return;  // not an outline font: the system's lists stay
    }
    // At a height of one em in design units the outlines come out in font units, unrounded; divided by
    // the em they are in the units the glyph lists use, where the em is 1.
    design.lfHeight = -static_cast<LONG>(outline.otmEMSquare);
    design.lfWidth = 0;
    emFont = CreateFontIndirectA(&design);
    if (emFont == nullptr) {
        return;
    }
    metrics = &table;
    extrusion = depth;
    tolerance = flatness;
    scale = 1.0f / static_cast<float>(outline.otmEMSquare);
    nextLeft = 0;
    HGDIOBJ previous = SelectObject(dc, emFont);
    for (int code = FIRST_PRINTABLE; code < FIRST_PRINTABLE + PRINTABLE_COUNT; ++code) {
        BuildGlyph(dc, code);
    }
    SelectObject(dc, previous);
    if (allNow) {
        Continue(LEFT_COUNT);
    }
}

bool SolidGlyphLists::Continue(int count)
{
    if (emFont == nullptr) {
        return true;
    }
    HDC dc = wglGetCurrentDC();
    HGDIOBJ previous = SelectObject(dc, emFont);
    for (int built = 0; built < count && nextLeft < LEFT_COUNT; ++built) {
        BuildGlyph(dc, LeftCode(nextLeft++));
    }
    SelectObject(dc, previous);
    if (nextLeft < LEFT_COUNT) {
        return false;
    }
    Cancel();
    return true;
}

void SolidGlyphLists::BuildGlyph(HDC dc, int code)
{
    const MAT2 identity = IdentityMatrix();
    GLYPHMETRICS glyph;
    const UINT format = GGO_NATIVE | GGO_UNHINTED;
    const DWORD size = GetGlyphOutlineA(dc, static_cast<UINT>(code), format, &glyph, 0, nullptr, &identity);
    if (size == GDI_ERROR || size == 0) {
        return;  // no outline (a space): the system's list, an advance alone, stays
    }
    buffer.resize(size);
    if (GetGlyphOutlineA(dc, static_cast<UINT>(code), format, &glyph, size, buffer.data(), &identity) == GDI_ERROR ||
        !ParseNativeOutline(buffer.data(), size, scale, tolerance, contours) ||
        !builder.Build(contours, extrusion, mesh)) {
        return;  // the system's flat glyph stays
    }
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh.vertices.data());
    glNormalPointer(GL_FLOAT, 0, mesh.normals.data());
    glNewList(FONT_LIST_BASE + code, GL_COMPILE);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh.triangles.size()), GL_UNSIGNED_INT, mesh.triangles.data());
    glTranslatef((*metrics)[code].gmfCellIncX, (*metrics)[code].gmfCellIncY, 0.0f);
    glEndList();
    glPopClientAttrib();
}

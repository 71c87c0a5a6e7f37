// Solid glyph lists: the font's TrueType outlines at its em size, flattened, tessellated and extruded, one
// indexed draw per glyph; and the feedback-mode check for flat lists.
#include "text/solid_font.h"

#include <vector>

#include "text/glyph_outline.h"
#include "text/solid_glyph_builder.h"

namespace {

// Room for the feedback of any one glyph list the check draws; a list that overflows it is no flat glyph.
const GLsizei FEEDBACK_FLOATS = 8192;
GLfloat feedback[FEEDBACK_FLOATS];

// Depth in window units (0 to 1) below which two feedback vertices lie in one plane.
const float SAME_PLANE = 1e-5f;

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
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glFeedbackBuffer(FEEDBACK_FLOATS, GL_3D, feedback);
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const GLint used = glRenderMode(GL_RENDER);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
    if (used <= 0) {
        return false;  // nothing drawn (no glyph, no lists) or more than any flat glyph
    }

    bool anyPolygon = false;
    float nearest = 1.0f;
    float farthest = 0.0f;
    for (GLint at = 0; at < used;) {
        const GLint token = static_cast<GLint>(feedback[at++]);
        if (token == GL_POLYGON_TOKEN && at < used) {
            const GLint count = static_cast<GLint>(feedback[at++]);
            for (GLint i = 0; i < count && at + 2 < used; ++i, at += 3) {
                const float depth = feedback[at + 2];
                nearest = depth < nearest ? depth : nearest;
                farthest = depth > farthest ? depth : farthest;
            }
            anyPolygon = anyPolygon || count > 0;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            at += 6;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                   token == GL_COPY_PIXEL_TOKEN) {
            at += 3;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            at += 1;
        } else {
            break;  // not a token of GL_3D feedback: stop reading rather than guess
        }
    }
    return anyPolygon && farthest - nearest < SAME_PLANE;
}

void BuildSolidGlyphLists(HDC dc, const GlyphMetricsTable& metrics, float extrusion, float tolerance)
{
    OUTLINETEXTMETRICA outline;
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
    LOGFONTA design;
    if (GetOutlineTextMetricsA(dc, sizeof(outline), &outline) == 0 || outline.otmEMSquare == 0 ||
        GetObjectA(selected, sizeof(design), &design) == 0) {
        return;  // not an outline font: the system's lists stay
    }
    // At a height of one em in design units the outlines come out in font units, unrounded; divided by
    // the em they are in the units the glyph lists use, where the em is 1.
    design.lfHeight = -static_cast<LONG>(outline.otmEMSquare);
    design.lfWidth = 0;
    HFONT emFont = CreateFontIndirectA(&design);
    if (emFont == nullptr) {
        return;
    }
    HGDIOBJ previous = SelectObject(dc, emFont);
    const float scale = 1.0f / static_cast<float>(outline.otmEMSquare);
    const MAT2 identity = IdentityMatrix();

    std::vector<unsigned char> buffer;
    GlyphContours contours;
    GlyphMesh mesh;
    SolidGlyphBuilder builder;
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    for (int code = 0; code < FONT_GLYPH_COUNT; ++code) {
        GLYPHMETRICS glyph;
        const UINT format = GGO_NATIVE | GGO_UNHINTED;
        const DWORD size = GetGlyphOutlineA(dc, static_cast<UINT>(code), format, &glyph, 0, nullptr, &identity);
        mesh.Clear();
        if (size != GDI_ERROR && size > 0) {
            buffer.resize(size);
            if (GetGlyphOutlineA(dc, static_cast<UINT>(code), format, &glyph, size, buffer.data(), &identity) !=
                    GDI_ERROR &&
                ParseNativeOutline(buffer.data(), size, scale, tolerance, contours)) {
                builder.Build(contours, extrusion, mesh);
            }
        }
        glNewList(FONT_LIST_BASE + code, GL_COMPILE);
        if (!mesh.indices.empty()) {
            glVertexPointer(3, GL_FLOAT, 0, mesh.vertices.data());
            glNormalPointer(GL_FLOAT, 0, mesh.normals.data());
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh.indices.size()), GL_UNSIGNED_INT,
                           mesh.indices.data());
        }
        glTranslatef(metrics[code].gmfCellIncX, metrics[code].gmfCellIncY, 0.0f);
        glEndList();
    }
    glPopClientAttrib();
    SelectObject(dc, previous);
    DeleteObject(emFont);
}

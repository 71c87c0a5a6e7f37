// SolidGlyphBuilder: GLU tessellation of a glyph's face into triangles, and the front, back and side
// geometry around it.
#include "text/solid_glyph_builder.h"

#include <math.h>
#include <stdint.h>

namespace {

void PushVertex(GlyphMesh& mesh, float x, float y, float z, float nx, float ny, float nz)
{
    mesh.vertices.push_back(x);
    mesh.vertices.push_back(y);
    mesh.vertices.push_back(z);
    mesh.normals.push_back(nx);
    mesh.normals.push_back(ny);
    mesh.normals.push_back(nz);
}

void PushTriangle(GlyphMesh& mesh, GLuint a, GLuint b, GLuint c)
{
    mesh.indices.push_back(a);
    mesh.indices.push_back(b);
    mesh.indices.push_back(c);
}

// Twice the signed area of the contours together: positive where they run counter-clockwise.
double SignedArea(const GlyphContours& contours)
{
    double area = 0.0;
    int begin = 0;
    for (int end : contours.contourEnds) {
        for (int i = begin; i < end; ++i) {
            const OutlinePoint& a = contours.points[i];
            const OutlinePoint& b = contours.points[i + 1 < end ? i + 1 : begin];
            area += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
        }
        begin = end;
    }
    return area;
}

}  // namespace

void GlyphMesh::Clear()
{
    vertices.clear();
    normals.clear();
    indices.clear();
    faceTriangles = 0;
    sideQuads = 0;
}

SolidGlyphBuilder::SolidGlyphBuilder() : tess(gluNewTess()), failed(false)
{
    if (tess == nullptr) {
        return;
    }
    using Callback = void(CALLBACK*)();
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(&OnVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(&OnCombine));
    // With an edge-flag callback the tessellator hands out separate triangles only, no fans or strips.
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(&OnEdgeFlag));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(&OnError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
}

SolidGlyphBuilder::~SolidGlyphBuilder()
{
    if (tess != nullptr) {
        gluDeleteTess(tess);
        tess = nullptr;
    }
}

void CALLBACK SolidGlyphBuilder::OnVertex(void* vertex, void* builder)
{
    static_cast<SolidGlyphBuilder*>(builder)->faceIndices.push_back(
        static_cast<GLuint>(reinterpret_cast<uintptr_t>(vertex)));
}

void CALLBACK SolidGlyphBuilder::OnCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* builder)
{
    SolidGlyphBuilder& self = *static_cast<SolidGlyphBuilder*>(builder);
    *out = reinterpret_cast<void*>(static_cast<uintptr_t>(self.facePoints.size()));
    self.facePoints.push_back({static_cast<float>(coords[0]), static_cast<float>(coords[1])});
}

void CALLBACK SolidGlyphBuilder::OnEdgeFlag(GLboolean, void*)
{
}

void CALLBACK SolidGlyphBuilder::OnError(GLenum, void* builder)
{
    static_cast<SolidGlyphBuilder*>(builder)->failed = true;
}

bool SolidGlyphBuilder::Build(const GlyphContours& contours, float depth, GlyphMesh& mesh)
{
    mesh.Clear();
    if (tess == nullptr) {
        return false;
    }
    const size_t pointCount = contours.points.size();
    facePoints.assign(contours.points.begin(), contours.points.end());
    faceIndices.clear();
    coords.resize(pointCount * 3);
    failed = false;

    gluTessBeginPolygon(tess, this);
    int begin = 0;
    for (int end : contours.contourEnds) {
        gluTessBeginContour(tess);
        for (int i = begin; i < end; ++i) {
            GLdouble* at = &coords[static_cast<size_t>(i) * 3];
            at[0] = contours.points[i].x;
            at[1] = contours.points[i].y;
            at[2] = 0.0;
            gluTessVertex(tess, at, reinterpret_cast<void*>(static_cast<uintptr_t>(i)));
        }
        gluTessEndContour(tess);
        begin = end;
    }
    gluTessEndPolygon(tess);
    if (failed || faceIndices.size() % 3 != 0) {
        mesh.Clear();
        return false;
    }

    // Front face at z = 0, then the back face at -depth: the same points, the triangles turned over.
    const GLuint faceVertexCount = static_cast<GLuint>(facePoints.size());
    mesh.vertices.reserve((faceVertexCount * 2 + pointCount * 4) * 3);
    mesh.normals.reserve(mesh.vertices.capacity());
    for (const OutlinePoint& p : facePoints) {
        PushVertex(mesh, p.x, p.y, 0.0f, 0.0f, 0.0f, 1.0f);
    }
    for (const OutlinePoint& p : facePoints) {
        PushVertex(mesh, p.x, p.y, -depth, 0.0f, 0.0f, -1.0f);
    }
    mesh.indices.reserve(faceIndices.size() * 2 + pointCount * 6);
    for (size_t i = 0; i < faceIndices.size(); i += 3) {
        GLuint a = faceIndices[i], b = faceIndices[i + 1], c = faceIndices[i + 2];
        const OutlinePoint &pa = facePoints[a], &pb = facePoints[b], &pc = facePoints[c];
        if ((pb.x - pa.x) * (pc.y - pa.y) - (pc.x - pa.x) * (pb.y - pa.y) < 0.0f) {
            const GLuint swap = b;  // keep the front counter-clockwise seen from +z whatever the tessellator did
            b = c;
            c = swap;
        }
        PushTriangle(mesh, a, b, c);
        PushTriangle(mesh, faceVertexCount + a, faceVertexCount + c, faceVertexCount + b);
        ++mesh.faceTriangles;
    }

    // TrueType keeps the filled side of every contour on the right of its direction; other fonts may run
    // the other way round. The sign of the whole area tells which side is outside.
    const float outward = SignedArea(contours) < 0.0 ? 1.0f : -1.0f;
    begin = 0;
    for (int end : contours.contourEnds) {
        for (int i = begin; i < end; ++i) {
            const OutlinePoint& a = contours.points[i];
            const OutlinePoint& b = contours.points[i + 1 < end ? i + 1 : begin];
            const float dx = b.x - a.x;
            const float dy = b.y - a.y;
            const float length = sqrtf(dx * dx + dy * dy);
            if (!(length > 0.0f)) {
                continue;
            }
            // Left of the direction of travel is (-dy, dx).
            const float nx = -dy / length * outward;
            const float ny = dx / length * outward;
            const GLuint first = static_cast<GLuint>(mesh.vertices.size() / 3);
            PushVertex(mesh, a.x, a.y, 0.0f, nx, ny, 0.0f);
            PushVertex(mesh, b.x, b.y, 0.0f, nx, ny, 0.0f);
            PushVertex(mesh, b.x, b.y, -depth, nx, ny, 0.0f);
            PushVertex(mesh, a.x, a.y, -depth, nx, ny, 0.0f);
            // a0 -> b0 -> b1 turns counter-clockwise about the left normal; about the right one, reversed.
            if (outward > 0.0f) {
                PushTriangle(mesh, first, first + 1, first + 2);
                PushTriangle(mesh, first, first + 2, first + 3);
            } else {
                PushTriangle(mesh, first, first + 2, first + 1);
                PushTriangle(mesh, first, first + 3, first + 2);
            }
            ++mesh.sideQuads;
        }
        begin = end;
    }
    return true;
}

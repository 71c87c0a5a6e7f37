// SolidGlyphBuilder: GLU tessellation of a glyph's face into triangles over shared points, the face again
// turned over at the back, and the sides between them.
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
    triangles.clear();
    faceTriangles = 0;
    sideQuads = 0;
}

SolidGlyphBuilder::SolidGlyphBuilder()
    : tess(gluNewTess()), target(nullptr), runMode(GL_TRIANGLES), pointCount(0), failed(false)
{
    if (tess == nullptr) {
        return;
    }
    using Callback = void(CALLBACK*)();
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(&OnBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(&OnVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<Callback>(&OnEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(&OnCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(&OnError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    // Seen along this normal the tessellator's output turns counter-clockwise: the front faces +z.
    gluTessNormal(tess, 0.0, 0.0, 1.0);
}

SolidGlyphBuilder::~SolidGlyphBuilder()
{
    if (tess != nullptr) {
        gluDeleteTess(tess);
        tess = nullptr;
    }
}

void CALLBACK SolidGlyphBuilder::OnBegin(GLenum mode, void* builder)
{
    SolidGlyphBuilder& self = *static_cast<SolidGlyphBuilder*>(builder);
    self.runMode = mode;
    self.run.clear();
}

void CALLBACK SolidGlyphBuilder::OnVertex(void* vertex, void* builder)
{
    SolidGlyphBuilder& self = *static_cast<SolidGlyphBuilder*>(builder);
    const size_t index = static_cast<size_t>(reinterpret_cast<uintptr_t>(vertex));
    const size_t points = static_cast<size_t>(self.pointCount);
    if (index >= points + self.crossings.size()) {
        self.failed = true;
        return;
    }
    if (self.faceVertex[index] < 0) {
        const GLdouble* at = index < points ? &self.coords[index * 3] : nullptr;
        const float x = at != nullptr ? static_cast<float>(at[0]) : self.crossings[index - points].x;
        const float y = at != nullptr ? static_cast<float>(at[1]) : self.crossings[index - points].y;
        self.faceVertex[index] = self.target->VertexCount();
        PushVertex(*self.target, x, y, 0.0f, 0.0f, 0.0f, 1.0f);
    }
    self.run.push_back(static_cast<GLuint>(self.faceVertex[index]));
}

void CALLBACK SolidGlyphBuilder::OnEnd(void* builder)
{
    // The fan, strip or separate triangles the tessellator just gave, as plain triangles in the same turn.
    SolidGlyphBuilder& self = *static_cast<SolidGlyphBuilder*>(builder);
    GlyphMesh& mesh = *self.target;
    const std::vector<GLuint>& v = self.run;
    for (size_t i = 0; i + 2 < v.size(); ++i) {
        if (self.runMode == GL_TRIANGLE_FAN) {
            AddTriangle(mesh, v[0], v[i + 1], v[i + 2]);
        } else if (self.runMode == GL_TRIANGLE_STRIP) {
            i % 2 == 0 ? AddTriangle(mesh, v[i], v[i + 1], v[i + 2]) : AddTriangle(mesh, v[i + 1], v[i], v[i + 2]);
        } else if (i % 3 == 0) {
            AddTriangle(mesh, v[i], v[i + 1], v[i + 2]);
        } else {
            continue;
        }
        ++mesh.faceTriangles;
    }
    self.run.clear();
}

void SolidGlyphBuilder::AddTriangle(GlyphMesh& mesh, GLuint a, GLuint b, GLuint c)
{
    mesh.triangles.push_back(a);
    mesh.triangles.push_back(b);
    mesh.triangles.push_back(c);
}

void CALLBACK SolidGlyphBuilder::OnCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* builder)
{
    SolidGlyphBuilder& self = *static_cast<SolidGlyphBuilder*>(builder);
    *out = reinterpret_cast<void*>(static_cast<uintptr_t>(self.pointCount + self.crossings.size()));
    self.crossings.push_back({static_cast<float>(coords[0]), static_cast<float>(coords[1])});
    self.faceVertex.push_back(-1);
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
    target = &mesh;
    pointCount = static_cast<int>(contours.points.size());
    coords.resize(contours.points.size() * 3);
    crossings.clear();
    faceVertex.assign(contours.points.size(), -1);
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
    target = nullptr;
    if (failed) {
        mesh.Clear();
        return false;
    }
    AddBackFace(mesh, depth);
    AddSides(mesh, contours, depth);
    return true;
}

void SolidGlyphBuilder::AddBackFace(GlyphMesh& mesh, float depth)
{
    // Every front vertex again at the back, facing -z, and every front triangle through them turned over.
    const GLuint frontVertices = static_cast<GLuint>(mesh.VertexCount());
    for (GLuint v = 0; v < frontVertices; ++v) {
        PushVertex(mesh, mesh.vertices[v * 3], mesh.vertices[v * 3 + 1], -depth, 0.0f, 0.0f, -1.0f);
    }
    const size_t frontCorners = mesh.triangles.size();
    for (size_t i = 0; i < frontCorners; i += 3) {
        AddTriangle(mesh, mesh.triangles[i] + frontVertices, mesh.triangles[i + 2] + frontVertices,
                    mesh.triangles[i + 1] + frontVertices);
    }
}

void SolidGlyphBuilder::AddSides(GlyphMesh& mesh, const GlyphContours& contours, float depth)
{
    // TrueType keeps the filled side of every contour on the right of its direction; other fonts may run
    // the other way round. The sign of the whole area tells which side is outside.
    const float outward = SignedArea(contours) < 0.0 ? 1.0f : -1.0f;
    int begin = 0;
    for (int end : contours.contourEnds) {
        // The contour's edges of non-zero length, each with its outward normal: left of the direction of
        // travel, (-dy, dx), for TrueType's order.
        edgeStarts.clear();
        edgeNormals.clear();
        for (int i = begin; i < end; ++i) {
            const OutlinePoint& a = contours.points[i];
            const OutlinePoint& b = contours.points[i + 1 < end ? i + 1 : begin];
            const float dx = b.x - a.x;
            const float dy = b.y - a.y;
            const float length = sqrtf(dx * dx + dy * dy);
            if (length > 0.0f) {
                edgeStarts.push_back(i);
                edgeNormals.push_back({-dy / length * outward, dx / length * outward});
            }
        }
        const int edges = static_cast<int>(edgeStarts.size());
        auto corner = [&](int edge) {  // does a corner stand at the start of this edge?
            const OutlinePoint& before = edgeNormals[(edge + edges - 1) % edges];
            const OutlinePoint& after = edgeNormals[edge];
            return before.x * after.x + before.y * after.y < SIDE_CORNER_COSINE;
        };
        int first = 0;
        while (first < edges && !corner(first)) {
            ++first;
        }
        const bool smoothAllRound = first == edges;
        if (smoothAllRound) {
            first = 0;
        }

        // One band of quads round the contour, each between two pairs of vertices (back and front of a point).
        // At a corner the point comes twice, with the normal of the edge before it and then of the edge after.
        int previous = -1;  // the first vertex of the pair before, if a quad joins it to the next
        auto pushPair = [&](int point, OutlinePoint normal, bool joined) {
            const OutlinePoint& p = contours.points[point];
            const GLuint at = static_cast<GLuint>(mesh.VertexCount());
            // Back then front turns the quad about its left side, outward for TrueType's order.
            const float nearZ = outward > 0.0f ? -depth : 0.0f;
            const float farZ = outward > 0.0f ? 0.0f : -depth;
            PushVertex(mesh, p.x, p.y, nearZ, normal.x, normal.y, 0.0f);
            PushVertex(mesh, p.x, p.y, farZ, normal.x, normal.y, 0.0f);
            if (joined && previous >= 0) {
                const GLuint from = static_cast<GLuint>(previous);
                AddTriangle(mesh, from, from + 1, at + 1);
                AddTriangle(mesh, from, at + 1, at);
                ++mesh.sideQuads;
            }
            previous = static_cast<int>(at);
        };
        auto averaged = [&](int edge) {  // the normal at the start of an edge on a smooth stretch
            const OutlinePoint& before = edgeNormals[(edge + edges - 1) % edges];
            const OutlinePoint& after = edgeNormals[edge];
            const float x = before.x + after.x;
            const float y = before.y + after.y;
            const float length = sqrtf(x * x + y * y);
            return length > 0.0f ? OutlinePoint{x / length, y / length} : after;
        };
        for (int k = 0; k < edges; ++k) {
            const int edge = (first + k) % edges;
            const int next = (edge + 1) % edges;
            const int endPoint = edgeStarts[edge] + 1 < end ? edgeStarts[edge] + 1 : begin;
            if (k == 0) {
                pushPair(edgeStarts[edge], smoothAllRound ? averaged(edge) : edgeNormals[edge], false);
            }
            const bool cornerNext = !smoothAllRound && corner(next);
            pushPair(endPoint, cornerNext ? edgeNormals[edge] : averaged(next), true);
            if (cornerNext && k < edges - 1) {
                pushPair(endPoint, edgeNormals[next], false);
            }
        }
        begin = end;
    }
}

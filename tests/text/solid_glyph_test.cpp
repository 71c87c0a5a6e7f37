// The arithmetic of solid glyphs, without a window: GDI's native outline records read and flattened, and
// the faces and sides the builder makes of them.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "text/glyph_outline.h"
#include "text/solid_glyph_builder.h"

namespace {

struct Triangle {
    float p[3][3];
    float n[3];           // the first corner's normal
    float corners[3][3];  // every corner's normal
};

// Every triangle of the mesh, as GL would assemble it from the runs.
std::vector<Triangle> Triangles(const GlyphMesh& mesh)
{
    std::vector<Triangle> out;
    auto make = [&](GLint a, GLint b, GLint c) {
        Triangle t;
        const GLint corners[3] = {a, b, c};
        for (int k = 0; k < 3; ++k) {
            memcpy(t.p[k], &mesh.vertices[corners[k] * 3], sizeof(t.p[k]));
            memcpy(t.corners[k], &mesh.normals[corners[k] * 3], sizeof(t.corners[k]));
        }
        memcpy(t.n, &mesh.normals[a * 3], sizeof(t.n));
        out.push_back(t);
    };
    for (const MeshRun& run : mesh.runs) {
        const GLint f = run.first;
        for (GLint i = 0; i + 2 < run.count; ++i) {
            if (run.mode == GL_TRIANGLES && i % 3 == 0) {
                make(f + i, f + i + 1, f + i + 2);
            } else if (run.mode == GL_TRIANGLE_FAN) {
                make(f, f + i + 1, f + i + 2);
            } else if (run.mode == GL_TRIANGLE_STRIP) {
                i % 2 == 0 ? make(f + i, f + i + 1, f + i + 2) : make(f + i + 1, f + i, f + i + 2);
            } else if (run.mode == GL_QUAD_STRIP && i % 2 == 0) {
                make(f + i, f + i + 1, f + i + 3);
                make(f + i, f + i + 3, f + i + 2);
            }
        }
    }
    return out;
}

// The triangle's normal from its winding (counter-clockwise about it), and twice its area.
void WindingNormal(const Triangle& t, float out[3], float& area)
{
    const float u[3] = {t.p[1][0] - t.p[0][0], t.p[1][1] - t.p[0][1], t.p[1][2] - t.p[0][2]};
    const float v[3] = {t.p[2][0] - t.p[0][0], t.p[2][1] - t.p[0][1], t.p[2][2] - t.p[0][2]};
    out[0] = u[1] * v[2] - u[2] * v[1];
    out[1] = u[2] * v[0] - u[0] * v[2];
    out[2] = u[0] * v[1] - u[1] * v[0];
    area = sqrtf(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
}

GlyphContours Squares(bool clockwise, bool withHole)
{
    GlyphContours c;
    const OutlinePoint outer[4] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};  // clockwise, as TrueType
    const OutlinePoint inner[4] = {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.75f, 0.75f}, {0.25f, 0.75f}};
    for (int i = 0; i < 4; ++i) {
        c.points.push_back(outer[clockwise ? i : 3 - i]);
    }
    c.contourEnds.push_back(4);
    if (withHole) {
        for (int i = 0; i < 4; ++i) {
            c.points.push_back(inner[clockwise ? i : 3 - i]);
        }
        c.contourEnds.push_back(8);
    }
    return c;
}

struct Faces {
    int front = 0;
    int back = 0;
    float frontArea = 0.0f;
    std::vector<Triangle> sides;
};

// Sorts the triangles by the plane they lie in, checking on the way that each one's winding agrees with
// its normals and that the faces point the right way.
Faces Sort(const GlyphMesh& mesh, float depth)
{
    Faces faces;
    for (const Triangle& t : Triangles(mesh)) {
        float w[3], area;
        WindingNormal(t, w, area);
        if (area < 1e-9f) {
            continue;  // a strip's turn-over vertex, or the quad that turns a corner, covers nothing
        }
        EXPECT_GT((w[0] * t.n[0] + w[1] * t.n[1] + w[2] * t.n[2]) / area, 0.99f) << "winding against normal";
        if (t.p[0][2] == 0.0f && t.p[1][2] == 0.0f && t.p[2][2] == 0.0f) {
            EXPECT_EQ(t.n[2], 1.0f);
            ++faces.front;
            faces.frontArea += area / 2.0f;
        } else if (t.p[0][2] == -depth && t.p[1][2] == -depth && t.p[2][2] == -depth) {
            EXPECT_EQ(t.n[2], -1.0f);
            ++faces.back;
        } else {
            EXPECT_EQ(t.n[2], 0.0f);
            faces.sides.push_back(t);
        }
    }
    return faces;
}

TEST(SolidGlyphBuilder, SquaresWithAndWithoutAHoleHaveFacesAndFlatSidesFacingOut)
{
    for (bool hole : {false, true}) {
        for (bool clockwise : {true, false}) {
            SCOPED_TRACE(std::string(hole ? "with a hole, " : "") + (clockwise ? "clockwise" : "counter-clockwise"));
            SolidGlyphBuilder builder;
            GlyphMesh mesh;
            ASSERT_TRUE(builder.Build(Squares(clockwise, hole), 0.1f, mesh));
            const Faces faces = Sort(mesh, 0.1f);
            EXPECT_EQ(faces.front, mesh.faceTriangles);
            EXPECT_EQ(faces.back, mesh.faceTriangles);
            EXPECT_NEAR(faces.frontArea, hole ? 0.75f : 1.0f, 1e-5f);  // the hole stays open
            if (!hole) {
                EXPECT_EQ(mesh.faceTriangles, 2);
            }
            EXPECT_EQ(mesh.sideQuads, hole ? 8 : 4);
            ASSERT_EQ(faces.sides.size(), 2u * mesh.sideQuads);
            for (const Triangle& t : faces.sides) {
                const float cx = (t.p[0][0] + t.p[1][0] + t.p[2][0]) / 3.0f - 0.5f;
                const float cy = (t.p[0][1] + t.p[1][1] + t.p[2][1]) / 3.0f - 0.5f;
                const bool onHole = fabsf(cx) < 0.3f && fabsf(cy) < 0.3f;
                // Away from the material: out of the square, into the hole.
                EXPECT_GT((cx * t.n[0] + cy * t.n[1]) * (onHole ? -1.0f : 1.0f), 0.2f);
                for (int k = 1; k < 3; ++k) {  // a corner keeps each quad flat
                    EXPECT_EQ(t.corners[k][0], t.n[0]);
                    EXPECT_EQ(t.corners[k][1], t.n[1]);
                }
            }
        }
    }
}

TEST(SolidGlyphBuilder, CurvedSidesAreShadedRound)
{
    // A circle of 32 edges, 11.25 degrees apart: one strip round, each point's normal the point itself.
    GlyphContours circle;
    for (int i = 0; i < 32; ++i) {
        const float a = -static_cast<float>(i) * 6.2831853f / 32.0f;  // clockwise
        circle.points.push_back({cosf(a), sinf(a)});
    }
    circle.contourEnds.push_back(32);
    SolidGlyphBuilder builder;
    GlyphMesh mesh;
    ASSERT_TRUE(builder.Build(circle, 0.1f, mesh));
    EXPECT_EQ(mesh.sideQuads, 32);
    const MeshRun& side = mesh.runs.back();
    EXPECT_EQ(side.mode, static_cast<GLenum>(GL_QUAD_STRIP));
    EXPECT_EQ(side.count, 66);  // 33 pairs: round once, and back to the first
    for (GLint v = side.first; v < side.first + side.count; ++v) {
        EXPECT_NEAR(mesh.normals[v * 3], mesh.vertices[v * 3], 1e-4f);
        EXPECT_NEAR(mesh.normals[v * 3 + 1], mesh.vertices[v * 3 + 1], 1e-4f);
    }
}

TEST(GlyphOutline, CurveIsFlattenedWithinTheTolerance)
{
    struct Case {
        OutlinePoint p0, p1, p2;
        float tolerance;
    };
    const Case cases[] = {
        {{0, 0}, {0.5f, 1.0f}, {1, 0}, 1.0f / 512.0f},
        {{0, 0}, {0.5f, 1.0f}, {1, 0}, 1.0f / 2048.0f},
        {{0, 0}, {0.7f, 0.0f}, {0.7f, 0.7f}, 1.0f / 512.0f},
        {{0.2f, 0.1f}, {0.21f, 0.12f}, {0.22f, 0.1f}, 1.0f / 512.0f},
    };
    for (const Case& c : cases) {
        std::vector<OutlinePoint> line = {c.p0};
        FlattenQuadratic(c.p0, c.p1, c.p2, c.tolerance, line);
        EXPECT_EQ(line.back().x, c.p2.x);
        EXPECT_EQ(line.back().y, c.p2.y);
        // Every point of the true curve lies within the tolerance of the polyline.
        float worst = 0.0f;
        for (int s = 0; s <= 1000; ++s) {
            const float t = s / 1000.0f, u = 1.0f - t;
            const float x = u * u * c.p0.x + 2 * u * t * c.p1.x + t * t * c.p2.x;
            const float y = u * u * c.p0.y + 2 * u * t * c.p1.y + t * t * c.p2.y;
            float nearest = 1e9f;
            for (size_t i = 0; i + 1 < line.size(); ++i) {
                const float dx = line[i + 1].x - line[i].x, dy = line[i + 1].y - line[i].y;
                float k = ((x - line[i].x) * dx + (y - line[i].y) * dy) / (dx * dx + dy * dy);
                k = k < 0 ? 0 : (k > 1 ? 1 : k);
                nearest = fminf(nearest, hypotf(x - line[i].x - k * dx, y - line[i].y - k * dy));
            }
            worst = fmaxf(worst, nearest);
        }
        EXPECT_LE(worst, c.tolerance * 1.001f);
    }
    std::vector<OutlinePoint> straight;  // control point on the chord: one segment is exact
    FlattenQuadratic({0, 0}, {0.5f, 0.5f}, {1, 1}, 1.0f / 512.0f, straight);
    EXPECT_EQ(straight.size(), 1u);
}

// A GGO_NATIVE buffer by hand: one polygon from (0, 0), a spline through two control points to (2, 0),
// then a line to (2, -1).
std::vector<unsigned char> NativeBuffer()
{
    auto fx = [](float v) {
        POINTFX p = {};
        const LONG fixed = static_cast<LONG>(v * 65536.0f);
        memcpy(&p.x, &fixed, sizeof(fixed));
        return p.x;
    };
    auto point = [&](float x, float y) { return POINTFX{fx(x), fx(y)}; };
    std::vector<unsigned char> out(sizeof(TTPOLYGONHEADER));
    auto put = [&](const void* data, size_t size) {
        const unsigned char* b = static_cast<const unsigned char*>(data);
        out.insert(out.end(), b, b + size);
    };
    const WORD spline[2] = {TT_PRIM_QSPLINE, 3};
    put(spline, sizeof(spline));
    const POINTFX splinePoints[3] = {point(0.5f, 1), point(1.5f, 1), point(2, 0)};
    put(splinePoints, sizeof(splinePoints));
    const WORD line[2] = {TT_PRIM_LINE, 1};
    put(line, sizeof(line));
    const POINTFX linePoint = point(2, -1);
    put(&linePoint, sizeof(linePoint));
    TTPOLYGONHEADER header = {static_cast<DWORD>(out.size()), TT_POLYGON_TYPE, point(0, 0)};
    memcpy(out.data(), &header, sizeof(header));
    return out;
}

TEST(GlyphOutline, NativeRecordsAreReadAndMalformedOnesRefused)
{
    const std::vector<unsigned char> good = NativeBuffer();
    GlyphContours contours;
    ASSERT_TRUE(ParseNativeOutline(good.data(), good.size(), 0.5f, 1.0f, contours));
    // The tolerance is coarse: each of the two quadratics is one line, to (0.5, 0.5) the midpoint of the
    // two control points, then to (1, 0); then the line; all at half scale.
    const std::vector<float> expected = {0, 0, 0.5f, 0.5f, 1, 0, 1, -0.5f};
    ASSERT_EQ(contours.points.size(), 4u);
    ASSERT_EQ(contours.contourEnds, std::vector<int>{4});
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(contours.points[i].x, expected[i * 2]);
        EXPECT_EQ(contours.points[i].y, expected[i * 2 + 1]);
    }

    struct Fault {
        const char* what;
        size_t offset;  // where the bytes are changed
        DWORD value;
        size_t size;  // how much of the buffer is passed
    };
    const size_t countOffset = sizeof(TTPOLYGONHEADER) + sizeof(WORD);
    const Fault faults[] = {
        {"polygon longer than the buffer", 0, static_cast<DWORD>(good.size() + 1), good.size()},
        {"polygon shorter than its header", 0, 4, good.size()},
        {"not a polygon", offsetof(TTPOLYGONHEADER, dwType), 7, good.size()},
        {"curve points past the polygon", countOffset, 0xFFFF, good.size()},
        {"curve of no points", countOffset, 0, good.size()},
        {"buffer cut inside the header", 0, static_cast<DWORD>(good.size()), 10},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.what);
        std::vector<unsigned char> bad = good;
        const size_t width = fault.offset == countOffset ? sizeof(WORD) : sizeof(DWORD);
        memcpy(bad.data() + fault.offset, &fault.value, width);
        EXPECT_FALSE(ParseNativeOutline(bad.data(), fault.size, 1.0f, 0.01f, contours));
        EXPECT_TRUE(contours.points.empty());
        EXPECT_TRUE(contours.contourEnds.empty());
    }
}

}  // namespace

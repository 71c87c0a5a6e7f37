// The arithmetic of solid glyphs, without a window: GDI's native outline records read and flattened, and
// the faces and sides the builder makes of them.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <vector>

#include "text/glyph_outline.h"
#include "text/solid_glyph_builder.h"

namespace {

struct Triangle {
    float p[3][3];
    float n[3][3];  // each corner's normal
    float w[3];     // the normal of its winding (counter-clockwise about it), as long as twice its area
};

// Every triangle of the mesh, with its corners' positions and normals.
std::vector<Triangle> Triangles(const GlyphMesh& mesh)
{
    std::vector<Triangle> out;
    for (size_t i = 0; i + 2 < mesh.triangles.size(); i += 3) {
        Triangle t;
        for (int k = 0; k < 3; ++k) {
            memcpy(t.p[k], &mesh.vertices[mesh.triangles[i + k] * 3], sizeof(t.p[k]));
            memcpy(t.n[k], &mesh.normals[mesh.triangles[i + k] * 3], sizeof(t.n[k]));
        }
        for (int k = 0; k < 3; ++k) {  // (p1 - p0) x (p2 - p0)
            const int u = (k + 1) % 3, v = (k + 2) % 3;
            const float* a = t.p[0];
            t.w[k] = (t.p[1][u] - a[u]) * (t.p[2][v] - a[v]) - (t.p[1][v] - a[v]) * (t.p[2][u] - a[u]);
        }
        out.push_back(t);
    }
    return out;
}

// A unit square, clockwise as TrueType or the other way round, with or without a square hole in the middle.
GlyphContours Squares(bool clockwise, bool withHole)
{
    GlyphContours c;
    const OutlinePoint corners[2][4] = {{{0, 0}, {0, 1}, {1, 1}, {1, 0}},
                                        {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.75f, 0.75f}, {0.25f, 0.75f}}};
    for (int contour = 0; contour < (withHole ? 2 : 1); ++contour) {
        for (int i = 0; i < 4; ++i) {
            c.points.push_back(corners[contour][clockwise ? i : 3 - i]);
        }
        c.contourEnds.push_back(4 * (contour + 1));
    }
    return c;
}

TEST(SolidGlyphBuilder, SquaresWithAndWithoutAHoleHaveFacesAndFlatSidesFacingOut)
{
    for (int shape = 0; shape < 4; ++shape) {
        const bool hole = shape >= 2, clockwise = shape % 2 == 0;
        SCOPED_TRACE(testing::Message() << (hole ? "with a hole, " : "") << (clockwise ? "clockwise" : "anti"));
        SolidGlyphBuilder builder;
        GlyphMesh mesh;
        ASSERT_TRUE(builder.Build(Squares(clockwise, hole), 0.1f, mesh));
        int front = 0, back = 0, sides = 0;
        float frontArea = 0.0f;
        for (const Triangle& t : Triangles(mesh)) {
            const float area = sqrtf(t.w[0] * t.w[0] + t.w[1] * t.w[1] + t.w[2] * t.w[2]);
            ASSERT_GT(area, 1e-9f) << "a triangle that covers nothing";
            const float* n = t.n[0];
            EXPECT_GT((t.w[0] * n[0] + t.w[1] * n[1] + t.w[2] * n[2]) / area, 0.99f) << "winding against normal";
            const float z = t.p[0][2];
            if (z == t.p[1][2] && z == t.p[2][2]) {
                EXPECT_EQ(n[2], z == 0.0f ? 1.0f : -1.0f);
                EXPECT_TRUE(z == 0.0f || z == -0.1f);
                front += z == 0.0f;
                back += z != 0.0f;
                frontArea += z == 0.0f ? area / 2.0f : 0.0f;
                continue;
            }
            ++sides;
            EXPECT_EQ(n[2], 0.0f);
            const float cx = (t.p[0][0] + t.p[1][0] + t.p[2][0]) / 3.0f - 0.5f;
            const float cy = (t.p[0][1] + t.p[1][1] + t.p[2][1]) / 3.0f - 0.5f;
            const bool onHole = fabsf(cx) < 0.3f && fabsf(cy) < 0.3f;
            // Away from the material: out of the square, into the hole.
            EXPECT_GT((cx * n[0] + cy * n[1]) * (onHole ? -1.0f : 1.0f), 0.2f);
            for (int k = 1; k < 3; ++k) {  // a corner keeps each quad flat
                EXPECT_EQ(t.n[k][0], n[0]);
                EXPECT_EQ(t.n[k][1], n[1]);
            }
        }
        EXPECT_EQ(front, mesh.faceTriangles);
        EXPECT_EQ(back, mesh.faceTriangles);
        EXPECT_NEAR(frontArea, hole ? 0.75f : 1.0f, 1e-5f);  // the hole stays open
        EXPECT_TRUE(hole || mesh.faceTriangles == 2);
        EXPECT_EQ(mesh.sideQuads, hole ? 8 : 4);
        EXPECT_EQ(sides, 2 * mesh.sideQuads);
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
    int sideVertices = 0;
    for (int v = 0; v < mesh.VertexCount(); ++v) {
        if (mesh.normals[v * 3 + 2] == 0.0f) {
            ++sideVertices;
            EXPECT_NEAR(mesh.normals[v * 3], mesh.vertices[v * 3], 1e-4f);
            EXPECT_NEAR(mesh.normals[v * 3 + 1], mesh.vertices[v * 3 + 1], 1e-4f);
        }
    }
    EXPECT_EQ(sideVertices, 66);                 // 33 pairs: round once, and back to the first
    EXPECT_EQ(mesh.VertexCount(), 2 * 32 + 66);  // each face shares its 32 points between its triangles
}

TEST(GlyphOutline, CurveIsFlattenedWithinTheTolerance)
{
    const OutlinePoint cases[][3] = {{{0, 0}, {0.5f, 1.0f}, {1, 0}},
                                     {{0, 0}, {0.7f, 0.0f}, {0.7f, 0.7f}},
                                     {{0.2f, 0.1f}, {0.21f, 0.12f}, {0.22f, 0.1f}}};
    for (const auto& c : cases) {
        for (float tolerance : {1.0f / 512.0f, 1.0f / 2048.0f}) {
            std::vector<OutlinePoint> line = {c[0]};
            FlattenQuadratic(c[0], c[1], c[2], tolerance, line);
            EXPECT_EQ(line.back().x, c[2].x);
            EXPECT_EQ(line.back().y, c[2].y);
            // Every point of the true curve lies within the tolerance of the polyline.
            float worst = 0.0f;
            for (int s = 0; s <= 1000; ++s) {
                const float t = s / 1000.0f, u = 1.0f - t;
                const float x = u * u * c[0].x + 2 * u * t * c[1].x + t * t * c[2].x;
                const float y = u * u * c[0].y + 2 * u * t * c[1].y + t * t * c[2].y;
                float nearest = 1e9f;
                for (size_t i = 0; i + 1 < line.size(); ++i) {
                    const float dx = line[i + 1].x - line[i].x, dy = line[i + 1].y - line[i].y;
                    const float k =
                        fmaxf(0, fminf(1, ((x - line[i].x) * dx + (y - line[i].y) * dy) / (dx * dx + dy * dy)));
                    nearest = fminf(nearest, hypotf(x - line[i].x - k * dx, y - line[i].y - k * dy));
                }
                worst = fmaxf(worst, nearest);
            }
            EXPECT_LE(worst, tolerance * 1.001f);
        }
    }
    std::vector<OutlinePoint> straight;  // control point on the chord: one segment is exact
    FlattenQuadratic({0, 0}, {0.5f, 0.5f}, {1, 1}, 1.0f / 512.0f, straight);
    EXPECT_EQ(straight.size(), 1u);
}

// A GGO_NATIVE buffer by hand: one polygon from (0, 0), a spline through two control points to (2, 0),
// then a line to (2, -1); coordinates in FIXED, 16.16.
std::vector<unsigned char> NativeBuffer()
{
    const LONG fixed[] = {0x8000, 0x10000, 0x18000, 0x10000, 0x20000, 0, 0x20000, -0x10000};
    const WORD spline[2] = {TT_PRIM_QSPLINE, 3}, line[2] = {TT_PRIM_LINE, 1};
    std::vector<unsigned char> out(sizeof(TTPOLYGONHEADER));
    auto put = [&](const void* data, size_t size) {
        out.insert(out.end(), static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size);
    };
    put(spline, sizeof(spline));
    put(fixed, 6 * sizeof(LONG));
    put(line, sizeof(line));
    put(fixed + 6, 2 * sizeof(LONG));
    TTPOLYGONHEADER header = {static_cast<DWORD>(out.size()), TT_POLYGON_TYPE, {}};
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
    const float expected[] = {0, 0, 0.5f, 0.5f, 1, 0, 1, -0.5f};
    ASSERT_EQ(contours.points.size(), 4u);
    ASSERT_EQ(contours.contourEnds, std::vector<int>{4});
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(contours.points[i].x, expected[i * 2]);
        EXPECT_EQ(contours.points[i].y, expected[i * 2 + 1]);
    }
    const size_t countAt = sizeof(TTPOLYGONHEADER) + sizeof(WORD);
    const struct {
        const char* what;
        size_t offset, width;  // the bytes changed
        DWORD value;
        size_t size;  // how much of the buffer is passed
    } faults[] = {
        {"polygon longer than the buffer", 0, 4, static_cast<DWORD>(good.size() + 1), good.size()},
        {"polygon shorter than its header", 0, 4, 4, good.size()},
        {"not a polygon", offsetof(TTPOLYGONHEADER, dwType), 4, 7, good.size()},
        {"curve points past the polygon", countAt, 2, 0xFFFF, good.size()},
        {"curve of no points", countAt, 2, 0, good.size()},
        {"buffer cut inside the header", 0, 4, static_cast<DWORD>(good.size()), 10},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.what);
        std::vector<unsigned char> bad = good;
        memcpy(bad.data() + fault.offset, &fault.value, fault.width);
        EXPECT_FALSE(ParseNativeOutline(bad.data(), fault.size, 1.0f, 0.01f, contours));
        EXPECT_TRUE(contours.points.empty());
        EXPECT_TRUE(contours.contourEnds.empty());
    }
}

}  // namespace

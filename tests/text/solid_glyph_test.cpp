// The arithmetic of solid glyphs, without a window: GDI's native outline records read and flattened, and
// the faces and sides the builder makes of them.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <vector>

#include "text/glyph_outline.h"
#include "text/solid_glyph_builder.h"

namespace {

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
        for (size_t i = 0; i + 2 < mesh.triangles.size(); i += 3) {
            const float* p[3];
            for (int k = 0; k < 3; ++k) {
                p[k] = &mesh.vertices[mesh.triangles[i + k] * 3];
            }
            float w[3];  // (p1 - p0) x (p2 - p0): the normal its winding turns about, as long as twice its area
            for (int k = 0; k < 3; ++k) {
                const int u = (k + 1) % 3, v = (k + 2) % 3;
                w[k] = (p[1][u] - p[0][u]) * (p[2][v] - p[0][v]) - (p[1][v] - p[0][v]) * (p[2][u] - p[0][u]);
            }
            const float twiceArea = sqrtf(w[0] * w[0] + w[1] * w[1] + w[2] * w[2]);
            // Every corner's normal along the winding (so a side quad stays flat); a sliver fails as well.
            for (int k = 0; k < 3; ++k) {
                const float* n = &mesh.normals[mesh.triangles[i + k] * 3];
                EXPECT_GT((w[0] * n[0] + w[1] * n[1] + w[2] * n[2]) / twiceArea, 0.99f) << "winding against normal";
            }
            const float* n = &mesh.normals[mesh.triangles[i] * 3];
            const float z = p[0][2];
            if (z == p[1][2] && z == p[2][2]) {
                EXPECT_EQ(n[2], z == 0.0f ? 1.0f : -1.0f);
                EXPECT_TRUE(z == 0.0f || z == -0.1f);
                ++(z == 0.0f ? front : back);
                frontArea += z == 0.0f ? twiceArea / 2.0f : 0.0f;
                continue;
            }
            ++sides;
            EXPECT_EQ(n[2], 0.0f);
            const float cx = (p[0][0] + p[1][0] + p[2][0]) / 3.0f - 0.5f;
            const float cy = (p[0][1] + p[1][1] + p[2][1]) / 3.0f - 0.5f;
            const bool onHole = fabsf(cx) < 0.3f && fabsf(cy) < 0.3f;
            // Away from the material: out of the square, into the hole.
            EXPECT_GT((cx * n[0] + cy * n[1]) * (onHole ? -1.0f : 1.0f), 0.2f);
        }
        EXPECT_EQ(back, front);
        EXPECT_NEAR(frontArea, hole ? 0.75f : 1.0f, 1e-5f);  // the hole stays open
        EXPECT_EQ(sides, hole ? 16 : 8);                     // a quad along every edge
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
    // Each face shares its 32 points between its triangles; the sides have 33 pairs, round and back to the first.
    ASSERT_EQ(mesh.VertexCount(), 2 * 32 + 66);
    for (int v = 0; v < mesh.VertexCount(); ++v) {
        if (mesh.normals[v * 3 + 2] == 0.0f) {
            EXPECT_NEAR(mesh.normals[v * 3], mesh.vertices[v * 3], 1e-4f);
            EXPECT_NEAR(mesh.normals[v * 3 + 1], mesh.vertices[v * 3 + 1], 1e-4f);
        }
    }
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
            // Every point of the true curve, its end included, lies within the tolerance of the polyline.
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

// A GGO_NATIVE buffer by hand: one polygon of 56 bytes from (0, 0), a spline through two control points to
// (2, 0), then a line to (2, -1); coordinates in FIXED, 16.16, and each record's type and count in one LONG.
std::vector<unsigned char> NativeBuffer()
{
    const LONG polygon[] = {56,      TT_POLYGON_TYPE, 0,       0, MAKELONG(TT_PRIM_QSPLINE, 3), 0x8000,  0x10000,
                            0x18000, 0x10000,         0x20000, 0, MAKELONG(TT_PRIM_LINE, 1),    0x20000, -0x10000};
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(polygon);
    return std::vector<unsigned char>(bytes, bytes + sizeof(polygon));
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
        EXPECT_TRUE(contours.points.empty() && contours.contourEnds.empty());
    }
}

}  // namespace

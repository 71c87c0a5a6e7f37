// Glyph outlines as GDI hands them out (GGO_NATIVE: TrueType polygons of lines and quadratic splines),
// flattened into closed contours of points, scaled to the units the glyph lists are drawn in.
#pragma once

#include <stddef.h>

#include <vector>

struct OutlinePoint {
    float x;
    float y;
};

// Closed contours, one after another in `points`; contour i ends before contourEnds[i]. The closing edge
// from a contour's last point back to its first is implied.
struct GlyphContours {
    std::vector<OutlinePoint> points;
    std::vector<int> contourEnds;

    void Clear()
    {
        points.clear();
        contourEnds.clear();
    }
};

// Line segments per quadratic spline p0-p1-p2 so that no chord strays further than `tolerance` from the
// curve. The second difference of a quadratic is constant, so n equal steps in the parameter each stray
// |p0 - 2 p1 + p2| / (4 n^2) at most.
int QuadraticSegments(OutlinePoint p0, OutlinePoint p1, OutlinePoint p2, float tolerance);

// Appends the spline p0-p1-p2 as line segments: the points after p0, up to and including p2.
void FlattenQuadratic(OutlinePoint p0, OutlinePoint p1, OutlinePoint p2, float tolerance,
                      std::vector<OutlinePoint>& out);

// Reads a GGO_NATIVE outline buffer into contours, every coordinate multiplied by `scale`, splines
// flattened to `tolerance` (in scaled units). Cubic splines are not TrueType's and are taken as lines
// through their points. Returns false, with `contours` cleared, when the buffer is malformed.
bool ParseNativeOutline(const void* data, size_t size, float scale, float tolerance, GlyphContours& contours);

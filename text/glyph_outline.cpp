// Reading GDI's native glyph outlines: the polygon and curve records, FIXED coordinates, and the flattening
// of TrueType's quadratic B-splines.
#include "text/glyph_outline.h"

#include <windows.h>
#include <math.h>
#include <string.h>

namespace {

// Far more than any glyph needs; a corrupt or hostile outline cannot make one curve cost without bound.
const int MAX_SEGMENTS_PER_CURVE = 64;

float FixedToFloat(const FIXED& value)
{
    return static_cast<float>(value.value) + static_cast<float>(value.fract) / 65536.0f;
}

OutlinePoint ToPoint(const POINTFX& point, float scale)
{
    return {FixedToFloat(point.x) * scale, FixedToFloat(point.y) * scale};
}

OutlinePoint Midpoint(OutlinePoint a, OutlinePoint b)
{
    return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f};
}

bool SamePoint(OutlinePoint a, OutlinePoint b)
{
    return a.x == b.x && a.y == b.y;
}

}  // namespace

int QuadraticSegments(OutlinePoint p0, OutlinePoint p1, OutlinePoint p2, float tolerance)
{
    const float dx = p0.x - 2.0f * p1.x + p2.x;
    const float dy = p0.y - 2.0f * p1.y + p2.y;
    const float bend = sqrtf(dx * dx + dy * dy);
    if (!(tolerance > 0.0f) || !(bend == bend)) {
        return bend > 0.0f ? MAX_SEGMENTS_PER_CURVE : 1;
    }
    const float steps = ceilf(sqrtf(bend / (4.0f * tolerance)));
    if (!(steps < static_cast<float>(MAX_SEGMENTS_PER_CURVE))) {
        return MAX_SEGMENTS_PER_CURVE;
    }
    return steps < 1.0f ? 1 : static_cast<int>(steps);
}

void FlattenQuadratic(OutlinePoint p0, OutlinePoint p1, OutlinePoint p2, float tolerance,
                      std::vector<OutlinePoint>& out)
{
    const int segments = QuadraticSegments(p0, p1, p2, tolerance);
    for (int i = 1; i < segments; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(segments);
        const float u = 1.0f - t;
        out.push_back(
            {u * u * p0.x + 2.0f * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2.0f * u * t * p1.y + t * t * p2.y});
    }
    out.push_back(p2);
}

bool ParseNativeOutline(const void* data, size_t size, float scale, float tolerance, GlyphContours& contours)
{
    contours.Clear();
    const unsigned char* const bytes = static_cast<const unsigned char*>(data);
    size_t offset = 0;
    while (offset < size) {
        TTPOLYGONHEADER header;
        if (size - offset < sizeof(header)) {
            contours.Clear();
            return false;
        }
        memcpy(&header, bytes + offset, sizeof(header));
        if (header.dwType != TT_POLYGON_TYPE || header.cb < sizeof(header) || header.cb > size - offset) {
            contours.Clear();
            return false;
        }
        const size_t end = offset + header.cb;
        const size_t first = contours.points.size();
        OutlinePoint current = ToPoint(header.pfxStart, scale);
        contours.points.push_back(current);

        size_t at = offset + sizeof(header);
        while (at < end) {
            const size_t recordHead = offsetof(TTPOLYCURVE, apfx);
            WORD type = 0;
            WORD count = 0;
            if (end - at < recordHead) {
                contours.Clear();
                return false;
            }
            memcpy(&type, bytes + at + offsetof(TTPOLYCURVE, wType), sizeof(type));
            memcpy(&count, bytes + at + offsetof(TTPOLYCURVE, cpfx), sizeof(count));
            at += recordHead;
            if (count == 0 || (end - at) / sizeof(POINTFX) < count) {
                contours.Clear();
                return false;
            }
            POINTFX raw;
            if (type == TT_PRIM_QSPLINE) {
                // Between two control points lies an implied on-curve point, their midpoint; the last point
                // of the record is on the curve.
                memcpy(&raw, bytes + at, sizeof(raw));
                OutlinePoint control = ToPoint(raw, scale);
                for (WORD i = 1; i < count; ++i) {
                    memcpy(&raw, bytes + at + i * sizeof(POINTFX), sizeof(raw));
                    const OutlinePoint next = ToPoint(raw, scale);
                    const OutlinePoint onCurve = i + 1 < count ? Midpoint(control, next) : next;
                    FlattenQuadratic(current, control, onCurve, tolerance, contours.points);
                    current = onCurve;
                    control = next;
                }
                if (count == 1) {
                    contours.points.push_back(control);  // a lone point is a line to it
                    current = control;
                }
            } else {
                for (WORD i = 0; i < count; ++i) {
                    memcpy(&raw, bytes + at + i * sizeof(POINTFX), sizeof(raw));
                    current = ToPoint(raw, scale);
                    contours.points.push_back(current);
                }
            }
            at += count * sizeof(POINTFX);
        }
        // The contour closes on its start: a last point on the start would be an edge of no length.
        if (contours.points.size() - first > 1 && SamePoint(contours.points.back(), contours.points[first])) {
            contours.points.pop_back();
        }
        if (contours.points.size() - first < 3) {
            contours.points.resize(first);  // a contour of fewer than three points encloses nothing
        } else {
            contours.contourEnds.push_back(static_cast<int>(contours.points.size()));
        }
        offset = end;
    }
    return true;
}

// Pixel read-back and the colour classes of the demo: the three lit menu colours, the lit yellow of the crawl
// and its white stars.
#include "support/frame_pixels.h"

#include <GL/gl.h>
#include <algorithm>
#include <windows.h>

PixelClass ClassifyPixel(Rgb p)
{
    const int r = p.r, g = p.g, b = p.b;
    const int hi = std::max(r, std::max(g, b));
    const int lo = std::min(r, std::min(g, b));
    if (hi < 48) {
        return PixelClass::Black;
    }
    if (lo > 200 && hi - lo < 30) {
        return PixelClass::White;
    }
    if (b > r + r / 3 && b > g + g / 5) {
        return PixelClass::Normal;  // lit (0.42, 0.54, 0.945): blue well above red and green
    }
    if (r > 2 * g && r > 2 * b) {
        return PixelClass::Active;  // lit (0.92, 0.14, 0.15): red alone
    }
    if (r > b && g > 3 * b && g * 10 > r * 8) {
        return PixelClass::Yellow;  // lit (0.96, 0.9, 0.2): red and green, little blue
    }
    if (r > g && g > b && b * 10 > r * 6 && r - b > 20) {
        return PixelClass::Highlight;  // lit (0.78, 0.64, 0.59): a warm grey-brown
    }
    return PixelClass::Other;
}

void FramePixels::Capture(int frameWidth, int frameHeight)
{
    width = frameWidth;
    height = frameHeight;
    rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
}

Rgb FramePixels::At(int x, int y) const
{
    const size_t row = static_cast<size_t>(height - 1 - y);  // GL rows start at the bottom
    const size_t i = (row * width + x) * 3;
    return Rgb{rgb[i], rgb[i + 1], rgb[i + 2]};
}

RegionTally FramePixels::Tally(int x0, int y0, int x1, int y1) const
{
    RegionTally tally;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const Rgb p = At(x, y);
            const PixelClass kind = ClassifyPixel(p);
            ++tally.counts[static_cast<int>(kind)];
            if (kind == PixelClass::Yellow && p.r + p.g > tally.peakYellow) {
                tally.peakYellow = p.r + p.g;
            }
        }
    }
    return tally;
}

std::vector<RowBand> FramePixels::Bands(int x0, int x1, int mergeGap) const
{
    std::vector<RowBand> bands;
    for (int y = 0; y < height; ++y) {
        bool lit = false;
        for (int x = x0; x < x1 && !lit; ++x) {
            lit = ClassifyPixel(At(x, y)) != PixelClass::Black;
        }
        if (!lit) {
            continue;
        }
        if (!bands.empty() && y - bands.back().bottom <= mergeGap) {
            bands.back().bottom = y;
        } else {
            bands.push_back(RowBand{y, y});
        }
    }
    return bands;
}

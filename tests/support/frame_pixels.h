// What a person would see: the pixels of a rendered frame, sorted into the colours the demo uses.
#pragma once

#include <stdint.h>
#include <vector>

struct Rgb {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

enum class PixelClass { Black, Normal, Highlight, Active, Yellow, White, Other, COUNT };

PixelClass ClassifyPixel(Rgb pixel);

struct RowBand {
    int top;
    int bottom;  // inclusive
};

// A region's pixels by class, and the brightest red + green of its yellow ones (how strongly a line shows).
struct RegionTally {
    int counts[static_cast<int>(PixelClass::COUNT)] = {};
    int peakYellow = 0;
    int operator[](PixelClass kind) const { return counts[static_cast<int>(kind)]; }
};

class FramePixels {
public:
    // Reads the current GL colour buffer (the context must be current), rows from the top of the frame.
    void Capture(int width, int height);

    Rgb At(int x, int y) const;
    RegionTally Tally(int x0, int y0, int x1, int y1) const;
    RegionTally Tally(const RowBand& rows, int x0, int x1) const { return Tally(x0, rows.top, x1, rows.bottom + 1); }
    RegionTally Tally() const { return Tally(0, 0, width, height); }
    int Count(PixelClass kind, int x0, int y0, int x1, int y1) const { return Tally(x0, y0, x1, y1)[kind]; }
    // Runs of rows that hold lit pixels between columns x0 and x1; runs closer than mergeGap rows are joined.
    std::vector<RowBand> Bands(int x0, int x1, int mergeGap) const;

    int width = 0;
    int height = 0;

private:
    std::vector<uint8_t> rgb;
};

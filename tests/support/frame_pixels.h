// What a person would see: the pixels of a rendered frame, sorted into the colours the demo uses.
#pragma once

#include <stdint.h>
#include <vector>

struct Rgb {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

enum class PixelClass { Black, Normal, Highlight, Active, Yellow, White, Other };

PixelClass ClassifyPixel(Rgb pixel);

struct RowBand {
    int top;
    int bottom;  // inclusive
};

class FramePixels {
public:
    // Reads the current GL colour buffer (the context must be current), rows from the top of the frame.
    void Capture(int width, int height);

    Rgb At(int x, int y) const;
    int Count(PixelClass kind, int x0, int y0, int x1, int y1) const;
    int CountNonBlack(int x0, int y0, int x1, int y1) const;
    // The brightest red + green over a region: how strongly a yellow line shows.
    int PeakYellow(int x0, int y0, int x1, int y1) const;
    // The most frequent lit class in a region (Black if none).
    PixelClass Dominant(int x0, int y0, int x1, int y1) const;
    // Runs of rows that hold lit pixels between columns x0 and x1; runs closer than mergeGap rows are joined.
    std::vector<RowBand> Bands(int x0, int x1, int mergeGap) const;

    int width = 0;
    int height = 0;

private:
    std::vector<uint8_t> rgb;
};

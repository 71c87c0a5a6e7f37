// BGRX to YUV 4:2:0 in fixed point: Y from each pixel, U and V from each 2 x 2 block, rows taken top first.
#include "video/yuv_frame.h"

#include <stddef.h>
#include <stdint.h>

namespace {

// BT.601 studio range, scaled by 2^16: Y = 16 + 0.2568 R + 0.5041 G + 0.0979 B, and so on.
const int32_t Y_R = 16829, Y_G = 33039, Y_B = 6416;
const int32_t U_R = -9714, U_G = -19070, U_B = 28784;
const int32_t V_R = 28784, V_G = -24103, V_B = -4681;
const int32_t HALF = 1 << 15;

inline unsigned char Luma(const unsigned char* p)
{
    return static_cast<unsigned char>((Y_R * p[2] + Y_G * p[1] + Y_B * p[0] + HALF + (16 << 16)) >> 16);
}

}  // namespace

size_t Yuv420Bytes(int width, int height)
{
    return static_cast<size_t>(width) * height + 2 * (static_cast<size_t>(width / 2) * (height / 2));
}

void BgrxToYuv420(const unsigned char* bgrx, int width, int height, bool bottomFirst, unsigned char* yuv)
{
    const ptrdiff_t rowBytes = static_cast<ptrdiff_t>(width) * 4;
    const ptrdiff_t down = bottomFirst ? -rowBytes : rowBytes;  // from one output row to the next, in the input
    const unsigned char* first = bottomFirst ? bgrx + (height - 1) * rowBytes : bgrx;
    unsigned char* yPlane = yuv;
    unsigned char* uPlane = yuv + static_cast<size_t>(width) * height;
    unsigned char* vPlane = uPlane + static_cast<size_t>(width / 2) * (height / 2);
    for (int row = 0; row + 1 < height; row += 2) {
        const unsigned char* top = first + row * down;
        const unsigned char* bottom = top + down;
        unsigned char* yTop = yPlane + static_cast<size_t>(row) * width;
        unsigned char* yBottom = yTop + width;
        unsigned char* u = uPlane + static_cast<size_t>(row / 2) * (width / 2);
        unsigned char* v = vPlane + static_cast<size_t>(row / 2) * (width / 2);
        for (int x = 0; x + 1 < width; x += 2) {
            const unsigned char* a = top + x * 4;
            const unsigned char* b = bottom + x * 4;
            yTop[x] = Luma(a);
            yTop[x + 1] = Luma(a + 4);
            yBottom[x] = Luma(b);
            yBottom[x + 1] = Luma(b + 4);
            const int32_t blue = a[0] + a[4] + b[0] + b[4];
            const int32_t green = a[1] + a[5] + b[1] + b[5];
            const int32_t red = a[2] + a[6] + b[2] + b[6];
            // The sums are four pixels' worth: the scale takes two more bits off.
            u[x / 2] =
                static_cast<unsigned char>((U_R * red + U_G * green + U_B * blue + (HALF << 2) + (128 << 18)) >> 18);
            v[x / 2] =
                static_cast<unsigned char>((V_R * red + V_G * green + V_B * blue + (HALF << 2) + (128 << 18)) >> 18);
        }
    }
}

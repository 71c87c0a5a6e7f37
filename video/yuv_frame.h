// The conversion of a read-back frame into the encoder's picture: 32-bit BGRX rows, bottom row first as GL
// reads a window (or top row first), into planar YUV 4:2:0, top row first, BT.601 studio range (what the
// encoder would make of it).
#pragma once

#include <stddef.h>

// Bytes of a 4:2:0 picture: a full-size Y plane and U and V planes of half the width and half the height.
size_t Yuv420Bytes(int width, int height);

// Fills `yuv` (Yuv420Bytes) from `bgrx` (width x height x 4 bytes, its rows bottom row first when bottomFirst).
// Width and height must be even; each U and V sample is taken from the average of its 2 x 2 pixels.
void BgrxToYuv420(const unsigned char* bgrx, int width, int height, bool bottomFirst, unsigned char* yuv);

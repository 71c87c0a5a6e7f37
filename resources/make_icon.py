#!/usr/bin/env python3
"""Draws the program's icon (a yellow star over a dark blue disc with a white ring) and writes
kelvra.ico with a 32 x 32 and a 16 x 16 image, 8 bits per pixel. Standard library only."""
import math
import struct
import sys

PALETTE = [(0, 0, 0), (24, 32, 96), (245, 230, 51), (255, 255, 255), (107, 138, 241)]


def pixel(x, y, size):
    """Palette index of the pixel centre (x + 0.5, y + 0.5) on a size x size grid (y down)."""
    c = size / 2.0
    dx, dy = (x + 0.5 - c) / c, (y + 0.5 - c) / c
    r = math.hypot(dx, dy)
    if r > 0.98:
        return 0
    # Five-pointed star: the radius of its outline swings between an inner and an outer value.
    a = math.atan2(dx, -dy)
    k = (a / (2 * math.pi / 5)) % 1.0
    edge = 0.32 + 0.38 * abs(1.0 - 2.0 * k) ** 2.2
    if r < edge:
        return 2
    if r > 0.86:
        return 3
    return 1 if (x + y) % 7 else 4


def image(size):
    rows = [[pixel(x, y, size) for x in range(size)] for y in range(size)]
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    palette += b"\0" * (4 * (256 - len(PALETTE)))
    stride = (size + 3) & ~3
    xor = b"".join(bytes(row) + b"\0" * (stride - size) for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, idx in enumerate(row):
            if idx == 0:  # outside the disc: transparent
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + palette + xor + mask


def main(path):
    images = [(32, image(32)), (16, image(16))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "kelvra.ico")

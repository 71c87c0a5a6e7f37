#!/usr/bin/env python3
# Reads one frame of a capture (a binary PPM) the way a viewer would: the bands of rows that hold text in a
# column range, each with its dominant colour class, and the counts of each class in the whole frame; and the
# tiles of a contact sheet. Uses the colour classes of the end-to-end screenshots. Standard library only.
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import pixels  # noqa: E402


def bands(path, x0, x1):
    width, height, data = pixels.read_ppm(path)
    rows = []
    for y in range(height):
        kinds = {}
        for x in range(x0, min(x1, width)):
            i = (y * width + x) * 3
            kind = pixels.classify(data[i], data[i + 1], data[i + 2])
            if kind not in ("black", "other"):
                kinds[kind] = kinds.get(kind, 0) + 1
        rows.append(kinds)
    found = []
    for y, kinds in enumerate(rows):
        if not kinds:
            continue
        if found and y - found[-1]["bottom"] <= 6:
            band = found[-1]
        else:
            band = {"top": y, "bottom": y, "kinds": {}}
            found.append(band)
        band["bottom"] = y
        for kind, n in kinds.items():
            band["kinds"][kind] = band["kinds"].get(kind, 0) + n
    for band in found:
        dominant = max(band["kinds"], key=band["kinds"].get)
        print("band %d-%d %s" % (band["top"], band["bottom"], dominant))


def totals(path):
    width, height, data = pixels.read_ppm(path)
    counts = {}
    for i in range(0, width * height * 3, 3):
        kind = pixels.classify(data[i], data[i + 1], data[i + 2])
        counts[kind] = counts.get(kind, 0) + 1
    for kind in ("normal", "highlight", "active", "yellow", "white"):
        print("%s=%d" % (kind, counts.get(kind, 0)))


def sheet(path, cols, rows, picture_h, strip_h, padding):
    # One line per tile, row by row: the tile's dominant scene colour (menu, crawl or none) and the count of
    # lit pixels in the label strip under its picture.
    width, height, data = pixels.read_ppm(path)
    tile_w = (width - (cols - 1) * padding) // cols
    tile_h = picture_h + strip_h
    if height != rows * tile_h + (rows - 1) * padding:
        raise SystemExit("frame_check.py: a %dx%d sheet is not %d rows of %d-row tiles" % (width, height, rows, tile_h))
    for row in range(rows):
        for col in range(cols):
            x0, y0 = col * (tile_w + padding), row * (tile_h + padding)
            kinds = {"menu": 0, "crawl": 0}
            label = 0
            for y in range(y0, y0 + tile_h):
                for x in range(x0, x0 + tile_w):
                    i = (y * width + x) * 3
                    r, g, b = data[i], data[i + 1], data[i + 2]
                    if y >= y0 + picture_h:
                        label += max(r, g, b) > 60
                        continue
                    if pixels.classify(r, g, b) in pixels.MENU_CLASSES:
                        kinds["menu"] += 1
                    elif min(r, g) >= 40 and min(r, g) - b >= 30:  # the crawl's yellow, however far it has faded
                        kinds["crawl"] += 1
            scene = max(kinds, key=kinds.get) if max(kinds.values()) > 20 else "none"
            print("%s %d" % (scene, label))


def main(argv):
    if len(argv) == 5 and argv[1] == "bands":
        bands(argv[2], int(argv[3]), int(argv[4]))
    elif len(argv) == 3 and argv[1] == "totals":
        totals(argv[2])
    elif len(argv) == 8 and argv[1] == "sheet":
        sheet(argv[2], *(int(a) for a in argv[3:]))
    else:
        raise SystemExit("usage: frame_check.py bands IMAGE.ppm X0 X1 | totals IMAGE.ppm | "
                         "sheet IMAGE.ppm COLS ROWS PICTURE_H STRIP_H PADDING")


if __name__ == "__main__":
    main(sys.argv)

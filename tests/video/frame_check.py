#!/usr/bin/env python3
# Reads one frame of a capture (a binary PPM) the way a viewer would: the bands of rows that hold text in a
# column range, each with its dominant colour class, and the counts of each class in the whole frame.
# Uses the colour classes of the end-to-end screenshots. Standard library only.
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


def main(argv):
    if len(argv) == 5 and argv[1] == "bands":
        bands(argv[2], int(argv[3]), int(argv[4]))
    elif len(argv) == 3 and argv[1] == "totals":
        totals(argv[2])
    else:
        raise SystemExit("usage: frame_check.py bands IMAGE.ppm X0 X1 | totals IMAGE.ppm")


if __name__ == "__main__":
    main(sys.argv)

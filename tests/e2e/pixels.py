#!/usr/bin/env python3
# Reads screenshots and capture frames (binary PPM) the way a viewer would: counts of the demo's colour
# classes in a rectangle, the bands of text rows in a column range, and the tiles of a contact sheet.
# Standard library only.
import collections
import functools
import sys

# Reference colours (0-255) as the lit scenes render them; a pixel belongs to a class when every channel is
# within TOLERANCE of it. The slack covers a 16-bit (565) screen, which rounds each channel by up to 8.
TOLERANCE = 20
REFERENCE = {"normal": (83, 107, 187), "highlight": (155, 127, 117), "active": (182, 28, 30), "yellow": (245, 230, 51)}
MENU_CLASSES = ("normal", "highlight", "active")


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = data.split(maxsplit=4)  # magic, width, height, maxval, pixels (no comments from convert/ffmpeg)
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit("pixels.py: %s is not an 8-bit binary PPM" % path)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[len(data) - width * height * 3:]


@functools.lru_cache(maxsize=None)  # a frame has few distinct colours: each is judged once
def classify(r, g, b):
    if r < 30 and g < 30 and b < 30:
        return "black"
    for name, ref in REFERENCE.items():
        if all(abs(c - rc) <= TOLERANCE for c, rc in zip((r, g, b), ref)):
            return name
    return "white" if min(r, g, b) > 200 else "other"


def rows_of(path, x, y, w, h):
    width, height, data = read_ppm(path)
    x0, y0, x1, y1 = max(0, x), max(0, y), min(width, x + w), min(height, y + h)
    if x1 <= x0 or y1 <= y0:
        raise SystemExit("pixels.py: %dx%d+%d+%d lies outside the %dx%d image" % (w, h, x, y, width, height))
    rows = (data[(row * width + x0) * 3:(row * width + x1) * 3] for row in range(y0, y1))
    return [list(zip(row[0::3], row[1::3], row[2::3])) for row in rows]


def count(path, x, y, w, h):
    colours = collections.Counter(p for row in rows_of(path, x, y, w, h) for p in row)
    counts = dict.fromkeys(("black", "white", "other") + tuple(REFERENCE), 0)
    for colour, n in colours.items():
        counts[classify(*colour)] += n
    # The NORMAL text's hue, lit (about 83, 107, 187) or not (about 107, 138, 241): its brightest blue tells
    # a lit menu from an unlit one.
    counts["blue_max"] = max([b for r, g, b in colours if b >= 100 and b - r >= 50 and b - g >= 40] or [0])
    counts.update(menu=sum(counts[n] for n in MENU_CLASSES), total=sum(colours.values()))
    print("\n".join("px_%s=%d" % item for item in counts.items()))


def bands(path, x0, x1):
    """Bands of rows with text between columns x0 and x1 (gaps up to 6 rows joined), with dominant class."""
    found = []
    for y, row in enumerate(rows_of(path, x0, 0, x1 - x0, 1 << 20)):
        kinds = collections.Counter(k for k in (classify(*p) for p in row) if k not in ("black", "other"))
        if kinds and (not found or y - found[-1][1] > 6):
            found.append([y, y, collections.Counter()])
        if kinds:
            found[-1][1:] = y, found[-1][2] + kinds
    for top, bottom, kinds in found:
        print("band %d-%d %s" % (top, bottom, kinds.most_common(1)[0][0]))


def sheet(path, cols, rows, picture_h, strip_h, padding):
    """Per tile of a contact sheet: its scene (menu, crawl or none) and the lit pixels of its label strip."""
    width, height, _ = read_ppm(path)
    tile_w, tile_h = (width - (cols - 1) * padding) // cols, picture_h + strip_h
    if height != rows * tile_h + (rows - 1) * padding:
        raise SystemExit("pixels.py: a %dx%d sheet is not %d rows of %d-row tiles" % (width, height, rows, tile_h))
    for r in range(rows):
        for c in range(cols):
            tile = rows_of(path, c * (tile_w + padding), r * (tile_h + padding), tile_w, tile_h)
            menu = sum(classify(*p) in MENU_CLASSES for row in tile[:picture_h] for p in row)
            # The crawl's yellow, however far it has faded.
            crawl = sum(min(p[:2]) >= 40 and min(p[:2]) - p[2] >= 30 for row in tile[:picture_h] for p in row)
            label = sum(max(p) > 60 for row in tile[picture_h:] for p in row)
            print("%s %d" % (("menu" if menu > crawl else "crawl") if max(menu, crawl) > 20 else "none", label))


COMMANDS = {"count": (count, 5), "bands": (bands, 3), "sheet": (sheet, 6)}

if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1] not in COMMANDS or len(sys.argv) != COMMANDS[sys.argv[1]][1] + 2:
        raise SystemExit("usage: pixels.py count IMAGE X Y W H | bands IMAGE X0 X1 | "
                         "sheet IMAGE COLS ROWS PICTURE_H STRIP_H PADDING")
    COMMANDS[sys.argv[1]][0](sys.argv[2], *(int(a) for a in sys.argv[3:]))

#!/usr/bin/env python3
# Pixel classification for the end-to-end screenshots: counts of the demo's colour classes in a rectangle,
# and the layout of a window's top rows (caption, menu bar, start of the client area).
# Reads binary PPM (P6) files as written by `convert shot.png shot.ppm`; standard library only.
import sys

# Reference colours (0-255) as the lit scenes render them; a pixel belongs to a class when every channel is
# within TOLERANCE of it. The slack covers a 16-bit (565) screen, which rounds each channel by up to 8.
TOLERANCE = 20
REFERENCE = {
    "normal": (83, 107, 187),
    "highlight": (155, 127, 117),
    "active": (182, 28, 30),
    "yellow": (245, 230, 51),
}
MENU_CLASSES = ("normal", "highlight", "active")


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    # Header: magic, width, height, maxval, separated by whitespace (comments are not written by convert).
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise SystemExit("pixels.py: %s is not an 8-bit binary PPM" % path)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos:pos + width * height * 3]


def classify(r, g, b):
    if r < 30 and g < 30 and b < 30:
        return "black"
    for name, (cr, cg, cb) in REFERENCE.items():
        if abs(r - cr) <= TOLERANCE and abs(g - cg) <= TOLERANCE and abs(b - cb) <= TOLERANCE:
            return name
    if r > 200 and g > 200 and b > 200:
        return "white"
    return "other"


def is_light(r, g, b):
    # The Wine menu bar and frame: white or light grey, with no tint.
    return min(r, g, b) >= 180 and max(r, g, b) - min(r, g, b) <= 30


def clip(width, height, x, y, w, h):
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(width, x + w), min(height, y + h)
    if x1 <= x0 or y1 <= y0:
        raise SystemExit("pixels.py: the rectangle %dx%d+%d+%d lies outside the %dx%d image"
                         % (w, h, x, y, width, height))
    return x0, y0, x1, y1


def is_bluish(r, g, b):
    # The NORMAL text's hue, lit or not: blue well above red and green. Lit it is about (83, 107, 187);
    # drawn without lighting the same colour comes out as about (107, 138, 241).
    return b >= 100 and b - r >= 50 and b - g >= 40


def count(path, x, y, w, h):
    width, height, pixels = read_ppm(path)
    x0, y0, x1, y1 = clip(width, height, x, y, w, h)
    counts = dict.fromkeys(("black", "white", "other") + tuple(REFERENCE), 0)
    blue_max = 0
    for row in range(y0, y1):
        base = row * width * 3
        for col in range(x0, x1):
            i = base + col * 3
            r, g, b = pixels[i], pixels[i + 1], pixels[i + 2]
            counts[classify(r, g, b)] += 1
            if b > blue_max and is_bluish(r, g, b):
                blue_max = b
    counts["menu"] = sum(counts[name] for name in MENU_CLASSES)
    # The brightest blue of NORMAL-hued pixels: tells a lit menu from an unlit one.
    counts["blue_max"] = blue_max
    counts["total"] = (x1 - x0) * (y1 - y0)
    for name, value in counts.items():
        print("px_%s=%d" % (name, value))


def top_rows(path, x, y, w, rows):
    """Describes the top of a window: each row over the window's width is 'light' (frame, menu bar),
    'black' (client area), or 'caption' (anything else, e.g. the blue or grey caption), by a 90 % majority;
    rows with no majority are 'mixed'. Prints the caption's last row and what follows it."""
    width, height, pixels = read_ppm(path)
    # Leave out the frame's side borders so they do not dilute the rows.
    x0, y0, x1, y1 = clip(width, height, x + 8, y, w - 16, rows)
    kinds = []
    for row in range(y0, y1):
        light = black = 0
        base = row * width * 3
        for col in range(x0, x1):
            i = base + col * 3
            r, g, b = pixels[i], pixels[i + 1], pixels[i + 2]
            if is_light(r, g, b):
                light += 1
            elif r < 30 and g < 30 and b < 30:
                black += 1
        n = x1 - x0
        if light >= 0.9 * n:
            kinds.append("light")
        elif black >= 0.9 * n:
            kinds.append("black")
        elif light + black <= 0.2 * n:
            kinds.append("caption")
        else:
            kinds.append("mixed")
    caption = [i for i, kind in enumerate(kinds) if kind == "caption"]
    caption_end = -1
    if caption:
        caption_end = caption[0]
        while caption_end + 1 < len(kinds) and kinds[caption_end + 1] in ("caption", "mixed"):
            caption_end += 1
    # The light band right under the caption, and the first all-black row after the caption.
    band = 0
    row = caption_end + 1
    while row < len(kinds) and kinds[row] in ("light", "mixed"):
        band += 1 if kinds[row] == "light" else 0
        row += 1
    client_top = next((i for i in range(caption_end + 1, len(kinds)) if kinds[i] == "black"), -1)
    print("rows_caption_rows=%d" % len(caption))
    print("rows_caption_end=%d" % caption_end)
    print("rows_light_band=%d" % band)
    print("rows_client_top=%d" % client_top)
    print("rows_kinds='%s'" % " ".join(k[0] for k in kinds))


def main(argv):
    usage = ("usage: pixels.py count IMAGE.ppm X Y W H\n"
             "       pixels.py toprows IMAGE.ppm X Y W ROWS")
    if len(argv) != 7 or argv[1] not in ("count", "toprows"):
        raise SystemExit(usage)
    numbers = [int(v) for v in argv[3:]]
    if argv[1] == "count":
        count(argv[2], *numbers)
    else:
        top_rows(argv[2], *numbers)


if __name__ == "__main__":
    main(sys.argv)

#!/usr/bin/env python3
# How closely two recordings of the music agree: both are raw 16-bit stereo at 44100 Hz; over a stretch,
# they are folded to mono at 4410 Hz and the best normalised correlation within +-50 ms of lag is printed.
import array
import math
import sys

RATE = 44100
FOLD = 10


def mono_folded(path, start, seconds):
    with open(path, "rb") as f:
        f.seek(start * RATE * 4)
        raw = f.read(seconds * RATE * 4)
    samples = array.array("h", raw)
    out = []
    step = 2 * FOLD
    for i in range(0, len(samples) - step + 1, step):
        out.append(sum(samples[i:i + step]) / step)
    return out


def correlation(a, b, lag):
    n = min(len(a), len(b)) - abs(lag)
    if n <= 0:
        return 0.0
    pa = a[max(0, lag):max(0, lag) + n]
    pb = b[max(0, -lag):max(0, -lag) + n]
    dot = sum(x * y for x, y in zip(pa, pb))
    norm = math.sqrt(sum(x * x for x in pa) * sum(y * y for y in pb))
    return dot / norm if norm else 0.0


def main(argv):
    if len(argv) != 5:
        raise SystemExit("usage: audio_correlation.py A.raw B.raw START_S SECONDS")
    start, seconds = int(argv[3]), int(argv[4])
    a = mono_folded(argv[1], start, seconds)
    b = mono_folded(argv[2], start, seconds)
    reach = RATE // FOLD // 20
    best = max((correlation(a, b, lag), lag) for lag in range(-reach, reach + 1, 1))
    print("correlation=%.4f lag_ms=%.1f" % (best[0], best[1] * 1000.0 * FOLD / RATE))


if __name__ == "__main__":
    main(sys.argv)

#!/usr/bin/env python3
# Tells whether a recording holds the start of a reference, both raw 44100 Hz s16le stereo: the normalised
# correlation at the best lag, since two Vorbis decoders may round differently. Standard library only.
# usage: audio_match.py REFERENCE.raw RECORDED.raw [WINDOW_S [MAX_LAG_S [MIN_CORR]]]
import array
import math
import operator
import sys

RATE = 44100
DECIMATE = 16  # the coarse search runs at 2756 Hz: enough for the music's low and middle range
MIN_RMS = 300.0  # a window quieter than this (of 32768, about -40 dB) is no proof of anything


def read_mono(path, frames):
    samples = array.array("h")
    with open(path, "rb") as f:
        samples.frombytes(f.read(frames * 4))
    return [(samples[i] + samples[i + 1]) * 0.5 for i in range(0, len(samples) - 1, 2)]


def dot(a, b):
    return sum(map(operator.mul, a, b))


def best_lag(ref, rec, start, length, lags):
    """The lag (rec index minus ref index) whose stretch of rec best matches ref[start:start + length]."""
    fits = [lag for lag in lags if 0 <= start + lag and start + lag + length <= len(rec)]
    window = ref[start:start + length]
    return max(fits, key=lambda lag: dot(window, rec[start + lag:start + lag + length]))


def main(argv):
    window_s, max_lag_s, min_corr = (float(v) for v in (argv[3:] + ["2", "0.5", "0.95"][len(argv) - 3:]))
    window, max_lag = int(window_s * RATE), int(max_lag_s * RATE)
    rec = read_mono(argv[2], 30 * RATE)
    ref = read_mono(argv[1], len(rec) + max_lag + window)
    # The reference's first window with energy, in quarter-second steps, whose lags all lie in the recording.
    starts = range(0, min(len(rec) - max_lag, len(ref)) - window + 1, RATE // 4)
    start = next((s for s in starts if math.sqrt(dot(ref[s:s + window:8], ref[s:s + window:8]) * 8 / window)
                  >= MIN_RMS), None)
    if start is None:
        print("FAIL: %.2f s recorded, too short or silent" % (len(rec) / RATE))
        return 1
    # Coarse: every lag on the decimated signals; fine: the lags around it at the full rate.
    ref_d, rec_d = ([sum(s[i:i + DECIMATE]) / DECIMATE for i in range(0, len(s) - DECIMATE + 1, DECIMATE)]
                    for s in (ref, rec))
    m = max_lag // DECIMATE
    centre = best_lag(ref_d, rec_d, start // DECIMATE, window // DECIMATE, range(-m, m + 1)) * DECIMATE
    lag = best_lag(ref, rec, start, window, range(max(-max_lag, centre - 2 * DECIMATE),
                                                 min(max_lag, centre + 2 * DECIMATE) + 1))
    a, b = ref[start:start + window], rec[start + lag:start + lag + window]
    ma, mb = sum(a) / window, sum(b) / window
    a, b = [v - ma for v in a], [v - mb for v in b]
    corr = dot(a, b) / (math.sqrt(dot(a, a) * dot(b, b)) or 1.0)
    print("window at %.2f s, best lag %+d frames (%+.4f s), correlation %.4f (need > %.2f)"
          % (start / RATE, lag, lag / RATE, corr, min_corr))
    return 0 if corr > min_corr else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))

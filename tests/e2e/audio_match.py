#!/usr/bin/env python3
# Tells whether a recording holds the start of a reference: both raw 44100 Hz s16le stereo, compared by
# normalised correlation at the best lag, since two Vorbis decoders may round differently.
# usage: audio_match.py REFERENCE.raw RECORDED.raw [WINDOW_S [MAX_LAG_S [MIN_CORR]]]; standard library only.
import array
import math
import operator
import sys

RATE = 44100
# The coarse search runs on a mono signal averaged over this many frames (2756 Hz): enough for the music's
# low and middle range, and 256 times less work per lag than at the full rate.
DECIMATE = 16
# A window quieter than this RMS (of 32768; about -40 dB) is no proof of anything.
MIN_RMS = 300.0


def read_mono(path, max_frames):
    """The first max_frames frames of a raw s16le stereo file, as a list of (left + right) / 2."""
    samples = array.array("h")
    with open(path, "rb") as f:
        samples.frombytes(f.read(max_frames * 4))
    if sys.byteorder != "little":
        samples.byteswap()
    n = len(samples) // 2
    return [(samples[2 * i] + samples[2 * i + 1]) * 0.5 for i in range(n)]


def decimate(signal, factor):
    return [sum(signal[i:i + factor]) / factor for i in range(0, len(signal) - factor + 1, factor)]


def dot(a, b):
    return sum(map(operator.mul, a, b))


def correlation(a, b):
    """Normalised correlation of two equally long sequences (their means removed)."""
    n = len(a)
    ma, mb = sum(a) / n, sum(b) / n
    a = [v - ma for v in a]
    b = [v - mb for v in b]
    den = math.sqrt(dot(a, a) * dot(b, b))
    return dot(a, b) / den if den > 0 else 0.0


def best_lag(ref, rec, start, length, lags):
    """The lag in lags (rec index minus ref index) with the highest raw dot product of ref[start:start+length]
    against rec[start+lag:...], skipping lags that leave rec; None if none fits."""
    window = ref[start:start + length]
    best = None
    for lag in lags:
        s = start + lag
        if s < 0 or s + length > len(rec):
            continue
        score = dot(window, rec[s:s + length])
        if best is None or score > best[1]:
            best = (lag, score)
    return best[0] if best else None


def main(argv):
    if not 3 <= len(argv) <= 6:
        raise SystemExit(__doc__ or "usage: audio_match.py REFERENCE.raw RECORDED.raw [WINDOW_S [MAX_LAG_S [MIN_CORR]]]")
    window_s = float(argv[3]) if len(argv) > 3 else 2.0
    max_lag_s = float(argv[4]) if len(argv) > 4 else 0.5
    min_corr = float(argv[5]) if len(argv) > 5 else 0.95
    window = int(window_s * RATE)
    max_lag = int(max_lag_s * RATE)

    # Only the start matters: a window with energy near the start, and the lags around it.
    rec = read_mono(argv[2], 30 * RATE)
    ref = read_mono(argv[1], len(rec) + max_lag + window)
    print("recorded %.2f s, reference read %.2f s" % (len(rec) / RATE, len(ref) / RATE))

    # The first window of the reference, in quarter-second steps, that has energy and whose whole lag range
    # lies inside the recording.
    step = RATE // 4
    start = None
    s = 0
    while s + window + max_lag <= len(rec) and s + window <= len(ref):
        part = ref[s:s + window:8]
        rms = math.sqrt(dot(part, part) / len(part))
        if rms >= MIN_RMS:
            start = s
            break
        s += step
    if start is None:
        print("FAIL: the recording is too short (%.2f s) or the reference has no window with energy; "
              "need %.1f s of audio plus %.1f s of lag" % (len(rec) / RATE, window_s, max_lag_s))
        return 1
    print("window %.2f-%.2f s of the reference, rms %.0f" % (start / RATE, (start + window) / RATE, rms))

    # Coarse: every lag on the decimated signals; fine: every lag around it at the full rate.
    ref_d, rec_d = decimate(ref, DECIMATE), decimate(rec, DECIMATE)
    cs, cl, cm = start // DECIMATE, window // DECIMATE, max_lag // DECIMATE
    coarse = best_lag(ref_d, rec_d, cs, cl, range(-cm, cm + 1))
    if coarse is None:
        print("FAIL: no lag fits inside the recording")
        return 1
    centre = coarse * DECIMATE
    fine_lags = range(max(-max_lag, centre - 2 * DECIMATE), min(max_lag, centre + 2 * DECIMATE) + 1)
    lag = best_lag(ref, rec, start, window, fine_lags)
    if lag is None:
        print("FAIL: no lag fits inside the recording")
        return 1
    corr = correlation(ref[start:start + window], rec[start + lag:start + lag + window])
    print("best lag %+d frames (%+.4f s), normalised correlation %.4f (need > %.2f)"
          % (lag, lag / RATE, corr, min_corr))
    if corr <= min_corr:
        print("FAIL: the recording does not hold the reference's audio")
        return 1
    print("OK")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env bash
# Makes the small Ogg Vorbis files the sound tests decode (needs sox and oggenc; output is committed).
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 1 s at 44100 Hz, stereo: 440 Hz on the left, 660 Hz on the right.
sox -n -r 44100 -b 16 -c 2 "$tmp/two_tone.wav" synth 1.0 sine 440 sine 660 gain -6
oggenc -Q -q 0 --serial 1 -o tone_44k_stereo.ogg "$tmp/two_tone.wav"

# 0.5 s at 22050 Hz, mono, 440 Hz: must come out at the same pitch on the 44100 Hz output.
sox -n -r 22050 -b 16 -c 1 "$tmp/mono.wav" synth 0.5 sine 440 gain -6
oggenc -Q -q 0 --serial 2 -o sine_22k_mono.ogg "$tmp/mono.wav"

# 0.5 s at 48000 Hz, stereo, 1000 Hz: a source faster than the output.
sox -n -r 48000 -b 16 -c 2 "$tmp/fast.wav" synth 0.5 sine 1000 gain -6
oggenc -Q -q 0 --serial 3 -o sine_48k_stereo.ogg "$tmp/fast.wav"

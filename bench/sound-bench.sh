#!/usr/bin/env bash
# Runs bench/sound_bench.exe under Wine with an ALSA file sink as the audio device and prints its table:
# decode speed of resources/audio.ogg, and a whole playback's feeder CPU, underruns and timings.
# usage: bench/sound-bench.sh [DECODE_RUNS]   (builds the benchmark first)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/tools/build" --target sound_bench >/dev/null
exe="$repo/build/bench/sound_bench.exe"
[ -f "$exe" ] || { echo "sound-bench: no $exe" >&2; exit 1; }

# The Wine prefix is found through HOME: take it before HOME changes.
source "$repo/tools/wine-env"
[ -f "$WINEPREFIX/.kelvra-ready" ] || "$repo/tools/wine-prefix"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# NOTE: this machine has no sound card; a HOME whose .asoundrc is tools/alsa-sink.conf gives Wine's ALSA
# driver a default device. What it writes to sink.raw shows what arrived.
mkdir -p "$tmp/home" "$tmp/run"
cp "$repo/tools/alsa-sink.conf" "$tmp/home/.asoundrc"
cp "$repo/resources/audio.ogg" "$exe" "$tmp/run/"

echo "command: (cd RUN && HOME=SINK_HOME KELVRA_ALSA_SINK=sink.raw wine sound_bench.exe audio.ogg ${1:-3}) on $(nproc) cores, $(wine --version)"
(cd "$tmp/run" && HOME="$tmp/home" KELVRA_ALSA_SINK="$tmp/sink.raw" wine ./sound_bench.exe audio.ogg "${1:-3}" </dev/null 2>"$tmp/stderr.txt") | tr -d '\r'
bytes=$(stat -c %s "$tmp/sink.raw" 2>/dev/null || echo 0)
printf '%-46s %12.2f s  (%s bytes of 44100 Hz s16le stereo)\n' "sink: audio seconds that reached ALSA" \
  "$(echo "$bytes / 176400" | bc -l)" "$bytes"

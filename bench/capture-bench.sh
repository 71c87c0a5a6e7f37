#!/usr/bin/env bash
# Times captures of the whole production (default 60 fps at 800x600, antialiased) against its length, with the
# split the capture program measures: rendering, read-back, and handing frames to the encoder (which waits
# while ffmpeg encodes), and reports the median of the runs. Then makes a lossless capture of the same frames,
# untimed, and prints the SSIM of the shipped video against it. Expects tools/build to have run.
# Usage: bench/capture-bench.sh [--runs N] [--fps N] [--size WxH] [--aa on|off]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=3
if [ "${1:-}" = --runs ]; then
  runs=$2
  shift 2
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'); load at start: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq 1 "$runs"); do
  start=$(date +%s.%N)
  tools/with-xvfb tools/capture-video build/kelvra-capture.exe --out "$out/bench.mp4" "$@" >"$out/log"
  end=$(date +%s.%N)
  length=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$out/bench.mp4")
  grep '^Captured' "$out/log"
  awk -v s="$start" -v e="$end" -v l="$length" 'BEGIN { printf "%.3f\n", l / (e - s) }' >>"$out/speeds"
  echo "run $run: whole command $(tail -n1 "$out/speeds") x real time (Wine and ffmpeg start included), load $(cut -d' ' -f1 /proc/loadavg)"
done
echo "median of $runs: $(sort -n "$out/speeds" | awk '{ v[NR] = $1 } END { printf "%.2f", v[int((NR + 1) / 2)] }') x real time"
KELVRA_CAPTURE_LOSSLESS=1 tools/with-xvfb tools/capture-video build/kelvra-capture.exe --out "$out/lossless.mp4" "$@" >/dev/null
ssim=$(ffmpeg -nostdin -i "$out/bench.mp4" -i "$out/lossless.mp4" -lavfi "[0:v][1:v]ssim" -f null - 2>&1 |
  grep -o 'All:[0-9.]*' | cut -d: -f2)
echo "SSIM of the video against a lossless encode of the same frames: $ssim"
echo "load at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

#!/usr/bin/env bash
# Times a capture of the whole production (default 60 fps at 800x600) against its length, with the split the
# capture program measures: rendering, read-back, and handing frames to the encoder (which waits while ffmpeg
# encodes). Expects tools/build to have run. Usage: bench/capture-bench.sh [--fps N] [--size WxH]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
start=$(date +%s.%N)
tools/with-xvfb tools/capture-video build/kelvra-capture.exe --out "$out/bench.mp4" "$@" | tee "$out/log" | grep -v '^frame '
end=$(date +%s.%N)
length=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$out/bench.mp4")
echo
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
awk -v s="$start" -v e="$end" -v l="$length" 'BEGIN {
  wall = e - s
  printf "whole command: %.1f s for %.2f s of video (%.2f x real time), Wine and ffmpeg start included\n", wall, l, l / wall
}'

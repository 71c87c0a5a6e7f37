#!/usr/bin/env bash
# How close the capture's frames come to a 4x4 supersampled render of the same frames: lossless captures of the
# production's start at 800x600 antialiased (the default) and aliased, at 1600x1200 (2x2 supersampled) and at
# 3200x2400 (the reference, 4x4), the larger ones scaled to 800x600 with an area filter; then the PSNR and
# SSIM of the luma of each against the reference at the given times. Expects tools/build to have run.
# Usage: bench/capture-quality.sh [SECONDS ...]   (default 5.25 29 45: a menu frame and two crawl frames)
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- 5.25 29 45
fps=60
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
length=$(printf '%s\n' "$@" | sort -g | tail -n1 | awk '{ print $1 + 0.1 }')
capture() {
  local name=$1
  shift
  KELVRA_CAPTURE_LOSSLESS=1 tools/with-xvfb tools/capture-video build/kelvra-capture.exe --out "$out/$name.mp4" \
    --fps "$fps" --seconds "$length" "$@" | grep '^Captured' | sed "s/^/$name: /"
}
capture reference --size 3200x2400 --aa off
capture supersampled --size 1600x1200 --aa off
capture default
capture aliased --aa off
# The frame at time t, its luma only, at 800x600.
frame() {
  ffmpeg -nostdin -v error -y -i "$out/$1.mp4" \
    -vf "select=eq(n\,$(awk -v t="$2" -v f="$fps" 'BEGIN { printf "%d", t * f + 0.5 }')),scale=800:600:flags=area,format=gray" \
    -frames:v 1 "$out/$1-$2.png"
}
for t in "$@"; do
  for name in reference aliased supersampled default; do
    frame "$name" "$t"
  done
done
printf '%-14s' "at 800x600"
for t in "$@"; do printf '| %-18s' "$t s: PSNR, SSIM"; done
echo
for name in aliased supersampled default; do
  printf '%-14s' "$name"
  for t in "$@"; do
    score=$(ffmpeg -nostdin -i "$out/$name-$t.png" -i "$out/reference-$t.png" \
      -lavfi "[0:v]split[a0][a1];[1:v]split[b0][b1];[a0][b0]psnr;[a1][b1]ssim" -f null - 2>&1)
    psnr=$(grep -o 'average:[0-9.inf]*' <<<"$score" | cut -d: -f2)
    ssim=$(grep -o 'All:[0-9.]*' <<<"$score" | cut -d: -f2)
    printf '| %-18s' "$(printf '%.1f dB, %.4f' "$psnr" "$ssim")"
  done
  echo
done

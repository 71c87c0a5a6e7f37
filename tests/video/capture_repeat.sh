# Two captures of the same stretch give the same frames (a frame-stepped clock, stars from a fixed seed), the
# crawl's stars included; a third without antialiasing has the window's hard-edged letters.
source "$(dirname "$0")/lib.sh"
for run in 1:2:20:on 2:2:20:on off:10:3:off; do
  IFS=: read -r n fps seconds aa <<<"$run"
  video_capture --fps "$fps" --seconds "$seconds" --aa "$aa" --out "$VIDEO_TMP/run$n.mp4" || { cat "$VIDEO_TMP/log" >&2; video_fail "capture $n failed"; }
  ffmpeg -v error -i "$VIDEO_TMP/run$n.mp4" -map 0:v -f framemd5 "$VIDEO_TMP/run$n.md5" || video_fail "cannot hash capture $n"
done
[ "$(grep -vc '^#' "$VIDEO_TMP/run1.md5")" -eq 40 ] || video_fail "capture 1 does not have 40 frames"
diff <(grep -v '^#' "$VIDEO_TMP/run1.md5") <(grep -v '^#' "$VIDEO_TMP/run2.md5") >&2 || video_fail "the two captures differ"
# Frame 39 (19.5 s) is in the crawl: its stars are among the frames compared.
video_frame "$VIDEO_TMP/run1.mp4" 39 "$VIDEO_TMP/crawl.ppm"
stars=$(python3 "$VIDEO_PIXELS" count "$VIDEO_TMP/crawl.ppm" 0 0 800 600 | sed -n 's/^px_white=//p')
[ "${stars:-0}" -gt 20 ] || video_fail "frame 39 has ${stars:-no} white (star) pixels"
share=$(video_edge_share "$VIDEO_TMP/runoff.mp4" 25)
[ "$share" -le 1 ] && [ "$(video_edge_share "$VIDEO_TMP/run1.mp4" 25)" -ge 10 ] ||
  video_fail "with --aa off $share% of the letters' lit pixels are edge pixels, or without it too few"
echo "PASS"

# Two captures of the same stretch give the same frames (a frame-stepped clock, stars from a fixed seed), the
# crawl's stars included; a third without antialiasing has the window's hard-edged letters.
source "$(dirname "$0")/lib.sh"
for run in 1:2:20:on 2:2:20:on off:10:3:off; do
  IFS=: read -r n fps seconds aa <<<"$run"
  video_capture --fps "$fps" --seconds "$seconds" --aa "$aa" --out "$VIDEO_TMP/run$n.mp4" || { cat "$VIDEO_TMP/log" >&2; video_fail "capture $n failed"; }
  ffmpeg -v error -i "$VIDEO_TMP/run$n.mp4" -map 0:v -f framemd5 "$VIDEO_TMP/run$n.md5" || video_fail "cannot hash capture $n"
done
diff <(grep -v '^#' "$VIDEO_TMP/run1.md5") <(grep -v '^#' "$VIDEO_TMP/run2.md5") >&2 || video_fail "the two captures differ"
share=$(video_edge_share "$VIDEO_TMP/runoff.mp4" 25)
[ "$share" -le 1 ] && [ "$(video_edge_share "$VIDEO_TMP/run1.mp4" 25)" -ge 10 ] ||
  video_fail "with --aa off $share% of the letters' lit pixels are edge pixels, or without it too few"
echo "PASS"

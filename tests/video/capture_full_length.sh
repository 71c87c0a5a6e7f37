# The whole production at 2 frames per second: the capture ends when the crawl does, after exactly the frames
# the scenes draw (36 of the menu up to 17.5 s, then 160 of the crawl up to 79.5 s), with music as long.
source "$(dirname "$0")/lib.sh"
out="$VIDEO_TMP/full.mp4"
capture --fps 2 --out "$out" || { cat "$VIDEO_TMP/log" >&2; video_fail "capture failed"; }
[ "$(probe "$out" v nb_frames)" = 196 ] || video_fail "video has $(probe "$out" v nb_frames) frames, not 196"
duration=$(probe "$out" a duration)
awk -v d="$duration" 'BEGIN { exit !(d > 97.9 && d < 98.1) }' || video_fail "audio lasts $duration s, not 98 s"
grep -q "Captured 196 frames" "$VIDEO_TMP/log" || video_fail "no summary line: $(cat "$VIDEO_TMP/log")"
echo "PASS"

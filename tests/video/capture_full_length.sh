# The whole production at 2 frames per second: the capture ends when the crawl does, after exactly the frames
# the scenes draw (36 of the menu up to 17.5 s, then 160 of the crawl up to 79.5 s), with music as long. Its
# contact sheet holds twelve labelled tiles: four of the menu, then eight of the crawl.
source "$(dirname "$0")/lib.sh"
out="$VIDEO_TMP/full.mp4"
video_capture --fps 2 --out "$out" || { cat "$VIDEO_TMP/log" >&2; video_fail "capture failed"; }
streams=$(video_probe "$out" v nb_frames),$(video_probe "$out" a duration)
[[ $streams =~ ^196,(97\.9|98\.0) ]] || video_fail "frames and audio seconds $streams, not 196 and 98"
grep -q "Captured 196 frames" "$VIDEO_TMP/log" || video_fail "no summary line: $(cat "$VIDEO_TMP/log")"
"$KELVRA_TOOLS/contact-sheet" "$out" "$VIDEO_TMP/sheet.png" || video_fail "no contact sheet"
ffmpeg -v error -y -i "$VIDEO_TMP/sheet.png" -f image2 -c:v ppm "$VIDEO_TMP/sheet.ppm" || video_fail "cannot read the sheet"
# Tiles of 320x240 over a 20-row label strip, four by three, 4 pixels apart.
tiles=$(python3 "$VIDEO_PIXELS" sheet "$VIDEO_TMP/sheet.ppm" 4 3 240 20 4) || video_fail "bad sheet"
scenes=$(cut -d' ' -f1 <<<"$tiles" | tr '\n' ' ')
[ "$scenes" = "menu menu menu menu crawl crawl crawl crawl crawl crawl crawl crawl " ] ||
  video_fail "the sheet's tiles show '$scenes', not four of the menu and then eight of the crawl"
while read -r scene label; do
  [ "$label" -ge 20 ] || video_fail "a $scene tile has no time under it ($label lit pixels in its label strip)"
done <<<"$tiles"
echo "PASS"

# A capture of the production's first 30 s at 4 frames per second: the stream layout, the frames a viewer
# sees on either side of a menu row change (each frame at its own time) and at 29 s (crawl), and the music
# against an independent decode of "audio.ogg". Then 4K, which needs no screen of that size: the view fills the
# frame. Last, the read-back from the window where GL cannot draw offscreen.
source "$(dirname "$0")/lib.sh"
out="$VIDEO_TMP/stretch.mp4"
video_capture --fps 4 --seconds 30 --size 800x600 --out "$out" || { cat "$VIDEO_TMP/log" >&2; video_fail "capture failed"; }
video=$(video_probe "$out" v codec_name,width,height,r_frame_rate,nb_frames)
[ "$video" = h264,800,600,4/1,120 ] || video_fail "video stream $video, not 120 frames of H.264 at 800x600, 4/1"
audio=$(video_probe "$out" a codec_name,duration)
[[ $audio =~ ^aac,(29\.9|30\.0) ]] || video_fail "audio stream $audio, not 30 s of AAC"

# The highlight leaves "Chapter Selection" for "Extras" just after 4.5 s: frame 18 (4.5 s exactly) still has it
# on the second row, frame 19 (4.75 s) on the third, so a video whose frames are one step off, or upside down,
# fails either way.
menu_row_change() {
  for want in "18 normal highlight normal" "19 normal normal highlight"; do
    video_frame "$1" "${want%% *}" "$VIDEO_TMP/menu.ppm"
    left=$(python3 "$VIDEO_PIXELS" bands "$VIDEO_TMP/menu.ppm" 0 380)
    [ "${want%% *}$(awk '{ printf " %s", $NF }' <<<"$left")" = "$want" ] || video_fail "frame ${want%% *} of $1: $left"
  done
}
menu_row_change "$out"

# Frame 116 is 11.5 s into the crawl: yellow lines and white stars, no menu colours.
video_frame "$out" 116 "$VIDEO_TMP/crawl.ppm"
counts=$(python3 "$VIDEO_PIXELS" count "$VIDEO_TMP/crawl.ppm" 0 0 800 600) || video_fail "cannot count the crawl's pixels"
px() { sed -n "s/^px_$1=//p" <<<"$counts"; }
[ "$(px yellow)" -gt 2000 ] && [ "$(px white)" -gt 20 ] && [ "$(px menu)" -lt 50 ] ||
  video_fail "crawl frame: $(px yellow) yellow, $(px white) white, $(px menu) menu-coloured pixels"

# The video's audio against the track as libvorbis decodes it, within 10 ms: it starts with the first frame.
ffmpeg -v error -y -i "$out" -map 0:a -f s16le -ac 2 -ar 44100 "$VIDEO_TMP/video.raw" || video_fail "cannot decode the audio"
ffmpeg -v error -y -i "$KELVRA_AUDIO" -f s16le -ac 2 -ar 44100 "$VIDEO_TMP/track.raw" || video_fail "cannot decode the track"
python3 "$VIDEO_LIB_DIR/../e2e/audio_match.py" "$VIDEO_TMP/track.raw" "$VIDEO_TMP/video.raw" 2 0.01 >"$VIDEO_TMP/match" ||
  video_fail "audio does not match the track: $(cat "$VIDEO_TMP/match")"

video_capture --size 3840x2160 --fps 2 --seconds 2 --out "$VIDEO_TMP/4k.mp4" || { cat "$VIDEO_TMP/log" >&2; video_fail "4K capture failed"; }
[ "$(video_probe "$VIDEO_TMP/4k.mp4" v width,height,nb_frames)" = 3840,2160,4 ] || video_fail "the 4K video is not 4 frames of 3840x2160"
ffmpeg -v error -y -i "$VIDEO_TMP/4k.mp4" -vf "select=eq(n\\,3),scale=960:540" -frames:v 1 -c:v ppm "$VIDEO_TMP/4k.ppm" ||
  video_fail "cannot take a 4K frame"
[ "$(python3 "$VIDEO_PIXELS" bands "$VIDEO_TMP/4k.ppm" 0 470 | wc -l)" -eq 3 ] || video_fail "the 4K menu's left column lacks its 3 rows"

# Without glClipControl the frames come from the window's back buffer, bottom row first: upright and in order too.
KELVRA_CAPTURE_WITHOUT=glClipControl video_capture --fps 4 --seconds 5 --out "$VIDEO_TMP/window.mp4" ||
  { cat "$VIDEO_TMP/log" >&2; video_fail "window capture failed"; }
grep -q "read from the window (this GL has no glClipControl)" "$VIDEO_TMP/log" || video_fail "no window read-back: $(cat "$VIDEO_TMP/log")"
menu_row_change "$VIDEO_TMP/window.mp4"
echo "PASS"

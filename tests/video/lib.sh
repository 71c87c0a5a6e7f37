# Shared functions for the capture checks: a capture on a private display, probing the video with ffprobe,
# and single frames as PPM images. A script sources this file and fails through video_fail.

: "${KELVRA_TOOLS:?KELVRA_TOOLS must name the repo tools folder}"
: "${KELVRA_CAPTURE_EXE:?KELVRA_CAPTURE_EXE must name the built kelvra-capture.exe}"
VIDEO_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
VIDEO_PIXELS="$VIDEO_LIB_DIR/../e2e/pixels.py"
VIDEO_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kelvra-video.XXXXXX") && trap 'rm -rf "$VIDEO_TMP"' EXIT

video_fail() { echo "FAIL: $*" >&2; exit 1; }

# video_capture ARGS...: one capture on its own virtual display; its output and errors land in $VIDEO_TMP/log.
# The tests' captures take 3 to 20 s under load; one still running after 60 s (a program that never quits) fails.
video_capture() {
  timeout -k 5 60 "$KELVRA_TOOLS/with-xvfb" "$KELVRA_TOOLS/capture-video" "$KELVRA_CAPTURE_EXE" "$@" \
    >"$VIDEO_TMP/log" 2>&1
  local rc=$?
  [ "$rc" -lt 124 ] || echo "the capture did not end within 60 s" >>"$VIDEO_TMP/log"
  return "$rc"
}

# video_probe FILE STREAM ENTRIES: the values of the first video (v) or audio (a) stream, comma-separated.
video_probe() { ffprobe -v error -select_streams "$2:0" -show_entries "stream=$3" -of csv=p=0 "$1"; }

# video_edge_share FILE N: of the lit pixels in the menu's left column (x < 380) of frame N of an 800x600 video,
# the percentage whose luma lies between the background's (16) and the letters' (110 and more): their edges.
video_edge_share() {
  ffmpeg -v error -i "$1" -vf "select=eq(n\\,$2),crop=380:600:0:0" -frames:v 1 -f rawvideo -pix_fmt yuv420p - |
    python3 -c 'import sys; y = sys.stdin.buffer.read()[:380 * 600]
print(100 * sum(24 < v < 100 for v in y) // max(1, sum(v > 24 for v in y)))'
}

video_frame() {
  ffmpeg -v error -y -i "$1" -vf "select=eq(n\\,$2)" -frames:v 1 -f image2 -c:v ppm "$3" ||
    video_fail "cannot take frame $2 of $1"
}

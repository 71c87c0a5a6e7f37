# What the capture refuses: a bad option, an output it cannot write, and a missing encoder. Each gives one
# line of error, a non-zero exit, and no file. Then an encoder that goes away after a few frames: under Wine,
# which holds both ends of the fifo, the capture's writes then wait, and it fails at its deadline (3 s here).
source "$(dirname "$0")/lib.sh"
out="$VIDEO_TMP/never.mp4"

refuses() {
  local expect=$1
  shift
  ! video_capture "$@" || video_fail "accepted: $*"
  [ "$(wc -l <"$VIDEO_TMP/log")" -eq 1 ] || video_fail "not one line for '$*': $(cat "$VIDEO_TMP/log")"
  grep -q -- "$expect" "$VIDEO_TMP/log" || video_fail "for '$*' expected '$expect', got: $(cat "$VIDEO_TMP/log")"
  [ -z "$(find "$VIDEO_TMP" -maxdepth 1 -name '*.mp4*' -o -maxdepth 1 -name '.*partial*')" ] ||
    video_fail "a file was left behind after '$*'"
}

# The option checks themselves are unit-tested; here the whole tool, once per kind of refusal.
refuses "unknown option '--speed'" --speed 2 --out "$out"
refuses "takes no new file" --out /proc/kelvra.mp4
touch "$VIDEO_TMP/plain"
refuses "no folder" --out "$VIDEO_TMP/plain/kelvra.mp4"
KELVRA_FFMPEG=/nonexistent/ffmpeg refuses "ffmpeg is not installed" --seconds 1 --out "$out"

printf '#!/bin/sh\nhead -c 3600000 >/dev/null\n' >"$VIDEO_TMP/quitter" && chmod +x "$VIDEO_TMP/quitter"
! KELVRA_FFMPEG="$VIDEO_TMP/quitter" KELVRA_CAPTURE_ENCODER_DEADLINE=3 video_capture --seconds 10 --out "$out" || video_fail "a capture without its encoder succeeded"
grep -qx "kelvra-capture: the encoder stopped taking frames (none for 3 s)" "$VIDEO_TMP/log" &&
  grep -q "the capture failed (exit code 1)" "$VIDEO_TMP/log" || video_fail "the lost encoder was not reported: $(cat "$VIDEO_TMP/log")"
echo "PASS"

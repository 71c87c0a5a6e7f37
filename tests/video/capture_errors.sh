# What the capture refuses: unknown or malformed options, sizes it cannot render or encode, an output it
# cannot write, and a missing encoder. Each gives one line of error, a non-zero exit, and no file.
source "$(dirname "$0")/lib.sh"
out="$VIDEO_TMP/never.mp4"

refuses() {
  local expect=$1
  shift
  if capture "$@"; then
    video_fail "accepted: $*"
  fi
  [ "$(wc -l <"$VIDEO_TMP/log")" -eq 1 ] || video_fail "not one line for '$*': $(cat "$VIDEO_TMP/log")"
  grep -q -- "$expect" "$VIDEO_TMP/log" || video_fail "for '$*' expected '$expect', got: $(cat "$VIDEO_TMP/log")"
  [ -z "$(find "$VIDEO_TMP" -maxdepth 1 -name '*.mp4*' -o -maxdepth 1 -name '.*partial*')" ] ||
    video_fail "a file was left behind after '$*'"
}

refuses "unknown option '--speed'" --speed 2 --out "$out"
refuses "unknown option 'extra'" extra --out "$out"
refuses "needs a value" --out "$out" --fps
refuses "--fps takes" --fps 0 --out "$out"
refuses "--fps takes" --fps 12x --out "$out"
refuses "cannot render 0x0" --size 0x0 --out "$out"
refuses "cannot render 100000x600" --size 100000x600 --out "$out"
refuses "must be even" --size 801x600 --out "$out"
refuses "--size takes" --size big --out "$out"
refuses "--seconds takes" --seconds -1 --out "$out"
refuses "takes no new file" --out /proc/kelvra.mp4
touch "$VIDEO_TMP/plain"
refuses "no folder" --out "$VIDEO_TMP/plain/kelvra.mp4"
refuses "no folder" --out "$VIDEO_TMP/no/such/folder/kelvra.mp4"
KELVRA_FFMPEG=/nonexistent/ffmpeg refuses "ffmpeg is not installed" --seconds 1 --out "$out"
echo "PASS"

# End-to-end: an audio.ogg that is not Ogg Vorbis (empty; random bytes; the real file with its first page
# destroyed) makes the demo print "Error!" and the sound layer's reason, then run silent and lit; Escape
# ends each run with exit code 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/music_lib.sh"
e2e_begin music_bad_file 1024x768x24

music=$(dirname "$KELVRA_EXE")/audio.ogg
[ -f "$music" ] || e2e_fail "no audio.ogg beside $KELVRA_EXE"
: >"$E2E_TMP/empty.ogg"
head -c 65536 /dev/urandom >"$E2E_TMP/random.ogg"
# The real file with its first 4 KiB (the "OggS" capture, identification and most of the setup header)
# overwritten: the rest is still a valid run of Ogg pages, but the stream has no start.
cp "$music" "$E2E_TMP/broken.ogg"
head -c 4096 /dev/urandom | dd of="$E2E_TMP/broken.ogg" conv=notrunc status=none

music_home home file
for kind in empty random broken; do
  music_start_demo "$kind" "$E2E_TMP/$kind.ogg"
  music_open_window
  out=$(music_stdout; echo .)
  out=${out%.}
  e2e_log "$kind.ogg: standard output $(printf '%q' "$out")"
  case $out in
    $'Error!\nUnknown file format\n' | $'Error!\nError loading file\n') ;;
    *) e2e_fail "$kind.ogg: standard output $(printf '%q' "$out") is not \"Error!\" and one known reason" ;;
  esac
  music_sleep_until 5
  music_check_lit_menu "menu-$kind"
  music_escape
  # Nothing more may come after the report (a late crash would add lines).
  music_expect_stdout "$out"
done
e2e_pass

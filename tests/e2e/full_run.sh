# End-to-end, the whole production in one launch (about 100 s): the question waits for its answer; No gives
# an 800x600 window, the lit menu, then the crawl over white stars; the device gets the track as an independent
# decoder hears it; the demo ends itself with 0 after about 96 s, printing nothing.
source "$(dirname "$0")/lib.sh"
e2e_begin full_run 1024x768x24

e2e_launch
e2e_find_window '^Kelvra$' >/dev/null || e2e_fail "no message box captioned 'Kelvra' appeared"
sleep 1
[ -z "$(xdotool search --name 'FPS$' 2>/dev/null)" ] || e2e_fail "a FPS window exists before the answer"
answered=$SECONDS
e2e_open_window
[ "$X" -eq 0 ] && [ "$Y" -eq 0 ] && [ "$WIDTH" -eq 800 ] && [ "$HEIGHT" -eq 600 ] ||
  e2e_fail "the window is ${WIDTH}x${HEIGHT}+$X+$Y, expected 800x600+0+0"

e2e_sleep_until 5
e2e_expect_lit_menu menu

e2e_sleep_until 30
e2e_expect_crawl crawl

# The demo ends itself; its running time is bounded from both sides of the uncertain window creation.
e2e_expect_exit $((120 - (SECONDS - answered)))
[ $((SECONDS - answered)) -ge 90 ] && [ $((SECONDS - SEEN)) -le 110 ] ||
  e2e_fail "the demo ended $((SECONDS - answered)) s after the answer, $((SECONDS - SEEN)) s after its window showed"
e2e_expect_stdout ""

sox "$E2E_MUSIC" -t raw -r 44100 -e signed -b 16 -c 2 "$E2E_TMP/ref.raw" trim 0 30 ||
  e2e_fail "sox cannot decode the track"
python3 "$E2E_LIB_DIR/audio_match.py" "$E2E_TMP/ref.raw" "$E2E_RAW" >&2 ||
  e2e_fail "the recording does not match the track"
e2e_pass

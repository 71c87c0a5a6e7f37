# End-to-end, short launches: Yes refused on a 1024x768x24 screen (a warning, then a window without menu bar);
# File > Exit; missing or damaged music and no sound device reported while the demo plays lit; and ten
# launches in all ended by a zero-length Escape tap (one in the crawl), each within 10 s with exit code 0.
source "$(dirname "$0")/lib.sh"
e2e_begin launches 1024x768x24
taps=0

# Yes asks for 800x600x16, which this screen refuses: the warning box, and after OK an overlapped window.
e2e_launch
box=$(e2e_find_window '^Kelvra$') || e2e_fail "no question box appeared"
e2e_answer_box "$box" Return
warning=$(e2e_find_window '^qf2k4_demo$') || e2e_fail "no warning box 'qf2k4_demo' after the answer Yes"
[ -z "$(xdotool search --name 'FPS$' 2>/dev/null)" ] || e2e_fail "a FPS window exists before the warning was answered"
e2e_expect_box_texts qf2k4_demo \
  'The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?' OK
e2e_answer_box "$warning" Return
main=$(e2e_find_window '^[0-9]+\.[0-9] FPS$') || e2e_fail "no FPS window after the warning"
e2e_wait_rate "$main"
e2e_geometry "$main"
[ "$WIDTH" -eq 800 ] && [ "$HEIGHT" -eq 600 ] || e2e_fail "the window is ${WIDTH}x${HEIGHT}, expected 800x600"
e2e_shot windowed
e2e_top_rows "$X" "$Y" "$WIDTH" 120
[ "$rows_caption_end" -ge 10 ] || e2e_fail "no caption: the refused mode must give an overlapped window"
# Without a menu the client area starts right under the caption, after at most a frame line or two.
[ "$rows_light_band" -lt 5 ] && [ "$rows_client_top" -gt "$rows_caption_end" ] &&
  [ "$rows_client_top" -le $((rows_caption_end + 3)) ] || e2e_fail "the client area is not right under the caption"
top=$((Y + rows_client_top + 2))
e2e_count $((X + 8)) "$top" $((WIDTH - 16)) $((Y + HEIGHT - 8 - top))
[ "$px_menu" -ge 500 ] || e2e_fail "the menu scene's text is missing ($px_menu menu-coloured pixels)"
e2e_tap_escape "$main" && taps=$((taps + 1))

# File > Exit, opened with alt+f and chosen with x; the popup is a new nameless window under the menu bar.
e2e_launch
e2e_open_window
before=$(xdotool search --onlyvisible --name '' 2>/dev/null | sort)
e2e_point_at "$MAIN"
xdotool key alt+f
sleep 1
popups=$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --name '' 2>/dev/null | sort))
[ -n "$popups" ] && e2e_demo_running || e2e_fail "alt+f opened no File menu popup"
xdotool key x
e2e_expect_exit_zero 15

# Missing music: the report, a lit menu and then the crawl; Escape in the crawl ends it.
e2e_launch none
e2e_open_window
e2e_expect_stdout $'Error!\nFile Not Found\n'
e2e_sleep_until 5
e2e_expect_lit_menu missing-menu
e2e_sleep_until 28
e2e_expect_crawl missing-crawl
e2e_tap_escape "$MAIN" && taps=$((taps + 1))
e2e_expect_stdout $'Error!\nFile Not Found\n'

# The real file with its first 4 KiB overwritten (a run of valid pages without a stream start), and the
# real file with no sound device: each reported once, nothing more after the Escape.
cp "$E2E_MUSIC" "$E2E_TMP/broken.ogg"
head -c 4096 /dev/urandom | dd of="$E2E_TMP/broken.ogg" conv=notrunc status=none
for setup in "$E2E_TMP/broken.ogg file" "$E2E_MUSIC none"; do
  e2e_launch $setup
  e2e_open_window
  out=$(e2e_stdout)
  case $out in
    $'Error!\nUnknown file format\n.' | $'Error!\nError loading file\n.') ;;
    $'Error!\nError initializing output device.\n.') ;;
    *) e2e_fail "$setup: standard output $(printf '%q' "$out") is not \"Error!\" and the expected reason" ;;
  esac
  [[ $setup != *none || $out == *device* ]] || e2e_fail "without a device the report is $(printf '%q' "$out")"
  e2e_sleep_until 5
  e2e_expect_lit_menu error-menu
  e2e_tap_escape "$MAIN" && taps=$((taps + 1))
  e2e_expect_stdout "${out%.}"
done

while [ "$taps" -lt 10 ]; do
  e2e_launch
  e2e_open_window
  e2e_tap_escape "$MAIN" && taps=$((taps + 1))
done
e2e_pass

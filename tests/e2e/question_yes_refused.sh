# End-to-end: on a 1024x768x24 screen the answer Yes asks for 800x600x16, which is refused: a warning box
# "qf2k4_demo" comes, and after OK an overlapped window without menu bar; Escape ends it with exit code 0.
source "$(dirname "$0")/lib.sh"
e2e_begin question_yes_refused 1024x768x24

e2e_start_demo
box=$(e2e_find_window '^Kelvra$' 60) || e2e_fail "no question box appeared"
e2e_answer_box "$box" Return

warning=$(e2e_find_window '^qf2k4_demo$' 60) || e2e_fail "no warning box 'qf2k4_demo' after the answer Yes"
e2e_geometry "$warning"
e2e_log "warning box $warning: ${WIDTH}x${HEIGHT}+$X+$Y"
[ "$WIDTH" -lt 700 ] && [ "$HEIGHT" -lt 300 ] || e2e_fail "the warning box is ${WIDTH}x${HEIGHT}, not a small dialog"
[ -z "$(xdotool search --name 'FPS$' 2>/dev/null)" ] || e2e_fail "a FPS window exists before the warning was answered"
e2e_expect_box_texts qf2k4_demo \
  'The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?' OK
e2e_answer_box "$warning" Return

main=$(e2e_find_window '^[0-9]+\.[0-9] FPS$' 60) || e2e_fail "no FPS window after the warning"
e2e_wait_rate "$main"
e2e_geometry "$main"
e2e_log "main window $main: ${WIDTH}x${HEIGHT}+$X+$Y"
[ "$WIDTH" -eq 800 ] && [ "$HEIGHT" -eq 600 ] || e2e_fail "the window is ${WIDTH}x${HEIGHT}, expected 800x600"
wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT

e2e_shot windowed
e2e_top_rows "$wx" "$wy" "$ww" 120
e2e_log "top rows: caption ends at $rows_caption_end, light band $rows_light_band rows, client from $rows_client_top"
[ "$rows_caption_end" -ge 10 ] || e2e_fail "no caption: the refused mode must give an overlapped window (rows: $rows_kinds)"
# Without a menu the client area starts right under the caption, after at most a frame line or two.
[ "$rows_light_band" -lt 5 ] || e2e_fail "a light band of $rows_light_band rows under the caption: a menu bar?"
[ "$rows_client_top" -gt "$rows_caption_end" ] && [ "$rows_client_top" -le $((rows_caption_end + 3)) ] ||
  e2e_fail "the client area starts at row $rows_client_top, not right under the caption (row $rows_caption_end)"

ctop=$((wy + rows_client_top + 2))
e2e_count $((wx + 8)) "$ctop" $((ww - 16)) $((wy + wh - 8 - ctop))
e2e_log "client pixels: black $px_black, menu colours $px_menu of $px_total"
[ "$px_menu" -ge 500 ] || e2e_fail "the menu scene's text is missing ($px_menu menu-coloured pixels)"

e2e_tap_key "$main" Escape
e2e_expect_exit_zero 15
e2e_pass

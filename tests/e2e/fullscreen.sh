# End-to-end: on an 800x600x16 screen the answer Yes gets its mode: no warning, a popup window covering the
# screen without caption or menu, showing the menu scene; Escape ends it with exit code 0.
source "$(dirname "$0")/lib.sh"
e2e_begin fullscreen 800x600x16

e2e_launch
box=$(e2e_find_window '^Kelvra$') || e2e_fail "no question box appeared"
e2e_answer_box "$box" Return
main=$(e2e_find_window '^([0-9]+\.[0-9] FPS|qf2k4_demo)$') || e2e_fail "no FPS window after the answer Yes"
[ "$(xdotool getwindowname "$main")" != qf2k4_demo ] || e2e_fail "800x600x16 was refused on an 800x600x16 screen"
e2e_wait_rate "$main"
e2e_geometry "$main"
[ "$X" -eq 0 ] && [ "$Y" -eq 0 ] && [ "$WIDTH" -eq 800 ] && [ "$HEIGHT" -eq 600 ] ||
  e2e_fail "the window is ${WIDTH}x${HEIGHT}+$X+$Y, expected to cover the screen at 800x600+0+0"
# No caption and no menu bar: the top rows are the black scene background.
e2e_shot top 0 0 800 40
[ $((px_black * 100)) -ge $((px_total * 99)) ] || e2e_fail "the top rows are not black: a caption or menu bar is drawn"
e2e_count 0 0 800 600
[ "$px_menu" -ge 500 ] || e2e_fail "the menu scene's text is missing ($px_menu menu-coloured pixels)"
e2e_tap_escape "$main"
e2e_pass

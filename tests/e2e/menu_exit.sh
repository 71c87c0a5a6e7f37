# End-to-end: after the answer No, the "File" menu's "Exit" item (opened with alt+f, chosen with x) ends
# the demo with exit code 0.
source "$(dirname "$0")/lib.sh"
e2e_begin menu_exit 1024x768x24

e2e_start_demo
box=$(e2e_find_window '^Kelvra$' 60) || e2e_fail "no question box appeared"
e2e_answer_box "$box" n
main=$(e2e_find_window '^[0-9]+\.[0-9] FPS$' 60) || e2e_fail "no FPS window after the answer No"
e2e_wait_rate "$main"
e2e_geometry "$main"
wx=$X wy=$Y ww=$WIDTH

# Open the menu and wait for its popup: a new window without a name, just under the menu bar.
before=$(xdotool search --onlyvisible --name '' 2>/dev/null | sort)
e2e_press_in "$main" alt+f
popup=""
deadline=$((SECONDS + 15))
while [ -z "$popup" ] && [ "$SECONDS" -lt "$deadline" ]; do
  sleep 0.1
  e2e_demo_running || e2e_fail "the demo ended on alt+f, before Exit was chosen"
  for id in $(comm -13 <(echo "$before") <(xdotool search --onlyvisible --name '' 2>/dev/null | sort)); do
    e2e_geometry "$id"
    # The popup hangs from the "File" item at the left of the menu bar, inside the frame.
    if [ "$X" -ge "$wx" ] && [ "$X" -lt $((wx + 100)) ] && [ "$Y" -gt "$wy" ] && [ "$Y" -lt $((wy + 120)) ] &&
      [ "$WIDTH" -lt $((ww / 2)) ]; then
      popup=$id
    fi
  done
done
[ -n "$popup" ] || e2e_fail "alt+f opened no File menu popup"
e2e_log "File menu popup $popup: ${WIDTH}x${HEIGHT}+$X+$Y"
e2e_shot menu-open
e2e_demo_running || e2e_fail "the demo ended while its File menu was open"

xdotool key x
e2e_expect_exit_zero 15
e2e_pass

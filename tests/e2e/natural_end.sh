# End-to-end, the whole run (~100 s): answered No and left alone, the demo shows the menu scene, then the
# text crawl (yellow lines over white stars), and closes itself with exit code 0 about 96 s after it opened.
source "$(dirname "$0")/lib.sh"
e2e_begin natural_end 1024x768x24

e2e_start_demo
box=$(e2e_find_window '^Kelvra$' 60) || e2e_fail "no question box appeared"
answered=$SECONDS
e2e_answer_box "$box" n
main=$(e2e_find_window '^[0-9]+\.[0-9] FPS$' 60) || e2e_fail "no FPS window after the answer No"
seen=$SECONDS
e2e_wait_rate "$main"
e2e_geometry "$main"
# The client area of the overlapped window with menu bar, inside frame, caption and menu (see question_no).
cx=$((X + 8)) cy=$((Y + 50)) cw=$((WIDTH - 16)) ch=$((HEIGHT - 58))
# Park the pointer away from the window: nothing may reach the demo while it plays.
xdotool mousemove $((X + WIDTH + 50)) $((Y + HEIGHT + 50))

# e2e_sleep_until SECONDS: waits until that many seconds have passed since the answer.
e2e_sleep_until() {
  while [ $((SECONDS - answered)) -lt "$1" ]; do
    e2e_demo_running || e2e_fail "the demo ended early, $((SECONDS - answered)) s after the answer"
    sleep 0.5
  done
}

e2e_sleep_until 5
e2e_shot menu
e2e_count "$cx" "$cy" "$cw" "$ch"
e2e_log "at 5 s: menu colours $px_menu, yellow $px_yellow, white $px_white, other $px_other"
[ "$px_menu" -ge 500 ] || e2e_fail "at 5 s the menu scene's colours are missing ($px_menu pixels)"

e2e_sleep_until 30
e2e_shot crawl
e2e_count "$cx" "$cy" "$cw" "$ch"
e2e_log "at 30 s: menu colours $px_menu, yellow $px_yellow, white $px_white, other $px_other"
[ "$px_yellow" -ge 500 ] || e2e_fail "at 30 s the crawl's yellow text is missing ($px_yellow pixels)"
[ "$px_white" -ge 4 ] || e2e_fail "at 30 s there are no white star pixels ($px_white)"
[ "$px_menu" -eq 0 ] || e2e_fail "at 30 s $px_menu pixels still have the menu's colours"

# The demo ends itself; bound its running time from both sides of the uncertain window creation.
e2e_wait_exit $((120 - (SECONDS - answered)))
ended=$SECONDS
e2e_log "ended $((ended - answered)) s after the answer, $((ended - seen)) s after the window was seen"
[ "$E2E_RC" -eq 0 ] || e2e_fail "the demo ended by itself with exit code $E2E_RC, expected 0"
[ $((ended - answered)) -ge 90 ] || e2e_fail "the demo ended after $((ended - answered)) s, before 90 s"
[ $((ended - seen)) -le 110 ] || e2e_fail "the demo ended $((ended - seen)) s after its window came, after 110 s"
e2e_pass

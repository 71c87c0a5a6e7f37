# End-to-end: the fullscreen question answered No gives an 800x600 window with caption, menu bar, the
# measured frame rate in its title and the menu scene's colours; Escape then ends the demo with exit code 0.
source "$(dirname "$0")/lib.sh"
e2e_begin question_no 1024x768x24

e2e_start_demo
box=$(e2e_find_window '^Kelvra$' 60) || e2e_fail "no message box captioned 'Kelvra' appeared"
e2e_geometry "$box"
e2e_log "question box $box: ${WIDTH}x${HEIGHT}+$X+$Y"
# A message box is a small dialog, not the 800x600 main window that starts with the same title.
[ "$WIDTH" -lt 500 ] && [ "$HEIGHT" -lt 300 ] ||
  e2e_fail "the 'Kelvra' window is ${WIDTH}x${HEIGHT}, too big for the question box"
e2e_expect_box_texts Kelvra "Run in fullscreen window?" "&Yes" "&No"
# The program must wait for the answer before making its window.
sleep 1
[ -z "$(xdotool search --name 'FPS$' 2>/dev/null)" ] || e2e_fail "a FPS window exists before the answer"

e2e_answer_box "$box" n

# Follow the main window's title: "Kelvra", then "0.0 FPS", then measured rates once a second.
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
main=""
names=()
measured=""
last_poll=$(now_ms)
max_gap=0
deadline=$((SECONDS + 60))
while [ "$SECONDS" -lt "$deadline" ]; do
  e2e_demo_running || e2e_fail "the demo ended after the answer No (titles seen: ${names[*]})"
  if [ -z "$main" ]; then
    seen=$SECONDS
    for id in $(xdotool search --onlyvisible --name '^(Kelvra|[0-9]+\.[0-9] FPS)$' 2>/dev/null); do
      e2e_geometry "$id"
      [ "$WIDTH" -ge 700 ] && main=$id && break
    done
  fi
  if [ -n "$main" ]; then
    name=$(xdotool getwindowname "$main" 2>/dev/null) || e2e_fail "the main window vanished"
    [ "${#names[@]}" -gt 0 ] && [ "${names[-1]}" = "$name" ] || names+=("$name")
    if [[ $name =~ ^[0-9]+\.[0-9]\ FPS$ ]] && [ "$name" != "0.0 FPS" ]; then
      measured=$name
      break
    fi
  fi
  # The longest pause between two looks: the first titles last about a second, a lagging loop can miss them.
  now=$(now_ms)
  [ $((now - last_poll)) -le "$max_gap" ] || max_gap=$((now - last_poll))
  last_poll=$now
  sleep 0.05
done
[ -n "$main" ] || e2e_fail "no 800x600 main window within 60 s of the answer"
e2e_log "main window $main, titles seen: ${names[*]} (longest pause between looks $max_gap ms)"
[ -n "$measured" ] || e2e_fail "the title never showed a measured rate (titles seen: ${names[*]})"
for name in "${names[@]}"; do
  [[ $name =~ ^(Kelvra|[0-9]+\.[0-9]\ FPS)$ ]] || e2e_fail "unexpected title '$name'"
done
if [ "${names[0]}" != "Kelvra" ] && [ "${names[0]}" != "0.0 FPS" ]; then
  # Only a loop that kept up can tell that the first titles were skipped.
  [ "$max_gap" -gt 600 ] || e2e_fail "the first title was '${names[0]}', not 'Kelvra' or '0.0 FPS'"
  e2e_log "the polling lagged; the first titles were missed"
fi

e2e_geometry "$main"
[ "$X" -eq 0 ] && [ "$Y" -eq 0 ] && [ "$WIDTH" -eq 800 ] && [ "$HEIGHT" -eq 600 ] ||
  e2e_fail "the window is ${WIDTH}x${HEIGHT}+$X+$Y, expected 800x600+0+0"
wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT

shot_at=$SECONDS
e2e_shot menu
e2e_top_rows "$wx" "$wy" "$ww" 120
e2e_log "top rows: caption ends at $rows_caption_end, light band $rows_light_band rows, client from $rows_client_top"
[ "$rows_caption_end" -ge 10 ] || e2e_fail "no caption at the top of the window (rows: $rows_kinds)"
# Wine's menu bar is about 19 rows high; the frame lines under a caption alone are 1-2 rows.
[ "$rows_light_band" -ge 12 ] || e2e_fail "no menu bar under the caption (light band of $rows_light_band rows)"
[ "$rows_client_top" -gt "$rows_caption_end" ] || e2e_fail "no black client area under the menu bar"

ctop=$((wy + rows_client_top + 4))
e2e_count $((wx + 8)) "$ctop" $((ww - 16)) $((wy + wh - 8 - ctop))
e2e_log "client pixels: black $px_black, normal $px_normal, highlight $px_highlight, active $px_active, other $px_other of $px_total"
[ $((px_black * 100)) -ge $((px_total * 80)) ] || e2e_fail "the client area is not mostly black ($px_black of $px_total)"
[ "$px_normal" -ge 500 ] || e2e_fail "too few NORMAL-coloured text pixels ($px_normal)"
if [ $((shot_at - seen)) -le 12 ]; then
  [ "$px_highlight" -ge 100 ] || e2e_fail "too few HIGHLIGHT-coloured text pixels ($px_highlight)"
else
  # From 13.5 s on only "Play Demo" is lit, flashing HIGHLIGHT and ACTIVE by turns.
  e2e_log "the screenshot came $((shot_at - seen)) s into the menu scene; 'Play Demo' may be flashing"
  [ $((px_highlight + px_active)) -ge 100 ] || e2e_fail "too few HIGHLIGHT/ACTIVE text pixels"
fi

e2e_tap_key "$main" Escape
e2e_expect_exit_zero 15
e2e_pass

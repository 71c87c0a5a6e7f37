# Shared functions for the music end-to-end scripts: a HOME whose ALSA default is a file sink (or none), a run
# folder with a chosen audio.ogg (or none), the demo's standard output, and the lit-menu and crawl checks.
# A script sources lib.sh, then this file, after which e2e_begin works as usual.

# music_home NAME [SINK]: makes $E2E_TMP/NAME as a HOME for the demo and sets MUSIC_HOME. With SINK "file"
# its .asoundrc routes the default ALSA device to $E2E_TMP/NAME/out.raw (44100 Hz s16le stereo; sets
# MUSIC_RAW); with "none" it has no .asoundrc at all; with "broken" the default device names a card that
# does not exist.
# NOTE: this machine has no sound card; Wine's ALSA driver then offers a device only through such a config.
# The "null" slave takes the samples as fast as they come, the "file" plugin keeps a copy of them.
music_home() {
  local name=$1 sink=${2:-file}
  MUSIC_HOME="$E2E_TMP/$name"
  MUSIC_RAW=""
  mkdir -p "$MUSIC_HOME" || e2e_fail "cannot make $MUSIC_HOME"
  case $sink in
    file)
      MUSIC_RAW="$MUSIC_HOME/out.raw"
      printf 'pcm.!default {\n  type file\n  slave.pcm "null"\n  file "%s"\n  format "raw"\n}\n' \
        "$MUSIC_RAW" >"$MUSIC_HOME/.asoundrc" ;;
    broken)
      printf 'pcm.!default {\n  type hw\n  card 99\n}\n' >"$MUSIC_HOME/.asoundrc" ;;
    none) ;;
    *) e2e_fail "music_home: unknown sink '$sink'" ;;
  esac
}

# music_start_demo RUN MUSIC: starts kelvra.exe under Wine in the folder $E2E_TMP/RUN, which holds a copy of
# the program and, unless MUSIC is empty, MUSIC copied as audio.ogg; HOME is $MUSIC_HOME. Standard output
# goes to $E2E_TMP/RUN.stdout (sets MUSIC_STDOUT). Like e2e_start_demo, it sets E2E_PID.
music_start_demo() {
  local run="$E2E_TMP/$1" music=$2
  mkdir -p "$run" || e2e_fail "cannot make $run"
  cp "$KELVRA_EXE" "$run/kelvra.exe" || e2e_fail "cannot copy $KELVRA_EXE"
  if [ -n "$music" ]; then
    cp "$music" "$run/audio.ogg" || e2e_fail "cannot copy $music"
  fi
  MUSIC_STDOUT="$E2E_TMP/$1.stdout"
  # lib.sh's cleanup keeps stdout.txt of a failed run; point it at this run's output.
  ln -sf "$MUSIC_STDOUT" "$E2E_TMP/stdout.txt"
  (cd "$run" && HOME="$MUSIC_HOME" exec wine ./kelvra.exe </dev/null >"$MUSIC_STDOUT" 2>"$E2E_TMP/$1.stderr") &
  E2E_PID=$!
  e2e_log "started kelvra.exe in $run with HOME $MUSIC_HOME (pid $E2E_PID)"
}

# music_stdout: the demo's standard output so far, with Wine's CRLF line ends made LF.
music_stdout() { tr -d '\r' <"$MUSIC_STDOUT"; }

# music_expect_stdout TEXT: the whole standard output must be TEXT (compared byte for byte, after CRLF -> LF).
music_expect_stdout() {
  local want=$1 got
  got=$(music_stdout; echo .)
  got=${got%.}
  [ "$got" = "$want" ] ||
    e2e_fail "standard output is $(printf '%q' "$got"), expected $(printf '%q' "$want")"
}

# music_open_window: answers the question box with No, finds the main window once it shows a measured frame
# rate, and parks the pointer outside it. Sets MUSIC_MAIN, MUSIC_SEEN (SECONDS when the window showed: the
# menu scene starts with its first frame) and the client rectangle MUSIC_CX MUSIC_CY MUSIC_CW MUSIC_CH.
music_open_window() {
  local box
  box=$(e2e_find_window '^Kelvra$' 60) || e2e_fail "no question box appeared (stdout: $(music_stdout))"
  e2e_answer_box "$box" n
  MUSIC_MAIN=$(e2e_find_window '^[0-9]+\.[0-9] FPS$' 60) || e2e_fail "no FPS window after the answer No"
  MUSIC_SEEN=$SECONDS
  e2e_wait_rate "$MUSIC_MAIN"
  e2e_geometry "$MUSIC_MAIN"
  # The client area of the overlapped window with menu bar, inside frame, caption and menu (see question_no).
  MUSIC_CX=$((X + 8)) MUSIC_CY=$((Y + 50)) MUSIC_CW=$((WIDTH - 16)) MUSIC_CH=$((HEIGHT - 58))
  # Nothing may reach the demo while it plays.
  xdotool mousemove $((X + WIDTH + 50)) $((Y + HEIGHT + 50))
}

# music_sleep_until SECONDS: waits until that many seconds have passed since the window showed; the demo must
# keep running.
music_sleep_until() {
  while [ $((SECONDS - MUSIC_SEEN)) -lt "$1" ]; do
    e2e_demo_running || e2e_fail "the demo ended early, $((SECONDS - MUSIC_SEEN)) s after its window showed"
    sleep 0.2
  done
}

# music_check_lit_menu NAME: a screenshot of the menu scene, which must show its text classes in their lit
# colours. The render state is set even when the music fails; without it the NORMAL text would be drawn
# unlit, about (107, 138, 241), instead of about (83, 107, 187).
music_check_lit_menu() {
  local at=$((SECONDS - MUSIC_SEEN))
  e2e_shot "$1"
  e2e_count "$MUSIC_CX" "$MUSIC_CY" "$MUSIC_CW" "$MUSIC_CH"
  e2e_log "$1 at $at s: normal $px_normal, highlight $px_highlight, active $px_active," \
    "yellow $px_yellow, other $px_other, brightest NORMAL-hued blue $px_blue_max"
  [ "$px_normal" -ge 500 ] || e2e_fail "$1: too few lit NORMAL text pixels ($px_normal)"
  [ "$px_highlight" -ge 100 ] || e2e_fail "$1: too few lit HIGHLIGHT text pixels ($px_highlight)"
  [ "$px_active" -ge 100 ] || e2e_fail "$1: too few lit ACTIVE text pixels ($px_active)"
  [ "$px_blue_max" -le 215 ] || e2e_fail "$1: NORMAL-hued pixels with blue $px_blue_max: the menu is drawn unlit"
}

# music_wait_crawl NAME TIMEOUT: takes screenshots until the crawl shows its yellow text with no menu colours
# left, for at most TIMEOUT seconds. The crawl starts 17 s into the menu scene, and its first line needs about
# 4 s more to rise into view.
music_wait_crawl() {
  local name=$1 deadline=$((SECONDS + $2)) at
  while :; do
    e2e_demo_running || e2e_fail "the demo ended before the crawl showed"
    at=$((SECONDS - MUSIC_SEEN))
    e2e_shot "$name"
    e2e_count "$MUSIC_CX" "$MUSIC_CY" "$MUSIC_CW" "$MUSIC_CH"
    if [ "$px_yellow" -ge 500 ] && [ "$px_menu" -eq 0 ]; then
      e2e_log "$name at $at s: yellow $px_yellow, white $px_white"
      return 0
    fi
    [ "$SECONDS" -lt "$deadline" ] ||
      e2e_fail "$name: no crawl text $((SECONDS - MUSIC_SEEN)) s after the window showed (yellow $px_yellow, menu colours $px_menu)"
    sleep 1
  done
}

# music_escape: Escape must end the demo with exit code 0.
music_escape() {
  e2e_tap_key "$MUSIC_MAIN" Escape
  e2e_expect_exit_zero 15
}

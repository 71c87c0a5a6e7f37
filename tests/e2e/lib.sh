# Shared functions for the end-to-end scripts: a private display, kelvra.exe under Wine from a private copy
# of its folder, waiting for windows and for the exit code, answering the question box, and screenshots.
# A script sources this file, calls e2e_begin NAME [SCREEN] first, and fails through e2e_fail.

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_PIXELS="$E2E_LIB_DIR/pixels.py"

: "${KELVRA_TOOLS:?KELVRA_TOOLS must name the repo tools folder}"
: "${KELVRA_EXE:?KELVRA_EXE must name the built kelvra.exe}"

E2E_NAME=e2e
E2E_PID=""
E2E_RC=""
E2E_TMP=""
E2E_SHOT=""
E2E_START=$SECONDS

# e2e_begin NAME [SCREEN]: re-runs the calling script on its own Xvfb (SCREEN as WxHxD) with its own Wine
# server (tools/with-xvfb), so that tests can run in parallel, then prepares the temp folder and the cleanup.
e2e_begin() {
  E2E_NAME=$1
  local screen=${2:-1024x768x24}
  if [ -z "${E2E_ON_DISPLAY:-}" ]; then
    export E2E_ON_DISPLAY=$screen
    KELVRA_XVFB_SCREEN=$screen exec "$KELVRA_TOOLS/with-xvfb" bash "$0"
  fi
  for tool in wine xdotool xwininfo import convert python3; do
    command -v "$tool" >/dev/null || e2e_fail "the tool '$tool' is missing (tools/install-deps)"
  done
  [ -f "$KELVRA_EXE" ] || e2e_fail "no program at $KELVRA_EXE (run tools/build)"
  # shellcheck source=/dev/null
  source "$KELVRA_TOOLS/wine-env"
  E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kelvra-$E2E_NAME.XXXXXX")
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
  e2e_log "display $DISPLAY ($E2E_ON_DISPLAY), work folder $E2E_TMP, Wine prefix $WINEPREFIX"
}

e2e_log() { echo "[$E2E_NAME +$((SECONDS - E2E_START))s] $*" >&2; }

# Prints the reason and ends the test with a failure; the EXIT trap still cleans up.
e2e_fail() {
  echo "FAIL [$E2E_NAME]: $*" >&2
  exit 1
}

e2e_pass() {
  echo "PASS [$E2E_NAME] in $((SECONDS - E2E_START)) s" >&2
  exit 0
}

# Ends the demo if it still runs (polite TERM, then KILL) and removes the work folder. with-xvfb then stops
# this test's own wineserver and removes its prefix clone; other tests have wineservers of their own.
e2e_cleanup() {
  local status=$?
  if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
    e2e_log "stopping the demo (pid $E2E_PID) left running"
    kill -TERM "$E2E_PID" 2>/dev/null
    local i
    for i in $(seq 1 50); do
      kill -0 "$E2E_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$E2E_PID" 2>/dev/null
    wait "$E2E_PID" 2>/dev/null
  fi
  if [ "$status" -ne 0 ] && [ -n "${E2E_KEEP_DIR:-}" ] && [ -n "$E2E_TMP" ]; then
    mkdir -p "$E2E_KEEP_DIR/$E2E_NAME" && cp "$E2E_TMP"/*.png "$E2E_TMP"/stdout.txt "$E2E_KEEP_DIR/$E2E_NAME/" 2>/dev/null
    e2e_log "screenshots kept in $E2E_KEEP_DIR/$E2E_NAME"
  fi
  [ -n "$E2E_TMP" ] && rm -rf "$E2E_TMP"
}

# Starts kelvra.exe under Wine from a copy of its folder (exe and music): a rebuild running meanwhile
# cannot swap the program under the test, and the program finds audio.ogg in its current folder.
e2e_start_demo() {
  local run="$E2E_TMP/run"
  mkdir -p "$run"
  cp "$KELVRA_EXE" "$run/kelvra.exe" || e2e_fail "cannot copy $KELVRA_EXE"
  local music
  music="$(dirname "$KELVRA_EXE")/audio.ogg"
  [ -f "$music" ] && cp "$music" "$run/audio.ogg"
  (cd "$run" && exec wine ./kelvra.exe </dev/null >"$E2E_TMP/stdout.txt" 2>"$E2E_TMP/stderr.txt") &
  E2E_PID=$!
  e2e_log "started kelvra.exe (pid $E2E_PID)"
}

e2e_demo_running() { kill -0 "$E2E_PID" 2>/dev/null; }

# e2e_find_window REGEX [TIMEOUT]: polls for a window whose name matches REGEX and prints its id.
# A cold Wine prefix can take many seconds before the first window shows.
e2e_find_window() {
  local regex=$1 timeout=${2:-30}
  local deadline=$((SECONDS + timeout)) id
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "$regex" 2>/dev/null | head -n1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    e2e_demo_running || return 1
    sleep 0.1
  done
  return 1
}

# e2e_wait_rate ID [TIMEOUT]: waits until the window's title shows a measured frame rate ("%.1f FPS", not
# the initial "0.0 FPS"): the demo has then drawn frames for a second. Sets E2E_TITLE.
e2e_wait_rate() {
  local id=$1 timeout=${2:-30}
  local deadline=$((SECONDS + timeout))
  while [ "$SECONDS" -lt "$deadline" ]; do
    E2E_TITLE=$(xdotool getwindowname "$id" 2>/dev/null) || e2e_fail "the window $id vanished"
    [[ $E2E_TITLE =~ ^[0-9]+\.[0-9]\ FPS$ ]] && [ "$E2E_TITLE" != "0.0 FPS" ] && return 0
    e2e_demo_running || e2e_fail "the demo ended while waiting for a frame rate in its title"
    sleep 0.1
  done
  e2e_fail "no measured frame rate in the title within $timeout s (title '$E2E_TITLE')"
}

# e2e_window_gone ID [TIMEOUT]: waits until the window is no longer shown.
e2e_window_gone() {
  local id=$1 timeout=${2:-15}
  local deadline=$((SECONDS + timeout))
  while [ "$SECONDS" -lt "$deadline" ]; do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
    sleep 0.1
  done
  return 1
}

# e2e_geometry ID: sets X Y WIDTH HEIGHT from the window's geometry.
e2e_geometry() {
  local shell
  shell=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || e2e_fail "window $1 has vanished"
  eval "$shell"
}

# Moves the pointer to the middle of the window: without a window manager keyboard focus follows the
# pointer. Two moves make sure it really moves (a box can open right under a still pointer), and the short
# settle gives Wine time to see the focus change before a key comes.
# NOTE: no `mousemove --sync`: it waits for a motion that never comes when the pointer is already there.
e2e_point_at() {
  e2e_geometry "$1"
  xdotool mousemove $((X + WIDTH / 2 - 3)) $((Y + HEIGHT / 2 - 3))
  sleep 0.1
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  sleep 0.3
}

# e2e_answer_box ID KEY: points at a message box and presses KEY (n = No, Return = Yes/OK), then waits
# until the box closes; presses again if the key was lost while Wine was still busy. The wait is long, as a
# second Return that comes late could answer the next box.
# NOTE: `xdotool key --window` is not used: Wine then may take the key as still held.
e2e_answer_box() {
  local id=$1 key=$2 try
  for try in 1 2 3; do
    e2e_point_at "$id"
    xdotool key "$key"
    e2e_window_gone "$id" 20 && return 0
    e2e_log "the box $id is still open after '$key' (try $try)"
  done
  e2e_fail "the message box did not close after pressing '$key'"
}

# e2e_expect_box_texts CAPTION TEXT...: the dialog captioned CAPTION shows each TEXT among its controls' texts
# (a line break inside a text reads \n), read from inside Wine by window_text.exe on this test's server.
e2e_expect_box_texts() {
  local caption=$1 texts want
  shift
  texts=$(wine "$KELVRA_WINDOW_TEXT" "$caption" 2>/dev/null | tr -d '\r') || e2e_fail "no dialog captioned '$caption'"
  for want in "$@"; do
    grep -qxF -- "$want" <<<"$texts" || e2e_fail "the '$caption' box does not say '$want' (it says: ${texts//$'\n'/ | })"
  done
}

# e2e_shot NAME: screenshot of the whole screen as $E2E_TMP/NAME.png and .ppm; sets E2E_SHOT (the .ppm).
# NOTE: grabs the root window; `import -window ""` would grab the X server and hang the test.
e2e_shot() {
  local png="$E2E_TMP/$1.png"
  import -window root "$png" 2>/dev/null || e2e_fail "screenshot $1 failed"
  # -depth 8: a 16-bit screen would otherwise give a PPM with 5- and 6-bit channels.
  convert "$png" -depth 8 "$E2E_TMP/$1.ppm" || e2e_fail "cannot convert screenshot $1"
  E2E_SHOT="$E2E_TMP/$1.ppm"
}

# e2e_count X Y W H: sets px_black, px_normal, px_highlight, px_active, px_menu, px_yellow, px_white,
# px_other and px_total for that rectangle of the last screenshot.
e2e_count() {
  local out
  out=$(python3 "$E2E_PIXELS" count "$E2E_SHOT" "$@") || e2e_fail "pixel count failed"
  eval "$out"
}

# e2e_top_rows X Y W ROWS: sets rows_caption_end, rows_light_band, rows_client_top (window-relative rows)
# and rows_kinds for the top of a window in the last screenshot.
e2e_top_rows() {
  local out
  out=$(python3 "$E2E_PIXELS" toprows "$E2E_SHOT" "$@") || e2e_fail "row scan failed"
  eval "$out"
}

# e2e_wait_exit TIMEOUT: waits for the demo to end; sets E2E_RC to its exit code. Fails on timeout.
e2e_wait_exit() {
  local timeout=$1
  local deadline=$((SECONDS + timeout))
  while e2e_demo_running; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "the demo still runs $timeout s after it should have ended"
    sleep 0.2
  done
  wait "$E2E_PID"
  E2E_RC=$?
  E2E_PID=""
  e2e_log "the demo ended with exit code $E2E_RC"
}

# e2e_expect_exit_zero TIMEOUT: the demo must end within TIMEOUT seconds with exit code 0.
e2e_expect_exit_zero() {
  e2e_wait_exit "$1"
  [ "$E2E_RC" -eq 0 ] || e2e_fail "exit code $E2E_RC, expected 0; stdout: $(tr -d '\r' <"$E2E_TMP/stdout.txt")"
}

# e2e_press_in ID KEY...: points at the window, then taps the keys.
e2e_press_in() {
  local id=$1
  shift
  e2e_point_at "$id"
  xdotool key "$@"
}

# e2e_tap_key ID KEY: points at the window and taps KEY with no time between press and release, so both
# usually reach the demo between two of its frames: the quickest tap a person or a key macro makes.
e2e_tap_key() {
  e2e_point_at "$1"
  xdotool keydown --delay 0 "$2" keyup --delay 0 "$2"
}

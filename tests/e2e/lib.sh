# Shared functions for the end-to-end scripts: a private display, kelvra.exe under Wine from a private copy
# of its folder with a chosen sound device and music, the question box answered, keys, screenshots, exits.
# A script sources this file, calls e2e_begin NAME [SCREEN] first, and fails through e2e_fail.

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${KELVRA_TOOLS:?KELVRA_TOOLS must name the repo tools folder}"
: "${KELVRA_EXE:?KELVRA_EXE must name the built kelvra.exe}"
E2E_MUSIC="$(dirname "$KELVRA_EXE")/audio.ogg"
E2E_NAME=e2e E2E_PID="" E2E_TMP="" E2E_SHOT="" E2E_START=$SECONDS E2E_RUNS=0

# e2e_begin NAME [SCREEN]: re-runs the calling script on its own Xvfb (SCREEN as WxHxD) with its own Wine
# server (tools/with-xvfb), so that scripts can run in parallel; then makes the work folder and the cleanup.
e2e_begin() {
  E2E_NAME=$1
  if [ -z "${E2E_ON_DISPLAY:-}" ]; then
    export E2E_ON_DISPLAY=${2:-1024x768x24}
    KELVRA_XVFB_SCREEN=$E2E_ON_DISPLAY exec "$KELVRA_TOOLS/with-xvfb" bash "$0"
  fi
  command -v xdotool >/dev/null && command -v sox >/dev/null || e2e_fail "tools are missing (tools/install-deps)"
  [ -f "$KELVRA_EXE" ] && [ -f "$E2E_MUSIC" ] || e2e_fail "no program and music at $KELVRA_EXE (run tools/build)"
  # shellcheck source=/dev/null
  source "$KELVRA_TOOLS/wine-env"
  E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kelvra-$E2E_NAME.XXXXXX")
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
  e2e_log "display $DISPLAY ($E2E_ON_DISPLAY), work folder $E2E_TMP"
}

e2e_log() { echo "[$E2E_NAME +$((SECONDS - E2E_START))s] $*" >&2; }
e2e_fail() { echo "FAIL [$E2E_NAME]: $*" >&2; exit 1; }
e2e_pass() { echo "PASS [$E2E_NAME] in $((SECONDS - E2E_START)) s" >&2; exit 0; }

e2e_cleanup() {
  [ -z "$E2E_PID" ] || kill -KILL "$E2E_PID" 2>/dev/null
  [ -z "$E2E_TMP" ] || rm -rf "$E2E_TMP"
}

# e2e_launch [MUSIC] [SINK]: starts a copy of kelvra.exe (a rebuild cannot swap it mid-test) in a fresh folder
# with MUSIC as audio.ogg (default the real track; "none": no file). SINK "file" (default) makes ALSA's default
# device record to $E2E_RAW (44100 Hz s16le stereo) faster than real time (tools/alsa-sink.conf); "none" gives
# no device.
# NOTE: these machines have no sound card, so Wine's ALSA driver has a device only through such a config; on
# a machine with one (/dev/snd), "none" names a card that does not exist instead.
e2e_launch() {
  local music=${1:-$E2E_MUSIC} sink=${2:-file}
  E2E_RUNS=$((E2E_RUNS + 1))
  local run="$E2E_TMP/run$E2E_RUNS"
  mkdir -p "$run/home"
  cp "$KELVRA_EXE" "$run/kelvra.exe" || e2e_fail "cannot copy $KELVRA_EXE"
  [ "$music" = none ] || cp "$music" "$run/audio.ogg" || e2e_fail "cannot copy $music"
  E2E_RAW="$run/out.raw" E2E_STDOUT="$run/stdout.txt" E2E_STDERR="$run/stderr.txt"
  if [ "$sink" = file ]; then
    cp "$KELVRA_TOOLS/alsa-sink.conf" "$run/home/.asoundrc"
  elif [ -e /dev/snd ]; then
    printf 'pcm.!default {\n type hw\n card 99\n}\n' >"$run/home/.asoundrc"
  fi
  (cd "$run" && HOME="$run/home" KELVRA_ALSA_SINK="$E2E_RAW" exec wine ./kelvra.exe </dev/null >"$E2E_STDOUT" \
    2>"$E2E_STDERR") &
  E2E_PID=$!
  e2e_log "run $E2E_RUNS: kelvra.exe with music '$(basename "$music")' and sound device '$sink'"
}

e2e_ended() { ! kill -0 "$E2E_PID" 2>/dev/null; }
# The demo's standard output so far, with Wine's CRLF line ends made LF and a final dot kept against $( ).
e2e_stdout() { tr -d '\r' <"$E2E_STDOUT"; echo .; }
e2e_expect_stdout() {
  local got
  got=$(e2e_stdout)
  [ "$got" = "$1." ] || e2e_fail "standard output is $(printf '%q' "${got%.}"), expected $(printf '%q' "$1")"
}

# e2e_until TIMEOUT COMMAND...: runs COMMAND every 0.1 s until it succeeds (0) or TIMEOUT seconds pass (1).
e2e_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

e2e_hidden() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
e2e_named() { E2E_FOUND=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) && [ -n "$E2E_FOUND" ]; }
# e2e_find_window REGEX: prints the id of a shown window whose name matches REGEX, once there is one. A cold
# Wine prefix can take many seconds before the first window shows.
e2e_find_window() { e2e_until 60 e2e_named "$1" && echo "$E2E_FOUND"; }
e2e_window_gone() { e2e_until "${2:-15}" e2e_hidden "$1"; }

# e2e_assign REGEX TEXT: sets the variables of TEXT's NAME=VALUE lines whose NAME REGEX matches (data, no eval).
e2e_assign() {
  local n v
  while IFS='=' read -r n v; do [[ ! $n =~ ^($1)$ ]] || printf -v "$n" %s "$v"; done <<<"$2"
}

e2e_geometry() {
  E2E_GEOMETRY=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || e2e_fail "window $1 has vanished"
  e2e_assign 'X|Y|WIDTH|HEIGHT' "$E2E_GEOMETRY"
}

# Points at the middle of the window (with no window manager the focus follows the pointer): two moves, as a
# box can open under a still pointer, and a settle so that Wine sees the focus change before a key.
# NOTE: no `mousemove --sync`: it waits for a motion that never comes when the pointer is already there.
e2e_point_at() {
  e2e_geometry "$1"
  xdotool mousemove $((X + WIDTH / 2 - 3)) $((Y + HEIGHT / 2 - 3))
  sleep 0.1
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  sleep 0.3
}

# e2e_answer_box ID KEY: presses KEY (n = No, Return = Yes/OK) in a message box until it closes; a lost key
# is pressed again, after a wait long enough that it cannot answer the next box.
# NOTE: `xdotool key --window` is not used: Wine then may take the key as still held.
e2e_answer_box() {
  local try
  for try in 1 2 3; do
    e2e_point_at "$1"
    xdotool key "$2"
    e2e_window_gone "$1" 20 && return 0
    e2e_log "the box $1 is still open after '$2' (try $try)"
  done
  e2e_fail "the message box did not close after pressing '$2'"
}

# e2e_wait_rate ID: waits until the window's title shows a measured frame rate ("%.1f FPS", not the first
# "0.0 FPS"): the demo has then drawn frames for a second.
e2e_rated() {
  local title
  title=$(xdotool getwindowname "$1" 2>/dev/null) && [[ $title =~ ^[0-9]+\.[0-9]\ FPS$ ]] && [ "$title" != "0.0 FPS" ]
}
e2e_wait_rate() { e2e_until 30 e2e_rated "$1" || e2e_fail "no measured frame rate in the title within 30 s"; }

# e2e_open_window: answers No and waits for the main window's measured rate; sets MAIN, SEEN (SECONDS when it
# showed, the menu's start), X Y WIDTH HEIGHT and the client area CX CY CW CH; parks the pointer outside.
e2e_open_window() {
  local box
  box=$(e2e_find_window '^Kelvra$') || e2e_fail "no question box appeared (stdout: $(e2e_stdout))"
  e2e_answer_box "$box" n
  MAIN=$(e2e_find_window '^[0-9]+\.[0-9] FPS$') || e2e_fail "no FPS window after the answer No"
  SEEN=$SECONDS
  e2e_wait_rate "$MAIN"
  e2e_geometry "$MAIN"
  CX=$((X + 8)) CY=$((Y + 50)) CW=$((WIDTH - 16)) CH=$((HEIGHT - 58))
  xdotool mousemove $((X + WIDTH + 50)) $((Y + HEIGHT + 50))
}

# e2e_sleep_until SECONDS: waits until that long after the main window showed; the demo must keep running.
e2e_sleep_until() {
  local left=$((SEEN + $1 - SECONDS))
  [ "$left" -le 0 ] || ! e2e_until "$left" e2e_ended ||
    e2e_fail "the demo ended $((SECONDS - SEEN)) s after its window showed"
}

# e2e_shot NAME [X Y W H]: screenshot of the screen as $E2E_TMP/NAME.ppm (E2E_SHOT), 8 bits a channel even
# from a 16-bit screen; with a rectangle, counts its pixels too (e2e_count).
# NOTE: grabs the root window; `import -window ""` would grab the X server and hang the test.
e2e_shot() {
  E2E_SHOT="$E2E_TMP/$1.ppm"
  import -window root -depth 8 "ppm:$E2E_SHOT" 2>/dev/null || e2e_fail "screenshot $1 failed"
  [ $# -eq 1 ] || e2e_count "${@:2}"
}

# e2e_count X Y W H: sets px_normal, px_menu, px_yellow, ... for a rectangle of the last screenshot.
e2e_count() {
  E2E_COUNTS=$(python3 "$E2E_LIB_DIR/pixels.py" count "$E2E_SHOT" "$@") || e2e_fail "pixel count failed"
  e2e_assign 'px_[a-z_]+' "$E2E_COUNTS"
}

# e2e_expect_lit_menu NAME: the menu's three text classes in their lit colours (without the render state,
# which must be set even when the music fails, NORMAL text comes out about (107, 138, 241), not (83, 107, 187)).
e2e_expect_lit_menu() {
  e2e_shot "$1" "$CX" "$CY" "$CW" "$CH"
  [ "$px_normal" -ge 500 ] && [ "$px_highlight" -ge 100 ] && [ "$px_active" -ge 100 ] ||
    e2e_fail "$1: too few lit menu text pixels (normal $px_normal, highlight $px_highlight, active $px_active)"
  [ "$px_blue_max" -le 215 ] || e2e_fail "$1: NORMAL-hued pixels with blue $px_blue_max: the menu is drawn unlit"
}

e2e_expect_crawl() {
  e2e_shot "$1" "$CX" "$CY" "$CW" "$CH"
  [ "$px_yellow" -ge 500 ] && [ "$px_white" -ge 4 ] && [ "$px_menu" -eq 0 ] ||
    e2e_fail "$1: not the crawl (yellow $px_yellow, white $px_white, menu colours $px_menu)"
}

e2e_expect_exit() {
  e2e_until "$1" e2e_ended || e2e_fail "the demo still runs $1 s after it should have ended"
  local rc=0
  wait "$E2E_PID" || rc=$?
  E2E_PID=""
  [ "$rc" -eq "${2:-0}" ] || e2e_fail "exit code $rc, expected ${2:-0}; stdout: $(e2e_stdout)"
}

# e2e_tap_escape ID: taps Escape with no time between press and release (both then reach the demo between
# two frames); the window must close within 10 s (a lost tap leaves it playing on) and the demo exit with 0.
e2e_tap_escape() {
  e2e_point_at "$1"
  xdotool keydown --delay 0 Escape keyup --delay 0 Escape
  e2e_window_gone "$1" 10 || e2e_fail "the demo still plays 10 s after an Escape tap"
  e2e_expect_exit 15
}

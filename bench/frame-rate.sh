#!/usr/bin/env bash
# Frame-rate benchmark: plays the real kelvra.exe once on a private Xvfb under Wine, reading its title each
# second, then the empty loop for ~15 s, then first_frame_bench; prints one table. Needs tools/build first.
# Usage: bench/frame-rate.sh [--empty-seconds N] [--first-frame-runs N] [--build DIR]. --build measures the
# programs of another build folder (default build/), to compare two versions. Measures only; never fails on speed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
tools="$repo/tools"

empty_seconds=15
first_frame_runs=10
build="$repo/build"
while [ $# -gt 0 ]; do
  case $1 in
    --empty-seconds) empty_seconds=$2; shift 2 ;;
    --first-frame-runs) first_frame_runs=$2; shift 2 ;;
    --build) build=$(cd "$2" && pwd) || exit 2; shift 2 ;;
    *) echo "usage: $0 [--empty-seconds N] [--first-frame-runs N] [--build DIR]" >&2; exit 2 ;;
  esac
done

# Re-run on a private display with a private Wine server (tools/with-xvfb), so nothing else draws there.
if [ -z "${BENCH_ON_DISPLAY:-}" ]; then
  for tool in wine xdotool Xvfb python3; do
    command -v "$tool" >/dev/null || { echo "frame-rate: '$tool' is missing (tools/install-deps)" >&2; exit 2; }
  done
  for exe in kelvra.exe bench/kelvra_empty.exe bench/first_frame_bench.exe; do
    [ -f "$build/$exe" ] || { echo "frame-rate: no $build/$exe (run tools/build)" >&2; exit 2; }
  done
  "$tools/wine-prefix" >&2 || exit 2
  export BENCH_ON_DISPLAY=1
  exec "$tools/with-xvfb" bash "$0" --empty-seconds "$empty_seconds" --first-frame-runs "$first_frame_runs" \
    --build "$build"
fi

source "$tools/wine-env"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/kelvra-bench.XXXXXX")
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid" 2>/dev/null
    sleep 1
    kill -KILL "$pid" 2>/dev/null
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

log() { echo "[frame-rate] $*" >&2; }
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

# Private copies: a rebuild by someone else meanwhile cannot swap a program under the run.
run="$tmp/run"
mkdir -p "$run"
cp "$build/kelvra.exe" "$build/audio.ogg" "$build/bench/kelvra_empty.exe" \
   "$build/bench/first_frame_bench.exe" "$run/"

# The machine, taken before the runs; the load average tells whether others were busy at the same time.
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
renderer="unknown (glxinfo not installed: package mesa-utils)"
if command -v glxinfo >/dev/null; then
  renderer=$(glxinfo -B 2>/dev/null | sed -n 's/^ *OpenGL renderer string: //p')
  [ -n "$renderer" ] || renderer="unknown (glxinfo -B printed no renderer)"
fi
load_start=$(cut -d' ' -f1-3 /proc/loadavg)

# find_window REGEX MIN_WIDTH MAX_WIDTH TIMEOUT: prints the id of a visible window of that name and width.
find_window() {
  local regex=$1 min=$2 max=$3 deadline=$((SECONDS + $4)) id shell
  while [ "$SECONDS" -lt "$deadline" ]; do
    for id in $(xdotool search --onlyvisible --name "$regex" 2>/dev/null); do
      shell=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
      eval "$shell"
      if [ "$WIDTH" -ge "$min" ] && [ "$WIDTH" -le "$max" ]; then
        echo "$id"
        return 0
      fi
    done
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# answer_no BOX: points at the question box and presses n until it closes.
# NOTE: without a window manager focus follows the pointer; `xdotool key --window` can leave Wine taking
# the key as held, so the pointer is moved over the box and a plain key is sent.
answer_no() {
  local box=$1 try i shell
  for try in 1 2 3; do
    shell=$(xdotool getwindowgeometry --shell "$box" 2>/dev/null) || return 0
    eval "$shell"
    xdotool mousemove $((X + WIDTH / 2 - 3)) $((Y + HEIGHT / 2 - 3))
    sleep 0.1
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    sleep 0.3
    xdotool key n
    for i in $(seq 1 100); do
      xwininfo -id "$box" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
      sleep 0.2
    done
    log "the question box is still open after 'n' (try $try)"
  done
  return 1
}

# poll_titles ID LIMIT OUT: reads the window's title once a second on a fixed schedule (no drift) from
# now, until the window is gone or LIMIT readings are taken; writes "second elapsed_ms title" lines to OUT.
poll_titles() {
  local id=$1 limit=$2 out=$3 t0 k=0 target now title
  t0=$(now_ms)
  : >"$out"
  while [ "$k" -lt "$limit" ]; do
    target=$((t0 + k * 1000))
    now=$(now_ms)
    [ "$now" -ge "$target" ] || sleep "$(((target - now) / 1000)).$(printf '%03d' $(((target - now) % 1000)))"
    title=$(xdotool getwindowname "$id" 2>/dev/null) || break
    echo "$k $(($(now_ms) - t0)) $title" >>"$out"
    k=$((k + 1))
  done
}

# 1. The demo, from the answer to its own end.
log "kelvra.exe: start, answer No, read the title each second until it closes itself (~100 s)"
(cd "$run" && exec wine ./kelvra.exe </dev/null >"$tmp/demo.out" 2>"$tmp/demo.err") &
pid=$!
box=$(find_window '^Kelvra$' 1 499 90) || { log "no question box appeared"; exit 1; }
answer_no "$box" || { log "the question box did not close"; exit 1; }
main=$(find_window '^(Kelvra|[0-9]+\.[0-9] FPS)$' 700 100000 60) || { log "no main window appeared"; exit 1; }
poll_titles "$main" 200 "$tmp/demo.txt"
demo_rc="still running"
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid"
  demo_rc=$?
fi
pid=""
log "kelvra.exe: $(wc -l <"$tmp/demo.txt") readings, exit code $demo_rc"

# 2. The empty loop: it never closes itself, so it is stopped after its readings.
log "kelvra_empty.exe: read the title for $empty_seconds s"
(cd "$run" && exec wine ./kelvra_empty.exe </dev/null >/dev/null 2>&1) &
pid=$!
empty=$(find_window '^(Kelvra|[0-9]+\.[0-9] FPS)$' 1 100000 60) || { log "no empty-loop window appeared"; exit 1; }
poll_titles "$empty" $((empty_seconds + 1)) "$tmp/empty.txt"
kill -TERM "$pid" 2>/dev/null
sleep 1
kill -KILL "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
pid=""

# 3. The first frame of each phase, in fresh windows.
log "first_frame_bench.exe: $first_frame_runs fresh windows"
(cd "$run" && wine ./first_frame_bench.exe "$first_frame_runs" </dev/null 2>&1 | tr -d '\r') >"$tmp/first.txt"
load_end=$(cut -d' ' -f1-3 /proc/loadavg)

out_dir="$repo/out/bench"
mkdir -p "$out_dir"
report="$out_dir/frame-rate-$(date +%Y%m%d-%H%M%S).txt"
{
  echo "Kelvra frame-rate benchmark, $(date '+%Y-%m-%d %H:%M'), commit $(git -C "$repo" rev-parse --short HEAD 2>/dev/null)"
  echo "machine: $(nproc) CPUs, $cpu; GL renderer: $renderer"
  echo "         $(wine --version 2>/dev/null | head -n1), Xvfb ${KELVRA_XVFB_SCREEN:-1024x768x24}, load average $load_start (start) / $load_end (end)"
  echo "demo exit code: $demo_rc"
  echo
  python3 - "$tmp/demo.txt" "$tmp/empty.txt" <<'PY'
# Reads "second elapsed_ms title" lines and prints the frame-rate table.
import re, statistics, sys

MENU_SECONDS = 17  # the menu runs 17 s from the first frame; the window appears with that frame
STRETCH = 5        # readings in the crawl's moving average

def readings(path):
    rows = []
    for line in open(path):
        k, ms, title = line.rstrip("\n").split(" ", 2)
        m = re.fullmatch(r"(\d+\.\d) FPS", title)
        rows.append((int(ms) / 1000.0, float(m.group(1)) if m else None, int(k)))
    return rows

demo = readings(sys.argv[1])
empty = readings(sys.argv[2])
# The first reading is before any tick. A reading shows the last tick, which counted the second before it:
# one taken in second 17 (even late in it) still counts menu frames; the one in second 18 spans the
# hand-over, with the crawl's first frame, and counts to the crawl.
menu = [(t, v) for t, v, _ in demo[1:] if v is not None and t < MENU_SECONDS + 1]
crawl = [(t, v) for t, v, _ in demo[1:] if v is not None and t >= MENU_SECONDS + 1]
empty_fps = [v for _, v, _ in empty[1:] if v is not None]
empty_median = statistics.median(empty_fps) if empty_fps else None

def ratio(v):
    return f"{v / empty_median:6.2f}" if empty_median else "     -"

print(f"{'phase':<36} {'n':>3}  {'median':>7}  {'lowest':>7}  {'median/empty':>12}")
for name, rows in (("menu (readings 1-17 s)", menu), ("crawl (18 s to the end)", crawl),
                   ("empty loop (clear + swap)", [(t, v) for t, v, _ in empty[1:] if v is not None])):
    fps = [v for _, v in rows]
    if fps:
        med = statistics.median(fps)
        print(f"{name:<36} {len(fps):>3}  {med:7.1f}  {min(fps):7.1f}  {ratio(med):>12}")
    else:
        print(f"{name:<36} {0:>3}  {'-':>7}  {'-':>7}")
# The crawl's busy middle, crawl seconds 20-45 (a reading counts the second before it), where most lines are
# in view: the figure to compare between versions of the glyphs.
busy = [v for t, v in crawl if 20 <= t - 1 - MENU_SECONDS <= 45]
if busy:
    print(f"{'crawl 20-45 s of the crawl':<36} {len(busy):>3}  {statistics.median(busy):7.1f}  {min(busy):7.1f}"
          f"  {ratio(statistics.median(busy)):>12}")
if len(crawl) >= STRETCH:
    averages = [(sum(v for _, v in crawl[i:i + STRETCH]) / STRETCH, crawl[i][0], crawl[i + STRETCH - 1][0])
                for i in range(len(crawl) - STRETCH + 1)]
    low, first, last = min(averages)
    # Each reading reports the second before it, so the stretch began about a second before its first.
    print(f"{'crawl worst 5 s (moving average)':<36} {STRETCH:>3}  {low:7.1f}  {'':>7}  {ratio(low):>12}"
          f"   at {first - 1:.0f}-{last:.0f} s after the window, crawl {first - 1 - MENU_SECONDS:.0f}-"
          f"{last - MENU_SECONDS:.0f} s")
print()
late = max(t - k for t, _, k in demo + empty)
print(f"readings (second after the window: FPS; the latest reading came {late * 1000:.0f} ms after its second):")
for label, rows in (("demo", demo), ("empty", empty)):
    cells = [f"{k}:{v:g}" if v is not None else f"{k}:-" for _, v, k in rows]
    for i in range(0, len(cells), 14):
        print(f"  {label if i == 0 else '':<6}" + " ".join(cells[i:i + 14]))
PY
  echo
  echo "first_frame_bench ($first_frame_runs fresh 800x600 windows, fixed scene clock, QueryPerformanceCounter):"
  sed 's/^/  /' "$tmp/first.txt"
} | tee "$report"
echo "(saved in ${report#"$repo/"})"

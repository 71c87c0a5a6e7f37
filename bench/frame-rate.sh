#!/usr/bin/env bash
# Frame-rate benchmark: plays the real kelvra.exe once on a private Xvfb under Wine, reading its title each
# second, then the empty loop for ~15 s, then first_frame_bench; prints one table. Needs tools/build first.
# Usage: bench/frame-rate.sh [--empty-seconds N] [--first-frame-runs N] [--build DIR]. --build measures the
# programs of another build folder (default build/), to compare two versions. Measures only; never fails on speed.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

# e2e_begin re-runs this script with no arguments, so the options reach the re-run through the environment.
: "${BENCH_EMPTY_SECONDS:=15}" "${BENCH_FIRST_FRAME_RUNS:=10}" "${BENCH_BUILD:=$repo/build}"
while [ $# -gt 0 ]; do
  case $1 in
    --empty-seconds) BENCH_EMPTY_SECONDS=$2; shift 2 ;;
    --first-frame-runs) BENCH_FIRST_FRAME_RUNS=$2; shift 2 ;;
    --build) BENCH_BUILD=$(cd "$2" && pwd) || exit 2; shift 2 ;;
    *) echo "usage: $0 [--empty-seconds N] [--first-frame-runs N] [--build DIR]" >&2; exit 2 ;;
  esac
done
export BENCH_EMPTY_SECONDS BENCH_FIRST_FRAME_RUNS BENCH_BUILD
build=$BENCH_BUILD empty_seconds=$BENCH_EMPTY_SECONDS first_frame_runs=$BENCH_FIRST_FRAME_RUNS
export KELVRA_TOOLS="$repo/tools" KELVRA_EXE="$build/kelvra.exe"

for tool in wine xdotool Xvfb python3; do
  command -v "$tool" >/dev/null || { echo "frame-rate: '$tool' is missing (tools/install-deps)" >&2; exit 2; }
done
for exe in kelvra.exe bench/kelvra_empty.exe bench/first_frame_bench.exe; do
  [ -f "$build/$exe" ] || { echo "frame-rate: no $build/$exe (run tools/build)" >&2; exit 2; }
done
"$KELVRA_TOOLS/wine-prefix" >&2 || exit 2
source "$repo/tests/e2e/lib.sh"
# A private display and Wine server, so nothing else draws there; its screen as tools/with-xvfb would take it.
e2e_begin frame-rate "${KELVRA_XVFB_SCREEN:-}"

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

# Private copies: a rebuild by someone else meanwhile cannot swap a program under the run.
run="$E2E_TMP/run"
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

# 1. The demo, from the answer to its own end. Once the box has closed, the main window is the one shown.
e2e_log "kelvra.exe: start, answer No, read the title each second until it closes itself (~100 s)"
(cd "$run" && exec wine ./kelvra.exe </dev/null >"$E2E_TMP/demo.out" 2>"$E2E_TMP/demo.err") &
E2E_PID=$!
box=$(e2e_find_window '^Kelvra$') || e2e_fail "no question box appeared"
e2e_answer_box "$box" n
main=$(e2e_find_window '^(Kelvra|[0-9]+\.[0-9] FPS)$') || e2e_fail "no main window appeared"
poll_titles "$main" 200 "$E2E_TMP/demo.txt"
demo_rc="still running"
if e2e_until 10 e2e_ended; then
  wait "$E2E_PID"
  demo_rc=$?
fi
E2E_PID=""
e2e_log "kelvra.exe: $(wc -l <"$E2E_TMP/demo.txt") readings, exit code $demo_rc"

# 2. The empty loop: it never closes itself, so it is stopped after its readings.
e2e_log "kelvra_empty.exe: read the title for $empty_seconds s"
(cd "$run" && exec wine ./kelvra_empty.exe </dev/null >/dev/null 2>&1) &
E2E_PID=$!
empty=$(e2e_find_window '^(Kelvra|[0-9]+\.[0-9] FPS)$') || e2e_fail "no empty-loop window appeared"
poll_titles "$empty" $((empty_seconds + 1)) "$E2E_TMP/empty.txt"
kill -TERM "$E2E_PID" 2>/dev/null
sleep 1
kill -KILL "$E2E_PID" 2>/dev/null
wait "$E2E_PID" 2>/dev/null
E2E_PID=""

# 3. The first frame of each phase, in fresh windows.
e2e_log "first_frame_bench.exe: $first_frame_runs fresh windows"
(cd "$run" && wine ./first_frame_bench.exe "$first_frame_runs" </dev/null 2>&1 | tr -d '\r') >"$E2E_TMP/first.txt"
load_end=$(cut -d' ' -f1-3 /proc/loadavg)

out_dir="$repo/out/bench"
mkdir -p "$out_dir"
report="$out_dir/frame-rate-$(date +%Y%m%d-%H%M%S).txt"
{
  echo "Kelvra frame-rate benchmark, $(date '+%Y-%m-%d %H:%M'), commit $(git -C "$repo" rev-parse --short HEAD 2>/dev/null)"
  echo "machine: $(nproc) CPUs, $cpu; GL renderer: $renderer"
  echo "         $(wine --version 2>/dev/null | head -n1), Xvfb $E2E_ON_DISPLAY, load average $load_start (start) / $load_end (end)"
  echo "demo exit code: $demo_rc"
  echo
  python3 - "$E2E_TMP/demo.txt" "$E2E_TMP/empty.txt" <<'PY'
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
  sed 's/^/  /' "$E2E_TMP/first.txt"
} | tee "$report"
echo "(saved in ${report#"$repo/"})"

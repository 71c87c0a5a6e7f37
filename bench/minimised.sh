#!/usr/bin/env bash
# What the show costs while nobody sees it: plays kelvra.exe on a private display with openbox, answers No,
# minimises the window for 5 s and prints the CPU time that the program took meanwhile (its music's feeder
# included) and the frame rate the title showed. KELVRA_EXE names another build's program, to compare two versions.
# Usage: bench/minimised.sh (after tools/build). Measures only; never fails on speed.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
export KELVRA_TOOLS="$repo/tools" KELVRA_EXE="${KELVRA_EXE:-$repo/build/kelvra.exe}"
export KELVRA_XVFB_WM="openbox --sm-disable"
"$KELVRA_TOOLS/wine-prefix" >&2 || exit 2
source "$repo/tests/e2e/lib.sh"
e2e_begin minimised 1024x768x24

# Clock ticks of user and system time of a process so far.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

e2e_launch
e2e_open_window
xdotool windowminimize "$MAIN"
sleep 1.5  # past the tick that still counted frames drawn before the minimise
before=$(cpu_ticks "$E2E_PID")
sleep 5
after=$(cpu_ticks "$E2E_PID")
title=$(xdotool getwindowname "$MAIN")
awk -v exe="$KELVRA_EXE" -v hz="$(getconf CLK_TCK)" -v ticks=$((after - before)) -v title="$title" 'BEGIN {
    printf "%s minimised 5 s: %.2f s of CPU; the title said \"%s\"\n", exe, ticks / hz, title }'
xdotool windowactivate "$MAIN" 2>/dev/null
e2e_tap_escape "$MAIN"
e2e_pass

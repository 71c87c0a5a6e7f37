#!/usr/bin/env bash
# Rebuilds resources/audio.ogg: compiles the track generator, renders its WAV and encodes it (needs g++ and
# oggenc from vorbis-tools).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++17 -O2 -Wall -Wextra -o "$work/compose" "$here/compose.cpp"
"$work/compose" "$work/track.wav"
mkdir -p "$root/resources"
# Quality 2 keeps the file near 1 MB; a fixed serial makes the output reproducible.
oggenc -Q -q 2 --serial 7 -t "Kelvra" -o "$root/resources/audio.ogg" "$work/track.wav"
ls -l "$root/resources/audio.ogg"

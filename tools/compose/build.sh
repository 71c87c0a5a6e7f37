#!/bin/sh
# build.sh - compiles the track generator, renders the WAV and encodes it
# to resources/audio.ogg (needs g++ and oggenc from vorbis-tools).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++17 -O2 -Wall -Wextra -o "$work/compose" "$here/compose.cpp"
"$work/compose" "$work/track.wav"
mkdir -p "$root/resources"
# Quality 2 keeps the file near 1 MB; fixed serial makes the output reproducible.
oggenc -Q -q 2 --serial 7 -t "Kelvra" -o "$root/resources/audio.ogg" "$work/track.wav"
ls -l "$root/resources/audio.ogg"

#!/usr/bin/env bash
# Fuzzes the sound decode path natively with libFuzzer and AddressSanitizer (clang from Debian).
# Usage: tests/fuzz/run-fuzz.sh [seconds=60] [extra libFuzzer args...]. Not part of the CTest suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
shift || true
stb=${STB_VORBIS_DIR:-/usr/include/stb}
out=${FUZZ_OUT:-$root/build/fuzz}
mkdir -p "$out/corpus" "$out/artifacts"

flags=(-g -O1 -fsanitize=fuzzer,address -I"$root" -I"$stb")
# Our files also run under UBSan; stb_vorbis relies on shifts of negative values that it is not
# ours to change, so the decoder itself gets AddressSanitizer only.
clang "${flags[@]}" -c "$root/sound/stb_vorbis_impl.c" -o "$out/stb_vorbis_impl.o"
clang++ -std=c++17 -Wall -Wextra -Werror "${flags[@]}" -fsanitize=undefined -fno-sanitize-recover=undefined \
  -o "$out/decode_fuzz" \
  "$root/tests/fuzz/decode_fuzz_target.cpp" \
  "$root/sound/ogg_stream.cpp" "$root/sound/ogg_header_check.cpp" "$root/sound/resampler.cpp" "$root/sound/stream_source.cpp" \
  "$out/stb_vorbis_impl.o"

cp "$root"/tests/sound/data/*.ogg "$out/corpus/"
log="$out/fuzz.log"
set +e
"$out/decode_fuzz" -max_total_time="$seconds" -max_len=16384 -rss_limit_mb=2048 \
  -artifact_prefix="$out/artifacts/" "$@" "$out/corpus" 2>&1 | tee "$log" | grep -E "^#[0-9]+ *(DONE|pulse)|ERROR|SUMMARY"
status=${PIPESTATUS[0]}
set -e
runs=$(grep -oE "Done [0-9]+ runs" "$log" | tail -1 || true)
echo "libFuzzer: ${runs:-no summary} (exit $status; log $log)"
exit "$status"

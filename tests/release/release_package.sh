# The release zip that tools/package-release packs: one folder with the program, the music and a readme with
# Windows line ends; the program in it is the one that was built, the music the track.
set -uo pipefail
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kelvra-release.XXXXXX") && trap 'rm -rf "$tmp"' EXIT
release_fail() { echo "FAIL: $*" >&2; exit 1; }
"$KELVRA_TOOLS/package-release" "$(dirname "$KELVRA_EXE")" "$tmp/kelvra-win64.zip" || release_fail "packing failed"
cd "$tmp" && cmake -E tar xf kelvra-win64.zip || release_fail "cannot unpack the zip"
[ "$(find kelvra -type f | sort | tr '\n' ' ')" = "kelvra/audio.ogg kelvra/kelvra.exe kelvra/readme.txt " ] ||
  release_fail "unexpected contents: $(find . | tr '\n' ' ')"
cmp kelvra/kelvra.exe "$KELVRA_EXE" || release_fail "the packed program is not the built one"
cmp kelvra/audio.ogg "$KELVRA_AUDIO" || release_fail "the packed music is not the track"
grep -q "Escape" kelvra/readme.txt || release_fail "the readme does not mention Escape"
[ "$(grep -c $'\r$' kelvra/readme.txt)" -eq "$(wc -l <kelvra/readme.txt)" ] || release_fail "the readme lacks CRLF line ends"
grep -q "Run in fullscreen window?" kelvra/readme.txt || release_fail "the readme does not explain the question"
echo "PASS"

# The release zip: one folder with the program, the music and a readme with Windows line ends; the program
# in it is the one that was built.
source "$(dirname "$0")/lib.sh"
"$KELVRA_TOOLS/package-release" "$(dirname "$KELVRA_EXE")" "$VIDEO_TMP/kelvra-win64.zip" || video_fail "packing failed"
cd "$VIDEO_TMP" && cmake -E tar xf kelvra-win64.zip || video_fail "cannot unpack the zip"
[ "$(find kelvra -type f | sort | tr '\n' ' ')" = "kelvra/audio.ogg kelvra/kelvra.exe kelvra/readme.txt " ] ||
  video_fail "unexpected contents: $(find . | tr '\n' ' ')"
cmp kelvra/kelvra.exe "$KELVRA_EXE" || video_fail "the packed program is not the built one"
cmp kelvra/audio.ogg "$KELVRA_AUDIO" || video_fail "the packed music is not the track"
grep -q "Escape" kelvra/readme.txt || video_fail "the readme does not mention Escape"
[ "$(grep -c $'\r$' kelvra/readme.txt)" -eq "$(wc -l <kelvra/readme.txt)" ] || video_fail "the readme lacks CRLF line ends"
grep -q "Run in fullscreen window?" kelvra/readme.txt || video_fail "the readme does not explain the question"
echo "PASS"

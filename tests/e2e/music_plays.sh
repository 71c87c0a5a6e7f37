# End-to-end: the music really plays. With the ALSA default routed to a file, kelvra.exe plays the real
# audio.ogg for a few seconds; the recording must then hold the track's start as an independent decoder
# (sox, through libvorbis) hears it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/music_lib.sh"
e2e_begin music_plays 1024x768x24
command -v sox >/dev/null || e2e_fail "the tool 'sox' is missing (tools/install-deps)"

music=$(dirname "$KELVRA_EXE")/audio.ogg
[ -f "$music" ] || e2e_fail "no audio.ogg beside $KELVRA_EXE"
music_home home file
music_start_demo run "$music"
music_open_window

# 4 s of recording (44100 frames of 4 bytes each): a 2 s window and half a second of lag either side.
need=$((4 * 44100 * 4))
deadline=$((SECONDS + 60))
while [ "$(stat -c %s "$MUSIC_RAW" 2>/dev/null || echo 0)" -lt "$need" ]; do
  [ "$SECONDS" -lt "$deadline" ] ||
    e2e_fail "only $(stat -c %s "$MUSIC_RAW" 2>/dev/null || echo 0) bytes recorded 60 s after the window came (stdout: $(music_stdout))"
  e2e_demo_running || e2e_fail "the demo ended while the music should play"
  sleep 0.2
done
e2e_log "recorded $(stat -c %s "$MUSIC_RAW") bytes by $((SECONDS - MUSIC_SEEN)) s after the window showed"
music_escape
music_expect_stdout ""

sox "$music" -t raw -r 44100 -e signed -b 16 -c 2 "$E2E_TMP/ref.raw" trim 0 30 ||
  e2e_fail "sox cannot decode $music"
python3 "$E2E_LIB_DIR/audio_match.py" "$E2E_TMP/ref.raw" "$MUSIC_RAW" >"$E2E_TMP/match.txt" 2>&1
rc=$?
sed 's/^/  /' "$E2E_TMP/match.txt" >&2
[ "$rc" -eq 0 ] || e2e_fail "the recording does not match the track's start"
e2e_pass

# End-to-end: with no sound device at all the demo reports that the output device cannot be opened, then
# runs silent and lit; Escape ends it with exit code 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/music_lib.sh"
e2e_begin music_no_device 1024x768x24

# This machine has no sound card, and Wine's ALSA driver finds no default device without an .asoundrc.
# NOTE: on a machine that has a card (/dev/snd), a default device that names a missing card stands in.
if [ -e /dev/snd ]; then
  music_home home broken
else
  music_home home none
fi
music_start_demo run "$(dirname "$KELVRA_EXE")/audio.ogg"
music_open_window
music_expect_stdout $'Error!\nError initializing output device.\n'
music_sleep_until 5
music_check_lit_menu menu
music_escape
music_expect_stdout $'Error!\nError initializing output device.\n'
e2e_pass

# End-to-end: with a sound device but no audio.ogg beside the program, the demo reports the missing file on
# standard output and still plays both scenes with lighting; Escape then ends it with exit code 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/music_lib.sh"
e2e_begin music_missing_file 1024x768x24

music_home home file
music_start_demo run ""
music_open_window
# The music start runs before the first frame, so its report is complete once the window shows a rate.
music_expect_stdout $'Error!\nFile Not Found\n'
music_sleep_until 5
music_check_lit_menu menu
music_sleep_until 19
music_wait_crawl crawl 20
music_escape
music_expect_stdout $'Error!\nFile Not Found\n'
e2e_pass

# End-to-end, as on a desktop: with openbox managing the display and the prefix's windows managed (as ./run's
# are), the window after No is the window manager's and takes the focus, so Escape typed to whatever has the
# focus, as a person types it, ends the show with exit code 0.
source "$(dirname "$0")/lib.sh"
export KELVRA_XVFB_WM="openbox --sm-disable"
e2e_begin desktop 1024x768x24
command -v openbox >/dev/null || e2e_fail "openbox is missing (tools/install-deps)"

# What the window manager made of the show's window (one line), to say why a typed key went astray.
wm_state() {
  local info parent root
  info=$(xwininfo -tree -id "$MAIN" 2>/dev/null) || return 0
  parent=$(awk '/Parent window id:/ { print $4 }' <<<"$info") root=$(awk '/Root window id:/ { print $4 }' <<<"$info")
  [ "$parent" != "$root" ] || printf 'it sits on the root window, in no frame; '
  xwininfo -id "$MAIN" 2>/dev/null | grep -q 'Override Redirect State: yes' && printf 'it is override-redirect; '
  echo "the focus is on window $(xdotool getactivewindow 2>/dev/null || echo none), the show's is $MAIN"
}
focused() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$MAIN" ]; }

e2e_launch
e2e_open_window
# The window manager may focus a new window a moment after it shows; the key goes wherever the focus is then.
e2e_until 10 focused || e2e_log "the show's window has not got the focus within 10 s"
state=$(wm_state)
e2e_log "$state"
xdotool key Escape
e2e_window_gone "$MAIN" 10 || e2e_fail "Escape typed on the desktop left the show playing: $state"
e2e_expect_exit 15
[[ $state != it\ * ]] || e2e_fail "Escape ended the show, yet the window was not managed: $state"
e2e_pass

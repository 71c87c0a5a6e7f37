# End-to-end: on a display without OpenGL (no GLX) the answer No is followed by a box that says OpenGL could
# not start and at which step, and nothing else: no frame-rate window, and exit code 1. The capture, which
# nobody may watch, says the same on standard error instead and fails at once.
source "$(dirname "$0")/lib.sh"
e2e_begin no_opengl 1024x768x24
[ -z "$(xdpyinfo 2>/dev/null | grep -w GLX)" ] || e2e_fail "this display has GLX (KELVRA_XVFB_ARGS not passed)"

export WINEDEBUG=-all,+msgbox  # Wine traces each message box's text: the one way to read it from outside
e2e_launch
box=$(e2e_find_window '^Kelvra$') || e2e_fail "no question box appeared"
e2e_answer_box "$box" n
box=$(e2e_find_window '^Kelvra$') || e2e_fail "no box after the answer No"
! e2e_named '^[0-9]+\.[0-9] FPS$' || e2e_fail "a frame-rate window opened beside the box"
text=$(grep -o 'MSGBOX_OnInit L"[^"]*"' "$E2E_STDERR" | tail -n1)
[ "$text" = 'MSGBOX_OnInit L"This display could not start OpenGL (ChoosePixelFormat failed)."' ] ||
  e2e_fail "the box says ${text:-nothing that Wine traced}"
e2e_answer_box "$box" Return
e2e_expect_exit 10 1

capture="$(dirname "$KELVRA_EXE")/kelvra-capture.exe"
said=$(cd "$E2E_TMP" && timeout 30 wine "$capture" --video frames.yuv --audio music.wav 2>&1 >/dev/null)
rc=$?
[ "$rc" -eq 1 ] || e2e_fail "the capture ended with $rc, expected 1 (124: it waited)"
[[ $said == *"kelvra-capture: this display cannot start OpenGL (ChoosePixelFormat failed)"* ]] ||
  e2e_fail "the capture said $(printf '%q' "$said")"
e2e_pass

# End-to-end: the manifest that Windows reads out of kelvra.exe (DPI awareness per monitor, the systems it is
# written for, no elevation), and the window after No at 150 % display scale: 1200 x 900, the apparent size of
# 800 x 600 at 100 % (full_run.sh) drawn at the display's own pixels.
source "$(dirname "$0")/lib.sh"
e2e_begin display_scale 1600x1200x24

manifest=$(wrestool -x --raw --type=24 --name=1 "$KELVRA_EXE" 2>/dev/null) || e2e_fail "kelvra.exe has no manifest"
for entry in '<dpiAwareness[^>]*>PerMonitorV2, PerMonitor</dpiAwareness>' '<dpiAware[^>]*>true/pm</dpiAware>' \
  '<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>' \
  '<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>' \
  '<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>' \
  '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>' \
  '<requestedExecutionLevel level="asInvoker"'; do
  grep -q -- "$entry" <<<"$manifest" || e2e_fail "the manifest lacks $entry"
done

# This display's Wine prefix is a private clone: its registry is this test's own.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 ||
  e2e_fail "cannot set LogPixels"
e2e_launch
e2e_open_window
[ "${WIDTH}x$HEIGHT" = 1200x900 ] || e2e_fail "at 144 DPI the window is ${WIDTH}x$HEIGHT, expected 1200x900"
e2e_tap_escape "$MAIN"
e2e_pass

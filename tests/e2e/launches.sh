# End-to-end, short launches: File > Exit; missing or damaged music and no sound device reported while the
# demo plays lit; and ten launches in all ended by a zero-length Escape tap (one in the crawl), each within
# 10 s with exit code 0.
source "$(dirname "$0")/lib.sh"
e2e_begin launches 1024x768x24
taps=0

# File > Exit, opened with alt+f and chosen with x; the popup is a new nameless window under the menu bar.
e2e_launch
e2e_open_window
before=$(xdotool search --onlyvisible --name '' 2>/dev/null | sort)
e2e_point_at "$MAIN"
xdotool key alt+f
sleep 1
popups=$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --name '' 2>/dev/null | sort))
[ -n "$popups" ] && ! e2e_ended || e2e_fail "alt+f opened no File menu popup"
xdotool key x
e2e_expect_exit 15

# Missing music: the report, a lit menu and then the crawl; Escape in the crawl ends it.
e2e_launch none
e2e_open_window
e2e_expect_stdout $'Error!\nFile Not Found\n'
e2e_sleep_until 5
e2e_expect_lit_menu missing-menu
e2e_sleep_until 28
e2e_expect_crawl missing-crawl
e2e_tap_escape "$MAIN" && taps=$((taps + 1))
e2e_expect_stdout $'Error!\nFile Not Found\n'

# The real file with its first 4 KiB overwritten (a run of valid pages without a stream start), and the
# real file with no sound device: each reported once, nothing more after the Escape.
cp "$E2E_MUSIC" "$E2E_TMP/broken.ogg"
head -c 4096 /dev/urandom | dd of="$E2E_TMP/broken.ogg" conv=notrunc status=none
for setup in "$E2E_TMP/broken.ogg file" "$E2E_MUSIC none"; do
  e2e_launch $setup
  e2e_open_window
  out=$(e2e_stdout)
  case ${setup##* }$out in
    file$'Error!\nUnknown file format\n.' | file$'Error!\nError loading file\n.') ;;
    none$'Error!\nError initializing output device.\n.') ;;
    *) e2e_fail "$setup: standard output $(printf '%q' "$out") is not \"Error!\" and the expected reason" ;;
  esac
  e2e_sleep_until 5
  e2e_expect_lit_menu error-menu
  e2e_tap_escape "$MAIN" && taps=$((taps + 1))
  e2e_expect_stdout "${out%.}"
done

while [ "$taps" -lt 10 ]; do
  e2e_launch
  e2e_open_window
  e2e_tap_escape "$MAIN" && taps=$((taps + 1))
done
e2e_pass

#!/usr/bin/env bash
# Drives the real program in a virtual X display under a window manager, as a
# person would. Usage: window_e2e.sh PROGRAM OUTPUT_DIR (a screenshot goes there).
set -euo pipefail
program=$1 out=$2
[ -n "${E2E_INSIDE_XVFB:-}" ] || E2E_INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
work=$(mktemp -d)
unset QT_QPA_PLATFORM
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wait_for() {  # up to 20 s
    for _ in $(seq 200); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "timed out waiting for: $*"
}
shown() { xdotool search --onlyvisible --name "^$1\$"; }
find_window() { wait_for shown Form1 && window=$(shown Form1 | head -1) && sleep 0.5; }
answer_error() { wait_for shown antcolony && xdotool key Return && wait_for eval '! shown antcolony'; }
close_window() {  # as a person would; the program must end with status 0
    xdotool windowactivate --sync "$window" key alt+F4
    wait "$pid" || fail "closing the window ended the program with status $?"
}
click_start() { xdotool mousemove --window "$window" 116 260 click 1; }  # in the client area
client() { xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { print w "x" $2 }'; }
frame() {  # the outer frame's top-left and size
    xwininfo -id "$window" | awk -v e="$(xprop -id "$window" _NET_FRAME_EXTENTS | cut -d= -f2 | tr -d ,)" '
        BEGIN { split(e, x, " ") }  # left, right, top, bottom
        /Absolute upper-left X/ { l = $NF } /Absolute upper-left Y/ { t = $NF } /Width:/ { w = $2 }
        /Height:/ { print l - x[1] "," t - x[3], w + x[1] + x[2] "x" $2 + x[3] + x[4] }'
}

openbox --sm-disable >/dev/null 2>&1 &
sleep 1
# In a decimal-comma locale the report still uses full stops.
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 "$program" >"$work/report" 2>"$work/errors" &
pid=$!
find_window
import -window root "$out/window.png"
home="189,128 1036x633"  # the outer frame's place and size
[ "$(frame)" = "$home" ] || fail "window frame is at $(frame)"

# Maximize, fullscreen and a resize by the user hold; the frame comes back after each.
for state in maximized_vert,maximized_horz fullscreen; do
    wmctrl -i -r "$window" -b add,$state
    sleep 1
    [ "$(client | cut -dx -f1)" -ge 1270 ] || fail "$state did not hold: $(client)"
    wmctrl -i -r "$window" -b remove,$state
    sleep 1
    [ "$(frame)" = "$home" ] || fail "after $state the frame is at $(frame)"
done
xdotool windowsize "$window" 800 500 sleep 0.5 windowmove "$window" 150 100 sleep 1
[ "$(client)" = "800x500" ] || fail "a resize was undone: $(client)"

click_start
wait_for eval '[ "$(grep -c -E "^ [0-9]+\.[0-9]{6}$" "$work/report")" -eq 30 ]'
head -1 "$work/report" | grep -qx 'Tao0 = 0.000000  Naivedist=158017.000000' || fail "start line"
close_window

# Outputs the report cannot be written to: each START shows the error and the
# window stays usable. A reader that has gone is a pipe whose reader closed it;
# with standard error closed too, the window still opens.
mkfifo "$work/pipe"
for output in closed full gone; do
    case $output in
        closed) env -u XDG_RUNTIME_DIR "$program" >&- 2>&- & ;;
        full) "$program" >/dev/full 2>>"$work/errors" & ;;
        gone) (exec 3<"$work/pipe") & "$program" >"$work/pipe" 2>>"$work/errors" & ;;
    esac
    pid=$!
    find_window
    for _ in 1 2; do click_start; answer_error; done
    close_window
done

echo "end-to-end checks passed"

#!/usr/bin/env bash
# Drives the real program in a virtual X display as a person would: START with
# the default texts, a malformed field, then closing the window.
# Usage: window_e2e.sh PROGRAM OUTPUT_DIR (screenshots go to OUTPUT_DIR).
set -euo pipefail
program=$1
out=$2

if [ -z "${E2E_INSIDE_XVFB:-}" ]; then
    export E2E_INSIDE_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work
unset QT_QPA_PLATFORM
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits up to 20 s for a command to succeed.
wait_for() {
    for _ in $(seq 200); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "timed out waiting for: $*"
}

values() { grep -c -E '^ [0-9]+\.[0-9]{6}$' "$work/report" || true; }

# Positions are relative to the window's client area.
start=(116 260)
ants_field=(116 74)

# Waits for the program's window and keeps it in $window.
find_window() {
    wait_for xdotool search --onlyvisible --name '^Form1$'
    window=$(xdotool search --onlyvisible --name '^Form1$' | head -1)
    sleep 0.5
}

click_start() { xdotool mousemove --window "$window" "${start[@]}" click 1; }

# Waits for the error window, keeps a screenshot of it, and answers it.
answer_error() {
    wait_for xdotool search --onlyvisible --name '^antcolony$'
    sleep 0.3
    import -window root "$out/$1.png"
    xdotool key Return
    wait_for sh -c "! xdotool search --onlyvisible --name '^antcolony$'"
}

# Closes the window as a person would; the program must end with status 0.
close_window() {
    xdotool windowactivate --sync "$window" key alt+F4
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "closing the window ended the program with status $status"
}

# A window manager, so the window has a frame and closes like a real one.
openbox --sm-disable >/dev/null 2>&1 &
sleep 1

# A decimal-comma locale: the report must still use full stops.
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 "$program" >"$work/report" 2>"$work/errors" &
pid=$!
find_window
sleep 0.5
import -window root "$out/window.png"

# The frame's top-left at (189, 128) and the outer size 1036 x 633.
frame() {
    local left right top bottom x y w h
    read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | awk -F' = ' '{gsub(",", ""); print $2}')
    x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $NF}')
    y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $NF}')
    w=$(xwininfo -id "$window" | awk '/Width:/ {print $NF}')
    h=$(xwininfo -id "$window" | awk '/Height:/ {print $NF}')
    echo "$((x - left)),$((y - top)) $((w + left + right))x$((h + top + bottom))"
}
outer=$(frame)
[ "$outer" = "189,128 1036x633" ] || fail "window frame is at $outer"
echo "the window's frame is at 189,128 and measures 1036x633"

# Maximize, fullscreen and a resize by the user hold; the frame comes back to
# where it opened after each.
client() { xwininfo -id "$window" | awk '/Width:/ {w = $NF} /Height:/ {h = $NF} END {print w "x" h}'; }
for state in maximized_vert,maximized_horz fullscreen; do
    wmctrl -i -r "$window" -b add,$state
    sleep 1
    [ "$(client | cut -dx -f1)" -ge 1270 ] || fail "$state did not hold: $(client)"
    xprop -id "$window" _NET_WM_STATE | grep -q "${state%%,*}" -i || fail "$state was dropped"
    wmctrl -i -r "$window" -b remove,$state
    sleep 1
    [ "$(frame)" = "189,128 1036x633" ] || fail "after $state the frame is at $(frame)"
done
xdotool windowsize "$window" 800 500
sleep 0.5
xdotool windowmove "$window" 150 100
sleep 1
[ "$(client)" = "800x500" ] || fail "a resize was undone: $(client)"
xdotool windowsize "$window" 1036 633 windowmove "$window" 189 128
sleep 0.5
echo "maximize, fullscreen and a resize held, and unmaximizing restored the frame"

click_start
wait_for test "$(values)" -eq 30
head -1 "$work/report" | grep -qx 'Tao0 = 0.000000  Naivedist=158017.000000' ||
    fail "unexpected start line: $(head -1 "$work/report")"
echo "START with the default texts printed 30 values with full stops in a decimal-comma locale"

before=$(cat "$work/report")
xdotool mousemove --window "$window" "${ants_field[@]}" click --repeat 3 1
xdotool type --window "$window" "abc"
click_start
answer_error error
[ "$(cat "$work/report")" = "$before" ] || fail "a malformed field printed something"
echo "a malformed number of ants brought up the error window and printed nothing"

close_window
echo "closing the window ended the program with status 0"

# Outputs the report cannot be written to: each START shows the error, and the
# window stays usable. A reader that has gone is a pipe whose reader closed it.
mkfifo "$work/pipe"
for output in closed full gone; do
    case $output in
        closed) "$program" >&- 2>>"$work/errors" & ;;
        full) "$program" >/dev/full 2>>"$work/errors" & ;;
        gone)
            (exec 3<"$work/pipe") &
            "$program" >"$work/pipe" 2>>"$work/errors" &
            ;;
    esac
    pid=$!
    find_window
    click_start
    answer_error "report-$output"
    click_start
    answer_error "report-$output"
    close_window
    echo "with standard output $output, each START showed an error and the program ended with status 0"
done

# Without a display the program says so and fails, without a core dump.
for display in none :987; do
    status=0
    if [ "$display" = none ]; then
        env -u DISPLAY "$program" 2>"$work/start" || status=$?
        expected='no display could be opened: DISPLAY is not set'
    else
        DISPLAY=$display "$program" 2>"$work/start" || status=$?
        expected="no display could be opened at DISPLAY=$display"
    fi
    [ "$status" -eq 1 ] || fail "without a display the program ended with status $status"
    grep -qF "antcolony: $expected" "$work/start" || fail "without a display: $(cat "$work/start")"
done
echo "without a display the program said so and ended with status 1"

# A closed standard error does not keep the window from opening.
env -u XDG_RUNTIME_DIR "$program" 2>&- &
pid=$!
find_window
close_window
echo "with standard error closed, the window opened and closed normally"

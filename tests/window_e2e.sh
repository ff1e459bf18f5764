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

# A window manager, so the window has a frame and closes like a real one.
openbox --sm-disable >/dev/null 2>&1 &
sleep 1

"$program" >"$work/report" 2>"$work/errors" &
pid=$!
wait_for xdotool search --onlyvisible --name '^Form1$'
window=$(xdotool search --onlyvisible --name '^Form1$' | head -1)
sleep 1
import -window root "$out/window.png"

# The frame's top-left at (189, 128) and the outer size 1036 x 633.
read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | awk -F' = ' '{gsub(",", ""); print $2}')
client_x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $NF}')
client_y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $NF}')
width=$(xwininfo -id "$window" | awk '/Width:/ {print $NF}')
height=$(xwininfo -id "$window" | awk '/Height:/ {print $NF}')
outer="$((client_x - left)),$((client_y - top)) $((width + left + right))x$((height + top + bottom))"
[ "$outer" = "189,128 1036x633" ] || fail "window frame is at $outer"
echo "the window's frame is at 189,128 and measures 1036x633"

# Positions are relative to the window's client area.
start=(116 260)
ants_field=(116 74)

xdotool mousemove --window "$window" "${start[@]}" click 1
wait_for test "$(values)" -eq 30
head -1 "$work/report" | grep -qx 'Tao0 = 0.000000  Naivedist=158017.000000' ||
    fail "unexpected start line: $(head -1 "$work/report")"
echo "START with the default texts printed 30 values"

before=$(cat "$work/report")
xdotool mousemove --window "$window" "${ants_field[@]}" click --repeat 3 1
xdotool type --window "$window" "abc"
xdotool mousemove --window "$window" "${start[@]}" click 1
wait_for xdotool search --onlyvisible --name '^antcolony$'
sleep 0.5
import -window root "$out/error.png"
[ "$(cat "$work/report")" = "$before" ] || fail "a malformed field printed something"
xdotool key Return
echo "a malformed number of ants brought up the error window and printed nothing"

xdotool windowactivate --sync "$window" key alt+F4
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "closing the window ended the program with status $status"
echo "closing the window ended the program with status 0"

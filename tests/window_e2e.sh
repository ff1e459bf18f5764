#!/usr/bin/env bash
# Drives the real program in a virtual X display under a window manager, as a
# person would, waiting for states rather than for fixed times.
# Usage: window_e2e.sh PROGRAM OUTPUT_DIR (a screenshot goes there). With
# E2E_SCREEN=WxH it checks only that the window fits that screen's usable area.
set -euo pipefail
program=$1 out=$2 screen=${E2E_SCREEN:-1280x1024}
# Only the server's socket file, not the abstract one every mount namespace
# shares; no reset when the last client leaves, which would refuse the next.
[ -n "${E2E_INSIDE_XVFB:-}" ] ||
    E2E_INSIDE_XVFB=1 exec xvfb-run -a -s "-nolisten local -noreset -screen 0 ${screen}x24" "$0" "$@"
work=$(mktemp -d)
unset QT_QPA_PLATFORM E2E_INSIDE_XVFB
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A sanitizer build carries its leak suppressions in the program itself.
if [[ $(ldd "$program") == *libasan* && $(nm "$program") != *" T __lsan_default_suppressions"* ]]; then
    fail "the sanitizer build lacks its leak suppressions"
fi
wait_for() {  # up to 120 s, so that a machine busy with other builds is not taken for a fault
    for _ in $(seq 1200); do eval "$1" >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "timed out waiting for: $1"
}
shown() { xdotool search --onlyvisible --name "^$1\$"; }
find_window() {  # shown, framed by the window manager and holding the focus
    wait_for 'shown Form1' && window=$(shown Form1 | head -1)
    wait_for 'xprop -id $window _NET_FRAME_EXTENTS | grep -q =; [ "$(xdotool getactivewindow)" = $window ]'
}
# A key sent while the window manager is still busy with the window can be
# lost, so it is pressed again until what it should do is seen.
press_until() { wait_for "timeout 5 xdotool windowactivate --sync $1 key $2; sleep 0.3; $3"; }
close_window() {  # as a person would; the program must end with status 0
    press_until "$window" alt+F4 "[ ! -e /proc/$pid ] || [ \"\$(cut -d' ' -f3 /proc/$pid/stat)\" = Z ]"
    wait "$pid" || fail "closing the window ended the program with status $?"
}
frame() {  # the outer frame's left, top, width and height
    xwininfo -id "$window" | awk -v e="$(xprop -id "$window" _NET_FRAME_EXTENTS | cut -d= -f2 | tr -d ,)" '
        BEGIN { split(e, x, " ") }  # left, right, top, bottom
        /Absolute upper-left X/ { l = $NF } /Absolute upper-left Y/ { t = $NF } /Width:/ { w = $2 }
        /Height:/ { print l - x[1], t - x[3], w + x[1] + x[2], $2 + x[3] + x[4] }'
}
fits() {  # [FRAME]: the whole frame lies in the usable area, the screen less the panel's margins
    local l t w h x y width height
    read -r l t w h <<<"${1:-$(frame)}" && read -r x y width height _ <<<"$(xprop -root _NET_WORKAREA | cut -d= -f2 | tr -d ,)" &&
        [ $l -ge $x ] && [ $t -ge $y ] && [ $((l + w)) -le $((x + width)) ] && [ $((t + h)) -le $((y + height)) ]
}
# The window manager keeps the margins TOP LEFT around the usable area, as a panel would.
sed -e "/<margins>/,/<\/margins>/ { s|<top>0<|<top>${E2E_MARGINS:-0}<|; s|<left>0<|<left>${E2E_MARGINS:-0}<| }" \
    /etc/xdg/openbox/rc.xml >"$work/rc.xml"
wait_for 'kill -0 ${wm:-none} 2>/dev/null || { openbox --sm-disable --config-file "$work/rc.xml" & wm=$!; }
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
if [ -n "${E2E_SCREEN:-}" ]; then
    wait_for '! fits "0 0 50 50"'  # over the margin does not fit, once the usable area is known
    "$program" >/dev/null & pid=$!
    find_window && wait_for fits && close_window && exit 0
fi

# In a decimal-comma locale the report still uses full stops.
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 "$program" >"$work/report" & pid=$!
find_window
wait_for '[ "$(frame)" = "189 128 1036 633" ]'  # the outer frame's place and size
import -window root "$out/window.png"
xdotool mousemove --window "$window" 116 260 click 1  # START
wait_for '[ "$(grep -c -E "^ [0-9]+\.[0-9]{6}$" "$work/report")" -eq 30 ]'
head -1 "$work/report" | grep -qx 'Tao0 = 0.000000  Naivedist=158017.000000' || fail "start line"
close_window

# With standard output and error closed, the window opens, START shows the
# error, and the window stays usable.
"$program" >&- 2>&- & pid=$!
find_window
for _ in 1 2; do
    xdotool mousemove --window "$window" 116 260 click 1
    wait_for 'shown antcolony' && press_until "$(shown antcolony | head -1)" Return '! shown antcolony'
done
close_window

# On a screen too small for the layout, the frame is moved and shrunk onto the usable area.
E2E_SCREEN=1024x600 E2E_MARGINS=40 "$0" "$@"
echo "end-to-end checks passed"

#!/usr/bin/env bash
# Drives the real program in a virtual X display under a window manager, as a
# person would, waiting for states rather than for fixed times.
# Usage: window_e2e.sh PROGRAM OUTPUT_DIR (a screenshot goes there).
# With E2E_SCREEN=WxH it checks only that the window fits that screen's usable
# area, also when that shrinks, and with E2E_NO_WM=1 it does so without a
# window manager.
set -euo pipefail
program=$1 out=$2 screen=${E2E_SCREEN:-1280x1024}
# Only the server's socket file, not the abstract one that every mount namespace
# shares: a display in a chroot of the same machine cannot take its place. No
# reset when the last client leaves: a program connecting during one is refused.
[ -n "${E2E_INSIDE_XVFB:-}" ] ||
    E2E_INSIDE_XVFB=1 exec xvfb-run -a -s "-nolisten local -noreset -screen 0 ${screen}x24" "$0" "$@"
work=$(mktemp -d)
unset QT_QPA_PLATFORM E2E_INSIDE_XVFB
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A sanitizer build carries its leak suppressions in the program itself, so
# that it exits 0 after a normal close however it is started.
if [[ $(ldd "$program") == *libasan* && $(nm "$program") != *" T __lsan_default_suppressions"* ]]; then
    fail "the sanitizer build lacks its leak suppressions"
fi
wait_for() {  # up to 120 s, so that a machine busy with other builds is not taken for a fault
    for _ in $(seq 1200); do eval "$1" >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "timed out waiting for: $1 $(cat "$work/wm.log")"
}
shown() { xdotool search --onlyvisible --name "^$1\$"; }
find_window() {  # shown, framed by the window manager and holding the focus
    wait_for 'shown Form1' && window=$(shown Form1 | head -1)
    [ -n "${E2E_NO_WM:-}" ] ||
        wait_for 'xprop -id $window _NET_FRAME_EXTENTS | grep -q =; [ "$(xdotool getactivewindow)" = $window ]'
}
# A key is pressed again until what it should do is seen: a key sent while the
# window manager is still busy with the window can be lost.
press_until() {  # WINDOW KEY CONDITION
    wait_for "timeout 5 xdotool windowactivate --sync $1 key $2; sleep 0.3; $3"
}
answer_error() { wait_for 'shown antcolony' && press_until "$(shown antcolony | head -1)" Return '! shown antcolony'; }
ended() { [ ! -e /proc/$1 ] || [ "$(cut -d' ' -f3 /proc/$1/stat)" = Z ]; }
close_window() {  # as a person would; the program must end with status 0
    press_until "$window" alt+F4 "ended $pid"
    wait "$pid" || fail "closing the window ended the program with status $?"
}
click_start() { xdotool mousemove --window "$window" 116 260 click 1; }  # in the client area
client() { xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { print w "x" $2 }'; }
frame() {  # the outer frame's left, top, width and height
    xwininfo -id "$window" | awk -v e="$(xprop -id "$window" _NET_FRAME_EXTENTS | grep = | cut -d= -f2 | tr -d ,)" '
        BEGIN { if (split(e, x, " ") != 4) split("0 0 0 0", x, " ") }  # left, right, top, bottom
        /Absolute upper-left X/ { l = $NF } /Absolute upper-left Y/ { t = $NF } /Width:/ { w = $2 }
        /Height:/ { print l - x[1], t - x[3], w + x[1] + x[2], $2 + x[3] + x[4] }'
}
fits() {  # [FRAME]: the whole frame lies in the usable area, the screen less the margins
    local area l t w h x y width height
    area=$(xprop -root _NET_WORKAREA | grep = | cut -d= -f2 | tr -d ,) || area="0 0 ${screen/x/ }"
    read -r l t w h <<<"${1:-$(frame)}" && read -r x y width height _ <<<"$area" && [ $l -ge $x ] &&
        [ $t -ge $y ] && [ $((l + w)) -le $((x + width)) ] && [ $((t + h)) -le $((y + height)) ]
}
# The window manager keeps margins around the usable area as a panel would.
margins() {  # TOP BOTTOM LEFT RIGHT
    sed -e "/<margins>/,/<\/margins>/ { s|<top>0<|<top>$1<|; s|<bottom>0<|<bottom>$2<|; s|<left>0<|<left>$3<|;
        s|<right>0<|<right>$4<| }" /etc/xdg/openbox/rc.xml >"$work/rc.xml"
}
# The window manager, started again should it end before it has taken the screen.
start_wm() {
    kill -0 "${wm:-none}" 2>/dev/null ||
        { openbox --sm-disable --config-file "$work/rc.xml" >>"$work/wm.log" 2>&1 & wm=$!; }
}
if [ -n "${E2E_SCREEN:-}" ]; then
    margins 40 0 30 0
    [ -n "${E2E_NO_WM:-}" ] || wait_for 'start_wm; xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
    # Within the screen but over its top left margin does not fit, once the
    # window manager has said where the usable area is.
    [ -n "${E2E_NO_WM:-}" ] || wait_for '! fits "0 0 50 50"'
    "$program" >/dev/null & pid=$!
    find_window && wait_for fits
    if [ -z "${E2E_NO_WM:-}" ]; then
        close_window && exit 0
    fi
    # The usable area shrinks while the window is open, with no window manager
    # to move the window: the program must.
    xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "30, 40, 600, 300" && wait_for fits
    kill "$pid" && exit 0
fi
margins 0 0 0 0
wait_for 'start_wm; xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

# In a decimal-comma locale the report still uses full stops.
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 "$program" >"$work/report" 2>"$work/errors" & pid=$!
find_window
home="189 128 1036 633"  # the outer frame's place and size
wait_for '[ "$(frame)" = "$home" ]'
import -window root "$out/window.png"

# A resize and a move by the user hold: the layout's size is fitted once.
timeout 10 xdotool windowsize --sync "$window" 800 500 windowmove --sync "$window" 150 100
click_start
wait_for '[ "$(grep -c -E "^ [0-9]+\.[0-9]{6}$" "$work/report")" -eq 30 ]'
head -1 "$work/report" | grep -qx 'Tao0 = 0.000000  Naivedist=158017.000000' || fail "start line"
# The program handled the move before the click, so a resize it made would show.
[ "$(client)" = "800x500" ] || fail "a resize was undone: $(client)"
close_window

# Outputs the report cannot be written to: each START shows the error and the
# window stays usable. A closed output must not end up on the window system's
# connection, and a reader that has gone (a pipe it closed) must not end the
# program; with standard error closed too, the window still opens.
mkfifo "$work/pipe"
for output in closed gone; do
    if [ $output = closed ]; then
        env -u XDG_RUNTIME_DIR "$program" >&- 2>&- &
    else
        (exec 3<"$work/pipe") & "$program" >"$work/pipe" 2>>"$work/errors" &
    fi
    pid=$!
    find_window
    for _ in 1 2; do click_start; answer_error; done
    close_window
done

# On a screen too small for the layout, on one scaled up, and without a window
# manager, the frame is moved and shrunk onto the usable area.
E2E_SCREEN=1024x600 "$0" "$@"
QT_SCALE_FACTOR=2 E2E_SCREEN=1280x1024 "$0" "$@"
E2E_NO_WM=1 E2E_SCREEN=1024x600 "$0" "$@"
echo "end-to-end checks passed"

#!/usr/bin/env bash
# Drives the real program in a virtual X display under a window manager, as a
# person would. Usage: window_e2e.sh PROGRAM OUTPUT_DIR (screenshots go there).
set -euo pipefail
program=$1
out=$2
if [ -z "${E2E_INSIDE_XVFB:-}" ]; then
    E2E_INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work
unset QT_QPA_PLATFORM
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wait_for() {  # up to 20 s
    for _ in $(seq 200); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "timed out waiting for: $*"
}
values() { grep -c -E '^ [0-9]+\.[0-9]{6}$' "$work/report" || true; }
find_window() {
    wait_for xdotool search --onlyvisible --name '^Form1$'
    window=$(xdotool search --onlyvisible --name '^Form1$' | head -1)
    sleep 0.5
}
click_start() { xdotool mousemove --window "$window" 116 260 click 1; }  # in the client area
answer_error() {  # keeps a screenshot of the error window, then answers it
    wait_for xdotool search --onlyvisible --name '^antcolony$'
    sleep 0.3
    import -window root "$out/$1.png"
    xdotool key Return
    wait_for sh -c "! xdotool search --onlyvisible --name '^antcolony$'"
}
close_window() {  # as a person would; the program must end with status 0
    xdotool windowactivate --sync "$window" key alt+F4
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "closing the window ended the program with status $status"
}
geometry() { xwininfo -id "$window" | awk -v key="$1" '$0 ~ key {print $NF}'; }
client() { echo "$(geometry 'Width:')x$(geometry 'Height:')"; }
frame() {  # the outer frame's top-left and size
    local l r t b
    read -r l r t b < <(xprop -id "$window" _NET_FRAME_EXTENTS | awk -F' = ' '{gsub(",", ""); print $2}')
    echo "$(($(geometry 'Absolute upper-left X') - l)),$(($(geometry 'Absolute upper-left Y') - t))" \
        "$(($(geometry 'Width:') + l + r))x$(($(geometry 'Height:') + t + b))"
}

openbox --sm-disable >/dev/null 2>&1 &
sleep 1
# In a decimal-comma locale the report still uses full stops.
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 "$program" >"$work/report" 2>"$work/errors" &
pid=$!
find_window
import -window root "$out/window.png"
[ "$(frame)" = "189,128 1036x633" ] || fail "window frame is at $(frame)"

# Maximize, fullscreen and a resize by the user hold; the frame comes back after each.
for state in maximized_vert,maximized_horz fullscreen; do
    wmctrl -i -r "$window" -b add,$state
    sleep 1
    [ "$(client | cut -dx -f1)" -ge 1270 ] || fail "$state did not hold: $(client)"
    xprop -id "$window" _NET_WM_STATE | grep -qi "${state%%,*}" || fail "$state was dropped"
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

click_start
wait_for test "$(values)" -eq 30
head -1 "$work/report" | grep -qx 'Tao0 = 0.000000  Naivedist=158017.000000' ||
    fail "unexpected start line: $(head -1 "$work/report")"
before=$(cat "$work/report")
xdotool mousemove --window "$window" 116 74 click --repeat 3 1  # the ants field
xdotool type --window "$window" "abc"
click_start
answer_error error
[ "$(cat "$work/report")" = "$before" ] || fail "a malformed field printed something"
close_window

# Outputs the report cannot be written to: each START shows the error and the
# window stays usable. A reader that has gone is a pipe whose reader closed it.
mkfifo "$work/pipe"
for output in closed full gone; do
    case $output in
        closed) "$program" >&- 2>>"$work/errors" & ;;
        full) "$program" >/dev/full 2>>"$work/errors" & ;;
        gone) (exec 3<"$work/pipe") & "$program" >"$work/pipe" 2>>"$work/errors" & ;;
    esac
    pid=$!
    find_window
    for _ in 1 2; do click_start; answer_error "report-$output"; done
    close_window
done

# Without a display the program says so and fails, without a core dump.
without_display() {  # EXPECTED, then the command's environment
    local expected=$1 status=0
    shift
    env "$@" "$program" 2>"$work/start" || status=$?
    [ "$status" -eq 1 ] || fail "with $* the program ended with status $status"
    grep -qF "antcolony: $expected" "$work/start" || fail "with $*: $(cat "$work/start")"
}
without_display 'no display could be opened: DISPLAY is not set' -u DISPLAY
without_display 'no display could be opened at DISPLAY=:987' DISPLAY=:987

# A closed standard error does not keep the window from opening.
env -u XDG_RUNTIME_DIR "$program" 2>&- &
pid=$!
find_window
close_window
echo "end-to-end checks passed"

#!/usr/bin/env bash
# Runs a toolkit test program that drives its windows with real X input. The program
# asks through files in a bridge folder of the build tree (request: one line, answered
# by the file "done"); this script performs each request with xdotool on the session's Xvfb:
#   move X Y        xdotool mousemove (root coordinates = Wine's screen coordinates)
#   down | up       xdotool mousedown 1 | mouseup 1
#   key NAME        xdotool key NAME (to the window that has the keyboard focus)
#   keydown NAME | keyup NAME   xdotool keydown NAME | keyup NAME (a key held down)
#   screenshot NAME  the display as the person sees it (import -window root), as the PNG
#                   file NAME in the bridge folder
# It stops everything it started.
#   run_with_input.sh WINE_SANDBOX PROGRAM.exe [ARGS...]
set -euo pipefail

sandbox=$1
program=$2
shift 2
[ -n "${DISPLAY:-}" ] || { echo "run_with_input: no display (run inside a sandbox session)" >&2; exit 1; }

bridge=$(dirname "$(readlink -f "$program")")/input-bridge.$$
rm -rf "$bridge"
mkdir -p "$bridge"

bridge_pid=""
stop() {
    if [ -n "$1" ]; then
        kill "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}
cleanup() {
    stop "$bridge_pid"
    rm -rf "$bridge"
}
trap cleanup EXIT
trap "exit 143" INT TERM

serve() {
    local line verb a b
    while true; do
        if [ -e "$bridge/request" ]; then
            line=$(cat "$bridge/request")
            rm -f "$bridge/request"
            read -r verb a b <<<"$line" || true
            case "$verb" in
            move) timeout 10 xdotool mousemove "$a" "$b" ;;
            down) timeout 10 xdotool mousedown 1 ;;
            up) timeout 10 xdotool mouseup 1 ;;
            key) timeout 10 xdotool key "$a" ;;
            keydown) timeout 10 xdotool keydown "$a" ;;
            keyup) timeout 10 xdotool keyup "$a" ;;
            screenshot) timeout 20 import -window root "$bridge/$(basename "$a")" ;;
            *) echo "run_with_input: unknown request '$line'" >&2 ;;
            esac
            : >"$bridge/done.tmp"
            mv -f "$bridge/done.tmp" "$bridge/done"
        fi
        sleep 0.01
    done
}
serve &
bridge_pid=$!

rc=0
CORVANE_INPUT_BRIDGE=$("$sandbox" path "$bridge") "$sandbox" run "$program" "$@" || rc=$?
exit $rc

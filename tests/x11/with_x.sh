#!/usr/bin/env bash
# Runs a command on a virtual X display of its own, with openbox as the window
# manager or with none, then takes it down. Usage: with_x.sh <openbox|none> <command...>
# The command finds the window manager's name in QV_WM.
set -euo pipefail
wm=$1
shift
source "$(dirname "$0")/../xvfb.sh"
wm_pid=""
cleanup() {
    if [ -n "$wm_pid" ]; then kill "$wm_pid" >/dev/null 2>&1 || true; fi
    stop_xvfb
}
trap cleanup EXIT
start_xvfb 1600x1000x24
if [ "$wm" = openbox ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm_pid=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
        { echo "with_x.sh: openbox did not start" >&2; exit 1; }
fi
export QV_WM="$wm"
"$@"

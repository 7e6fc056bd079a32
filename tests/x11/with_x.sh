#!/usr/bin/env bash
# Runs a command on a virtual X display of its own, with openbox as the window
# manager or with none, then takes it down. Usage: with_x.sh <openbox|none> <command...>
# The command finds the window manager's name in QV_WM.
set -euo pipefail
wm=$1
shift
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
pids=("$xvfb")
cleanup() {
    for p in "${pids[@]}"; do kill "$p" >/dev/null 2>&1 || true; done
    wait 2>/dev/null || true
    rm -f "$displayfile"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.1
done
[ -s "$displayfile" ] || { echo "with_x.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$displayfile")"
if [ "$wm" = openbox ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    pids+=("$!")
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
        { echo "with_x.sh: openbox did not start" >&2; exit 1; }
fi
export QV_WM="$wm"
"$@"

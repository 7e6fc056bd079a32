#!/usr/bin/env bash
# Runs a command with a virtual X display and a Wine prefix of its own, then takes
# both down. Usage: with_wine.sh <prefix dir> <command...>
set -euo pipefail
prefix=$(realpath -m "$1")
shift

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No Mono or Gecko install prompts: quindarvel needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8 LC_ALL=C.UTF-8

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb" >/dev/null 2>&1 || true
    wait "$xvfb" 2>/dev/null || true
    rm -f "$displayfile"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.1
done
[ -s "$displayfile" ] || { echo "with_wine.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$displayfile")"

mkdir -p "$prefix"
# One server for the whole command keeps every wine start fast; one already running
# for this prefix (left by an earlier command) serves as well.
wineserver -p 2>/dev/null || true
if [ ! -f "$prefix/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
fi

"$@"

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

source "$(dirname "$0")/../xvfb.sh"
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    stop_xvfb
}
trap cleanup EXIT
start_xvfb 1920x1080x24

mkdir -p "$prefix"
# One server for the whole command keeps every wine start fast; one already running
# for this prefix (left by an earlier command) serves as well.
wineserver -p 2>/dev/null || true
if [ ! -f "$prefix/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
fi

"$@"

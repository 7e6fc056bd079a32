#!/usr/bin/env bash
# quindarvel's X11 build side by side with xdotool and wmctrl under openbox: the same
# windows (M of them), the same K entries, each doubling one window, either near the
# bottom of the stack (the first windows made) or near its top (the last ones). Prints
# the time per entry and how many windows landed on exactly the outer rectangle the
# rules give. Run inside tests/x11/with_x.sh openbox.
# Usage: x11_peers.sh <build/linux-x11 folder> [K, default 10]
set -euo pipefail
build=$(realpath "$1")
k=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/quindarvel" "$work/"

now() { date +%s%N; }
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }

# Starts the fixture with M windows and reads their outer rectangles into rects[].
start_windows() {
    local m=$1
    coproc FIX { "$build/tests/x11/x11_fixture"; }
    for i in $(seq 0 $((m - 1))); do
        printf 'window %d %d 60 40 nw %s\n' $(((i % 25) * 64)) $(((i / 25) % 20 * 50)) \
            "$(hex "$(printf 'qv-peer %04d' "$i")")" >&"${FIX[1]}"
    done
    echo go >&"${FIX[1]}"
    IFS=$' \t\r' read -r -t 120 ready <&"${FIX[0]}"
    [ "$ready" = ready ] || { echo "the fixture did not start" >&2; exit 1; }
}
dump() {
    ids=() rects=()
    echo dump >&"${FIX[1]}"
    while IFS=$' \t\r' read -r -t 60 kind a b c d e f <&"${FIX[0]}"; do
        [ "$kind" = end ] && break
        if [ "$kind" = win ]; then ids[$a]=$b; rects[$a]="$c $d $e $f"; fi
    done
}
stop_windows() {
    exec {FIX[1]}>&-
    wait "$FIX_PID" 2>/dev/null || true
}

# The rules' outer rectangle for doubling: each edge moves out by half the size.
doubled() {
    read -r l t r b <<<"$1"
    local w=$((r - l)) h=$((b - t))
    echo "$((l - w / 2)) $((t - h / 2)) $((l - w / 2 + 2 * w)) $((t - h / 2 + 2 * h))"
}

printf '%6s  %-7s %-11s %14s  %s\n' M targets tool "ms per entry" "exact outer rectangles"
for m in 10 100 1000; do
  for where in bottom top; do
    targets=()
    for j in $(seq 0 $((k - 1))); do
        if [ "$where" = bottom ]; then targets+=("$j"); else targets+=($((m - 1 - j))); fi
    done
    for tool in quindarvel xdotool wmctrl; do
        start_windows "$m"
        dump
        before=("${rects[@]}")
        read -r ext_l ext_r ext_t ext_b < <(xprop -id "${ids[0]}" _NET_FRAME_EXTENTS |
            sed -E 's/.*= //; s/,//g')
        config=""
        for i in "${targets[@]}"; do config+=$(printf 'qv-peer %04d\r\n100\r\nX' "$i"); config=${config%X}; done
        printf '%s' "$config" >"$work/quindarvel.cfg"
        start=$(now)
        case $tool in
            quindarvel) "$work/quindarvel" ;;
            *)
                for i in "${targets[@]}"; do
                    read -r l t r b <<<"$(doubled "${before[$i]}")"
                    cw=$((r - l - ext_l - ext_r)) ch=$((b - t - ext_t - ext_b))
                    name=$(printf 'qv-peer %04d' "$i")
                    if [ "$tool" = xdotool ]; then
                        xdotool search --name "^$name\$" windowsize %1 "$cw" "$ch" windowmove %1 "$l" "$t"
                    else
                        wmctrl -r "$name" -e "0,$l,$t,$cw,$ch"
                    fi
                done
                ;;
        esac
        end=$(now)
        sleep 1
        dump
        exact=0
        for i in "${targets[@]}"; do
            [ "${rects[$i]}" = "$(doubled "${before[$i]}")" ] && exact=$((exact + 1))
        done
        awk -v m="$m" -v where="$where" -v tool="$tool" -v ns=$((end - start)) -v k="$k" \
            -v exact="$exact" \
            'BEGIN { printf "%6d  %-7s %-11s %14.2f  %d of %d\n", m, where, tool, ns / 1e6 / k, exact, k }'
        stop_windows
    done
  done
done

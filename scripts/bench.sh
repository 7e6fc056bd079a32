#!/usr/bin/env bash
# quindarvel's benchmarks: whole runs of the real quindarvel.exe under Wine for M
# windows and K entries beside the empty program and the floor program, then the
# configuration reader natively on large files (throughput, instructions per byte
# from callgrind, peak memory). Prints figures; nothing here passes or fails on time.
# Usage: scripts/bench.sh [runs per point, default 15]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}

scripts/install-deps.sh valgrind
for preset in win32 native; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)" >/dev/null
done

echo "== whole runs (win32 build)"
tests/e2e/with_wine.sh build/native/wineprefix-bench build/native/bench/run_bench build/win32 "$runs"

echo
echo "== the configuration reader on large files (native)"
data=build/native/bench-data
mkdir -p "$data"
export LC_ALL=C  # lengths in bytes
make_file() {  # name, megabytes, kind
    local file="$data/$1"
    [ -f "$file" ] && return
    local unit
    if [ "$3" = entries ]; then
        unit=$(printf 'Untitled - Notepad\r\n25\r\nX')
        unit=${unit%X}
    else
        unit=$(printf '// a comment line that the reader skips, as long as many are in real files\r\nX')
        unit=${unit%X}
    fi
    local target=$(($2 * 1024 * 1024))
    for _ in $(seq 1024); do printf '%s' "$unit"; done >"$file.block"
    : >"$file"
    while [ "$(stat -c %s "$file")" -lt "$target" ]; do cat "$file.block" >>"$file"; done
    rm -f "$file.block"
    # Whole units only, so that the entries keep their pairs.
    truncate -s $((target - target % ${#unit})) "$file"
    printf 'Notepad\r\n25\r\n' >>"$file"
}
for size in 1 100; do
    make_file "entries-${size}MB.cfg" "$size" entries
    make_file "comments-${size}MB.cfg" "$size" comments
done
for f in entries-1MB entries-100MB comments-1MB comments-100MB; do
    printf '%-16s' "$f"
    build/native/bench/reader_bench "$data/$f.cfg"
done

echo
echo "== instructions per byte (callgrind, the reading alone)"
for f in entries-1MB comments-1MB; do
    out=$(mktemp)
    valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='*ReadAllEntries*' \
        build/native/bench/reader_bench "$data/$f.cfg" 1 >/dev/null 2>&1
    ir=$(callgrind_annotate "$out" 2>/dev/null | sed -nE 's/^ *([0-9,]+) .*PROGRAM TOTALS.*/\1/p' | tr -d ,)
    bytes=$(stat -c %s "$data/$f.cfg")
    rm -f "$out"
    awk -v ir="$ir" -v b="$bytes" -v f="$f" \
        'BEGIN { printf "%-16s %12d instructions for %d bytes: %.1f per byte\n", f, ir, b, ir / b }'
done

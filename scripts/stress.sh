#!/usr/bin/env bash
# Stress runs of both executables under Wine (2000 windows, windows coming and going,
# 100,000 entries, a 64 MB line, a file held open, a folder in the file's place, long
# and unusual titles); prints each outcome with its time and the run's peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in win32 win64 native; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)" >/dev/null
done
for arch in win32 win64; do
    echo "== $arch"
    set +e
    ctest --test-dir build/native -R "^stress_$arch\$" -V >build/native/stress-$arch.log 2>&1
    status=$?
    set -e
    sed -nE 's/^[0-9]+: (stress .*)/\1/p' build/native/stress-$arch.log
    [ $status -eq 0 ] || { echo "stress_$arch failed; see build/native/stress-$arch.log"; exit 1; }
done

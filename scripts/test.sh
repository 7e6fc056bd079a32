#!/usr/bin/env bash
# Every test of quindarvel: formatting, the unit tests (plain and under ASan/UBSan),
# the Windows executables' make-up, the end-to-end tests of both executables against
# real windows under Wine, a fixed-length fuzzing run on the checked-in corpus, and
# the X11 build's tests under Xvfb with openbox and with no window manager.
# Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== formatting"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

jobs=$(nproc)
for preset in win32 win64 native sanitize fuzz linux-x11; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$jobs"
done

echo "== tests"
ctest --preset native -j"$jobs"
ctest --preset sanitize -j"$jobs"
ctest --preset fuzz
ctest --preset linux-x11 -j"$jobs"

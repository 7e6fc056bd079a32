#!/usr/bin/env bash
# quindarvel's main job on this machine: builds quindarvel.exe, starts a virtual
# display with a few sample windows, runs quindarvel under Wine beside a sample
# quindarvel.cfg, and prints each window's rectangle before and after.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--inside" ]; then
    scripts/install-deps.sh
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 -j"$(nproc)" >/dev/null
    exec tests/e2e/with_wine.sh build/demo-wineprefix "$0" --inside
fi

titles=("Untitled - Notepad" "Calculator" "Paint")
specs=("100 100 640 480" "900 100 320 480" "100 700 400 300")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/win32/quindarvel.exe "$work/"
printf '%s\r\n' "// enlarge the editor by a quarter" "Untitled - Notepad" "25" \
    "// shrink the calculator a little" "Calculator" "-10" >"$work/quindarvel.cfg"

echo "quindarvel.cfg:"
sed 's/\r$//; s/^/    /' "$work/quindarvel.cfg"
echo

coproc FIXTURE { wine build/win32/fixture.exe; }
for i in "${!titles[@]}"; do
    hex=$(printf '%s' "${titles[$i]}" | od -An -tx1 | tr -d ' \n')
    echo "window ${specs[$i]} 1 overlapped $hex" >&"${FIXTURE[1]}"
done
echo go >&"${FIXTURE[1]}"
IFS=$' \t\r' read -r -t 30 ready <&"${FIXTURE[0]}"
[ "$ready" = "ready" ] || { echo "the sample windows did not appear" >&2; exit 1; }

# Prints "left top right bottom" per sample window, in order.
dump() {
    echo dump >&"${FIXTURE[1]}"
    while IFS=$' \t\r' read -r -t 30 kind rest <&"${FIXTURE[0]}"; do
        [ "$kind" = end ] && break
        if [ "$kind" = win ]; then
            read -r _ _ l t r b _ <<<"$rest"
            echo "$l $t $r $b"
        fi
    done
}
describe() {
    read -r l t r b <<<"$1"
    printf '(%d,%d)-(%d,%d) %dx%d' "$l" "$t" "$r" "$b" $((r - l)) $((b - t))
}

mapfile -t before < <(dump)
set +e
wine "$work/quindarvel.exe"
status=$?
set -e
mapfile -t after < <(dump)

printf '%-20s %-32s %s\n' window before after
for i in "${!titles[@]}"; do
    printf '%-20s %-32s %s\n' "${titles[$i]}" "$(describe "${before[$i]}")" "$(describe "${after[$i]}")"
done
echo "exit status: $status"
exec {FIXTURE[1]}>&-
wait

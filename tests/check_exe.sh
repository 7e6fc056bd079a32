#!/usr/bin/env bash
# Checks the make-up of a built quindarvel.exe: the PE format for its architecture,
# the GUI subsystem (no console ever appears), no DLL but KERNEL32, USER32 and msvcrt
# (KERNEL32 and msvcrt imported, USER32 loaded by name when a window operation is
# first needed), no symbols, the manifest and the version resource.
# Usage: check_exe.sh <objdump> <exe> <PE32|PE32+>
set -uo pipefail
objdump=$1 exe=$2 format=$3
headers=$("$objdump" -p "$exe") || { echo "cannot read $exe"; exit 1; }
failed=0
fail() { echo "FAIL: $*"; failed=1; }

grep -qE "^Magic[[:space:]]+[0-9a-f]+[[:space:]]+\(${format//+/\\+}\)$" <<<"$headers" || fail "not $format"
grep -qE '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<<"$headers" || fail "not the GUI subsystem"
dlls=$(grep -E 'DLL Name:' <<<"$headers" | awk '{print toupper($3)}' | sort | tr '\n' ' ')
[ "$dlls" = "KERNEL32.DLL MSVCRT.DLL " ] || fail "imports: $dlls"
"$objdump" -t "$exe" | grep -q '^no symbols$' || fail "not stripped"
text=$(strings "$exe")
grep -qxF 'user32.dll' <<<"$text" || fail "user32.dll is not named for loading"
for needle in 'level="asInvoker"' '>true/pm</dpiAware>' '>PerMonitorV2</dpiAwareness>'; do
    grep -qF "$needle" <<<"$text" || fail "manifest lacks $needle"
done
wide=$(strings -el "$exe")
for needle in ProductName quindarvel FileDescription FileVersion; do
    grep -qxF "$needle" <<<"$wide" || fail "version resource lacks $needle"
done
[ $failed -eq 0 ] && echo "$exe: $format, GUI subsystem, imports $dlls(user32.dll loaded on first use), stripped, manifest and version present"
exit $failed

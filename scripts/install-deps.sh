#!/usr/bin/env bash
# Installs, on a Debian machine, what building and testing quindarvel needs: the
# native toolchain with GoogleTest, MinGW-w64 for both Windows targets, Wine (32- and
# 64-bit), Xvfb, XCB and openbox for the X11 build, and any further packages named on
# the command line. Packages
# already present are left alone; nothing is fetched then.
set -euo pipefail

packages=(cmake make g++ libgtest-dev clang-format clang libclang-rt-14-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64
          wine wine32:i386 wine64 xvfb
          pkg-config libxcb1-dev openbox x11-utils "$@")

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != "installed" ]; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends -qq "${missing[@]}" >/dev/null

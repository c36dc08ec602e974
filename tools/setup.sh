#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, skipping what is
# already there. 32-bit Wine is installed only where the machine can run 32-bit
# programs; elsewhere the end-to-end tests use the 64-bit builds under 64-bit Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# Both thread models of the Windows compilers (cmake/mingw.cmake): win32 for the
# launchers, posix for the end-to-end test programs; objdump reads the programs'
# imports and headers (tools/windows_minimum.py).
packages=(cmake make g++ googletest g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix
          g++-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          wine64 xvfb xauth clang libclang-rt-14-dev python3 libasound2 locales)
if python3 "$here/can_run_32bit.py" 2>/dev/null; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
        need_update=1
    fi
    packages+=(wine32:i386 libasound2:i386)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ] || [ -n "${need_update:-}" ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # debconf says on a fresh machine that it is "delaying package configuration, since
    # apt-utils is not installed": nothing failed, so that line alone is left out.
    [ "${#missing[@]}" -gt 0 ] && apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null \
        2> >(grep -v '^debconf: delaying package configuration, since apt-utils is not installed' >&2)
fi
# The end-to-end tests' Japanese player: Wine takes the ANSI code page (932)
# from the host's locale, which must be installed.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    echo "Making the locale ja_JP.UTF-8"
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
# The end-to-end tests listen to the taunts: Wine's ALSA driver and its MPEG
# layer-3 decoder come with Debian's Wine packages.
for part in x86_64-unix/winealsa.so x86_64-windows/winealsa.drv x86_64-windows/l3codeca.acm; do
    [ -e "/usr/lib/x86_64-linux-gnu/wine/$part" ] || { echo "Wine lacks $part"; exit 1; }
done
exit 0

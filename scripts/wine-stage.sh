#!/usr/bin/env bash
# The Wine stage of the tests: a private prefix inside the build folder, a persistent wineserver for fast
# program starts, then the x64 Windows test programs through ctest. The server is stopped on every way out.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export WINEPREFIX="$root/build/wine-prefix" WINEDEBUG=-all
mkdir -p build/logs
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  rm -rf "$WINEPREFIX"
fi
# Background Wine services inherit the output of whoever starts the server: start it with its output in files.
wineserver -p >build/logs/wineserver.log 2>&1
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true' EXIT
/usr/lib/wine/wine64 wineboot -i >build/logs/wineboot.log 2>&1
# Raise the server's timeout so it stays up between programs (wineserver -p is persistent already).
ctest --test-dir build/mingw-x64 --output-on-failure "$@"

#!/usr/bin/env bash
# Runs one x64 Windows program under Wine64 in the test prefix (the CMake cross-compiling emulator of the
# mingw-x64 build). The prefix and its wineserver are prepared by wine-stage.sh.
set -euo pipefail
: "${WINEPREFIX:=$(cd "$(dirname "$0")/.." && pwd)/build/wine-prefix}"
export WINEPREFIX WINEDEBUG=-all
exec /usr/lib/wine/wine64 "$@"

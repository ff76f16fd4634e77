#!/usr/bin/env bash
# Runs one x64 Windows program under Wine64 in the test prefix (the CMake cross-compiling emulator of the
# mingw-x64 build). The prefix and its wineserver are prepared by wine-stage.sh.
set -euo pipefail
: "${WINEPREFIX:=$(cd "$(dirname "$0")/.." && pwd)/build/wine-prefix}"
export WINEPREFIX WINEDEBUG=-all
# East Asian support as on a Windows system that has it: the dialog fonts fall back to a CJK font. Wine
# rewrites these links for its own fonts (or deletes them) whenever a program starts under another code page
# than the last one, as the language runs do, so they are put back before every program, in its locale.
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
  /usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1 || true
done
exec /usr/lib/wine/wine64 "$@"

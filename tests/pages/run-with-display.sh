#!/usr/bin/env bash
# Runs one x64 Windows test program that opens windows: under Xvfb, in its own Wine prefix (next to the program,
# so the display does not touch the shared test prefix) with a virtual desktop, which draws title bars and lets
# the program capture its windows from the screen. Passes the program's exit code on.
set -uo pipefail
program=$1
shift
prefix="$(cd "$(dirname "$program")" && pwd)/wine-display-prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all
mkdir -p "$prefix"
log="$(dirname "$program")/wine-display.log"
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p >>"$1" 2>&1
  /usr/lib/wine/wine64 wineboot -i >>"$1" 2>&1
  # A virtual desktop for every program of this prefix.
  /usr/lib/wine/wine64 reg add "HKCU\\Software\\Wine\\Explorer" /v Desktop /d Default /f >>"$1" 2>&1
  /usr/lib/wine/wine64 reg add "HKCU\\Software\\Wine\\Explorer\\Desktops" /v Default /d 1200x900 /f >>"$1" 2>&1
  # East Asian support as on a Windows system that has it: the dialog fonts fall back to a CJK font.
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    /usr/lib/wine/wine64 reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink" \
      /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >>"$1" 2>&1
  done
  /usr/lib/wine/wine64 "$2" "${@:3}"
  status=$?
  wineserver -k >/dev/null 2>&1
  exit $status' bash "$log" "$program" "$@"

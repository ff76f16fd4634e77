#!/usr/bin/env bash
# The Wine stage of the tests: one private prefix inside the build folder and one virtual X display for the
# whole run, a persistent wineserver for fast program starts, then the x64 Windows test programs through ctest
# (arguments go to ctest, e.g. -R NAME). Programs that open windows find the display and a virtual desktop
# ready, so none of them builds a prefix or a display of its own. The server is stopped on every way out.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# The display lives exactly as long as this stage: the script runs itself again under xvfb-run.
if [ -z "${MQ_WINE_STAGE_DISPLAY:-}" ]; then
  export MQ_WINE_STAGE_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

export WINEPREFIX="$root/build/wine-prefix" WINEDEBUG=-all
mkdir -p build/logs
log=build/logs/wineboot.log
: >"$log"
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true' EXIT
# Background Wine services inherit the output of whoever starts the server: start it with its output in files.
start() {
  wineserver -p >>build/logs/wineserver.log 2>&1
  # No Mono or Gecko: no test needs them, and a new prefix would otherwise offer to install them.
  WINEDLLOVERRIDES="mscoree=;mshtml=" /usr/lib/wine/wine64 wineboot -i >>"$log" 2>&1
}

# The prefix's settings are made once, when it is new (the marker file says they are in place), and take
# effect from the next server start: the desktop is chosen when the server's first program starts it.
settings=$WINEPREFIX/mq-stage-settings
if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$settings" ]; then
  rm -rf "$WINEPREFIX"
  start
  reg() { /usr/lib/wine/wine64 reg add "$@" /f >>"$log" 2>&1; }
  # A virtual desktop for every program: title bars are drawn, windows can be captured from the screen, and
  # windows appear without waiting on an X window manager that Xvfb does not have.
  reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
  reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1200x900
  # East Asian support as on a Windows system that has it: the dialog fonts fall back to a CJK font.
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei"
  done
  wineserver -k
  wineserver -w
  touch "$settings"
fi
start

ctest --test-dir build/mingw-x64 --output-on-failure "$@"

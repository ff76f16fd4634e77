#!/usr/bin/env bash
# The whole life of an MQ-450 printer under Wine, from the release archive alone: a fresh Wine prefix under a
# virtual display; the package unpacked from build/MQ450-package-<version>.zip; the wizard walked page by page
# (a screenshot of each) and cancelled; an
# unattended installation of the MQ-450 on LPT1:, whose output the prefix maps to a Unix file; both property
# sheets opened on the installed printer (printerhost.exe loads the plug-in the installer copied), a
# screenshot of every page, a 1D and a 2D test print, the self-test and a logo download; the bytes that reached
# the port checked against mq450 (barcode job, logo job) and drawn by mq450 render; the unattended removal; the
# prefix's printers, drivers, ports and monitors listed before, between and after. Writes build/demo/index.html
# (each step with its outcome, the screenshots, the received jobs as hex dumps and pictures). Every step says
# whether it passed; the last line counts them; the exit status is 1 when any failed. Run after the build
# command (bash scripts/build.sh).
#
# This kernel runs 64-bit Windows programs only: the archive's 32-bit installer.exe and uninstall.exe (and the
# USB helper libraries they load) are run as their x64 builds of the same sources, put in their place in the
# unpacked package. Everything else comes from the archive.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# The display lives exactly as long as the demo: the script runs itself again under xvfb-run.
if [ -z "${MQ_DEMO_DISPLAY:-}" ]; then
  export MQ_DEMO_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

started=$(date +%s)
demo=$root/build/demo
version=$(head -1 VERSION)
archive=build/MQ450-package-$version.zip
tool=$root/build/native/tools/mq450/mq450
ship=$root/build/mingw-x64/ship
host=$root/build/mingw-x64/tools/printerhost/printerhost.exe
rm -rf "$demo"
mkdir -p "$demo/screens" "$demo/jobs" "$demo/lists" "$demo/logs"
steps=$demo/steps.tsv
: >"$steps"
failed=0

# step NAME ok|FAIL DETAIL: one line here and one row of the report.
step() {
  printf '%s\t%s\t%s\n' "$1" "$2" "$3" >>"$steps"
  printf '[%-4s] %s: %s\n' "$2" "$1" "$3"
  [ "$2" = ok ] || failed=$((failed + 1))
}
finish() {
  python3 scripts/demo-report.py "$demo" "$version" >>"$demo/logs/report.log" 2>&1 ||
    step report FAIL "the HTML report could not be written (build/demo/logs/report.log)"
  local total passed names
  total=$(wc -l <"$steps")
  passed=$(grep -c $'\tok\t' "$steps")
  names=$(awk -F'\t' '$2 != "ok" {printf "%s%s", sep, $1; sep=", "}' "$steps")
  echo "report: build/demo/index.html"
  if [ "$passed" -eq "$total" ]; then
    echo "demo passed: all $total steps ($(($(date +%s) - started)) s): install, both property sheets, test prints, self-test, logo download, job bytes, removal"
  else
    echo "demo FAILED: $passed of $total steps passed ($(($(date +%s) - started)) s); failed: $names"
  fi
  [ "$passed" -eq "$total" ]
}

export WINEPREFIX=$demo/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
wine=/usr/lib/wine/wine64
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
win() { "$wine" "$@"; }
# Unix path -> the same file through Wine's Z: drive.
winpath() { printf 'Z:%s' "$(echo "$1" | tr / '\\')"; }

# --- The package, from the archive alone ---
if [ ! -f "$archive" ]; then
  step archive FAIL "$archive is missing: run bash scripts/build.sh first"
  finish
  exit 1
fi
if python3 -c "import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])" "$archive" "$demo" \
  2>"$demo/logs/unpack.log"; then
  step archive ok "$archive unpacked ($(find "$demo/MQ450-package-$version" -type f | wc -l) files)"
else
  step archive FAIL "$archive does not unpack (build/demo/logs/unpack.log)"
  finish
  exit 1
fi
package=$demo/MQ450-package-$version
x64_programs=ok
for f in installer/installer.exe uninstall/uninstall.exe usbhelpers/ZnUsbInt.dll usbhelpers/UsbPrnLink.dll; do
  if [ -f "$ship/$f" ]; then
    cp "$ship/$f" "$package/"
  else
    x64_programs="missing $ship/$f"
  fi
done
if [ "$x64_programs" = ok ]; then
  step x64-programs ok "installer.exe, uninstall.exe and the USB helpers as x64 builds (this kernel runs no 32-bit program)"
else
  step x64-programs FAIL "$x64_programs (build the mingw-x64 preset)"
fi

# --- A fresh prefix ---
{
  wineserver -p
  "$wine" wineboot -i
  # A virtual desktop: windows get title bars and can be captured from the screen.
  "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
  "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1200x900 /f
  # The parallel port writes into a Unix file at the end of each job.
  "$wine" reg add 'HKCU\Software\Wine\Printing\Spooler' /v LPT1: /t REG_SZ /d "$demo/port.bin" /f
  wineserver -k
  wineserver -w
  wineserver -p
} >"$demo/logs/prefix.log" 2>&1
# Windows 7 keeps the universal printer driver's files in its driver store, where the installer takes them
# from; Wine has no universal driver, so the prefix gets stand-ins of them.
store=$WINEPREFIX/drive_c/windows/system32/DriverStore/FileRepository/ntprint.inf_amd64_demo/amd64
mkdir -p "$store"
for f in UNIDRV.DLL UNIDRVUI.DLL UNIDRV.HLP UNIRES.DLL STDNAMES.GPD TTFSUB.GPD; do
  echo "universal driver file of the demonstration system" >"$store/$f"
done
if [ -f "$WINEPREFIX/system.reg" ]; then
  step prefix ok "fresh Wine prefix build/demo/prefix, LPT1: mapped to build/demo/port.bin, universal driver stand-ins in the driver store"
else
  step prefix FAIL "wineboot made no prefix (build/demo/logs/prefix.log)"
fi

# The spooler's printers, drivers, ports and monitors, as the registry holds them.
list() {
  local out=$demo/lists/$1.txt
  {
    for what in "printers|HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers" \
      "drivers|HKLM\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3" \
      "monitors|HKLM\\System\\CurrentControlSet\\Control\\Print\\Monitors"; do
      echo "${what%%|*}:"
      # One line per subkey (the hive is printed by its long name).
      "$wine" reg query "${what#*|}" 2>/dev/null | tr -d '\r' |
        key="${what#*|HKLM}\\" awk '/^HKEY_/ && index($0, ENVIRON["key"]) {sub(/.*\\/, "  "); print}'
    done
    echo "ports:"
    "$wine" reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports' 2>/dev/null | tr -d '\r' |
      awk 'NF && $1 !~ /^HKEY/ {print "  " $1}'
  } >"$out"
  grep -c '^  ' "$out"
}
entries=$(list before)
step list-before ok "$entries entries (build/demo/lists/before.txt)"

# --- The wizard, as a user starts it from the package folder: every page, then Cancel ---
# run_host LOG ARGUMENTS...: printerhost.exe, each of its STEP lines a step here.
run_host() {
  local log=$1
  shift
  if [ ! -f "$host" ]; then
    step "$log" FAIL "$host is missing (build the mingw-x64 preset)"
    return
  fi
  timeout 180 "$wine" "$host" "$@" 2>"$demo/logs/$log.log" | tr -d '\r' >"$demo/logs/$log-steps.log"
  while read -r word name status detail; do
    [ "$word" = STEP ] && step "$log/$name" "$status" "$detail"
  done <"$demo/logs/$log-steps.log"
  [ -s "$demo/logs/$log-steps.log" ] || step "$log" FAIL "printerhost.exe reported nothing (build/demo/logs/$log.log)"
  mv "$demo"/jobs/*.png "$demo/screens/" 2>/dev/null
}
run_host wizard --wizard "$(winpath "$demo/jobs")" "$(winpath "$package/installer.exe")"

# unattended NAME PROGRAM SWITCHES...: runs a package program with /log=C:\mq450-NAME.log from the package
# folder; a step NAME with its outcome. A program that ignored the switches would also end with 0: the run must
# have written its log.
unattended() {
  local name=$1 program=$2
  shift 2
  if [ ! -f "$package/$program" ]; then
    step "$name" FAIL "the package has no $program"
    return
  fi
  (cd "$package" && timeout 120 "$wine" "$program" "$@" "/log=C:\\mq450-$name.log" \
    >"$demo/logs/$name-output.log" 2>&1)
  local code=$?
  cp "$WINEPREFIX/drive_c/mq450-$name.log" "$demo/logs/$name.log" 2>/dev/null
  if [ "$code" -eq 0 ] && [ ! -f "$demo/logs/$name.log" ]; then
    step "$name" FAIL "$program $* exited 0 but wrote no log: it does not know these switches"
  elif [ "$code" -eq 0 ]; then
    step "$name" ok "$program $* exited 0 (build/demo/logs/$name.log)"
  else
    step "$name" FAIL "$program $* exited $code (build/demo/logs/$name.log, $name-output.log)"
  fi
}

# --- Unattended installation ---
unattended install installer.exe /quiet /model=MQ-450 /port=LPT1: /default
entries=$(list installed)
if grep -q '^  MQ-450' "$demo/lists/installed.txt" && grep -A99 '^drivers:' "$demo/lists/installed.txt" | grep -q 'MQ-450'; then
  step list-installed ok "the MQ-450 printer and driver are listed ($entries entries)"
else
  step list-installed FAIL "no MQ-450 printer or driver after the installation (build/demo/lists/installed.txt)"
fi

# --- The property sheets on the installed printer ---
cp "$root/tests/data/download/shop-96x64.bmp" "$WINEPREFIX/drive_c/shop.bmp"
run_host sheets "$(winpath "$demo/jobs")" "$(winpath "$demo/port.bin")" 'C:\shop.bmp'

# --- The bytes that reached the port, against mq450 ---
# compare NAME EXPECTED_FILE DESCRIPTION
compare() {
  local job=$demo/jobs/job-$1.bin
  if [ ! -f "$job" ]; then
    step "bytes/$1" FAIL "no job was received"
  elif [ ! -f "$2" ]; then
    step "bytes/$1" FAIL "$3 wrote nothing to compare with"
  elif cmp -s "$job" "$2"; then
    step "bytes/$1" ok "$(stat -c %s "$job") bytes, identical to $3"
  else
    step "bytes/$1" FAIL "differs from $3 ($(cmp "$job" "$2" 2>&1 | head -1))"
  fi
}
printf '\x1b\x63\x3b\x01\x1d\x28\x41\x02\x00\x00\x02\x1b\x63\x3b\x00' >"$demo/jobs/expected-self-test.bin"
compare self-test "$demo/jobs/expected-self-test.bin" "the self-test command (1D 28 41 02 00 00 02, bracketed)"
settings=$demo/jobs/document-settings.bin
for job in 1d:1d1 2d:2d1; do
  kind=${job%%:*} font=${job#*:}
  expected=$demo/jobs/expected-$kind-test-print.bin
  data=$(cat "$demo/jobs/job-$kind-test-print.data.txt" 2>/dev/null)
  [ -f "$settings" ] && "$tool" barcode job "$settings" --font "$font" --data "$data" -o "$expected" \
    >>"$demo/logs/mq450.log" 2>&1
  compare "$kind-test-print" "$expected" "mq450 barcode job --font $font --data '$data'"
done
"$tool" logo job mono "$root/tests/data/download/shop-96x64.bmp" -o "$demo/jobs/expected-logo-download.bin" \
  >>"$demo/logs/mq450.log" 2>&1
compare logo-download "$demo/jobs/expected-logo-download.bin" "mq450 logo job mono shop-96x64.bmp"
# The paper each job would print, drawn in the order the printer got them with one printer memory: the
# self-test, which comes after the logo download, prints the stored logo too.
for name in 1d-test-print 2d-test-print logo-download self-test; do
  job=$demo/jobs/job-$name.bin
  [ -f "$job" ] || continue
  "$tool" render "$job" --state "$demo/jobs/printer-memory" -o "$demo/jobs/job-$name.png" \
    >"$demo/jobs/job-$name.render.txt" 2>&1 ||
    step "render/$name" FAIL "mq450 render could not draw it (build/demo/jobs/job-$name.render.txt)"
done

# --- Unattended removal ---
unattended uninstall uninstall.exe /quiet /all
entries=$(list removed)
if grep -q 'MQ-450' "$demo/lists/removed.txt"; then
  step list-removed FAIL "MQ-450 entries are left (build/demo/lists/removed.txt)"
elif cmp -s "$demo/lists/before.txt" "$demo/lists/removed.txt"; then
  step list-removed ok "the printers, drivers, ports and monitors are as before the installation"
else
  step list-removed FAIL "no MQ-450 entry is left, but the lists differ from before (build/demo/lists)"
fi

finish

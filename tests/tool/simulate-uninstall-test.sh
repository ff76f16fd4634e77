#!/usr/bin/env bash
# Runs "mq450 simulate uninstall" after "simulate install" on the sample package: an installation followed by
# a removal of everything leaves the machine's spooler exactly as it was and none of the package's registry
# keys, an injected DeletePrinter failure leaves the printer listed and reported, and bad arguments are refused.
set -u
tool=$1
source_package=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/check.sh"
# The package as the build lays it out (built libraries replaced by placeholders; the simulation only copies).
cp -r "$source_package" "$work/pkg"
for w in W32 W64; do
  mkdir -p "$work/pkg/$w"
  cp "$source_package"/Driver/common/* "$source_package"/Driver/UI/* "$work/pkg/$w/"
  for f in MQ450UI.dll ZNTCOMMON.DLL ZNTUSBMON.DLL LANGUAGE_MQ450.ini; do
    [ -e "$work/pkg/$w/$f" ] || echo placeholder >"$work/pkg/$w/$f"
  done
done
for f in ZnUsbInt.dll UsbPrnLink.dll; do echo placeholder >"$work/pkg/$f"; done
install() { "$tool" simulate install --package "$work/pkg" "$@" >>"$work/install.out" 2>&1; }
uninstall() { "$tool" simulate uninstall --package "$work/pkg" "$@"; }
# The package's registry keys of a machine: its own key, its monitors and its print processor.
package_keys() { grep -iE '^\[HKLM\\(SOFTWARE\\ZNT|.*\\Monitors\\ZNT|.*\\Print Processors\\ZNT)' "$1/registry.txt"; }

# fresh MACHINE INSTALL-ARGS...: a new machine of the kind the install arguments ask for, saved unchanged.
fresh() {
  local m=$1
  shift
  install --machine "$m" "$@" --fail NoSuchCallW=5
  uninstall --machine "$m" >/dev/null
  cp "$m/spooler.txt" "$m.spooler.before"
}
# round_trip NAME INSTALL-ARGS...: installs, then removes everything; the spooler is as before, no package key
# stays.
round_trip() {
  local name=$1
  shift
  local m="$work/$name"
  fresh "$m" "$@"
  install --machine "$m" "$@"
  check "$name: install succeeds" test $? = 0
  check "$name: installed something" test "$(cmp -s "$m.spooler.before" "$m/spooler.txt"; echo $?)" = 1
  uninstall --machine "$m" --all >"$work/$name.out" 2>&1
  check "$name: uninstall --all succeeds" test $? = 0
  check "$name: spooler as before" cmp -s "$m.spooler.before" "$m/spooler.txt"
  check "$name: no package key left" test -z "$(package_keys "$m")"
}

round_trip serial7 --model MQ-450 --os Win7 --port ZNTCOM1: --serial 9600,n,8,1,p
check "serial: printer and monitor listed" grep -qx "component: ZNT Serial Port Monitor \[checked\]" \
  "$work/serial7.out"
check "serial: monitor file deleted" grep -qF 'DeleteFileW path=C:\Windows\system32\ZNTCOMMON.DLL' "$work/serial7.out"
round_trip network64 --model MQ-450 --os Win7 --64bit --port NET: --ip 192.168.1.20
check "network: port deleted" grep -qF 'DeletePortW name=ZNTIP_192.168.1.20' "$work/network64.out"
round_trip usb7 --model MQ-450 --os Win7 --port ZNTUSB2 --advanced --usb-device 1001:10 --answer yes
check "usb: USB monitor removed" grep -qx "log: ZNT USB Port Monitor was removed." "$work/usb7.out"
check "usb: the package's USB port records deleted" grep -qF 'subKey=SOFTWARE\ZNT\PORTNAME' "$work/usb7.out"

# Two printers of one driver: the first keeps the driver, the second removes it.
m="$work/shared"
fresh "$m" --model MQ-450 --os Win7 --port ZNTCOM1:
install --machine "$m" --model MQ-450 --os Win7 --port ZNTCOM1:
install --machine "$m" --model MQ-450 --os Win7 --port ZNTCOM2:
uninstall --machine "$m" --all >"$work/shared.out" 2>&1
check "shared: uninstall succeeds" test $? = 0
check "shared: first printer keeps the driver" grep -qx "log: The driver is still used by another printer and stays." \
  "$work/shared.out"
check "shared: second printer removes it" grep -qx "log: The driver was removed." "$work/shared.out"
check "shared: spooler as before" cmp -s "$m.spooler.before" "$m/spooler.txt"

# A failure injected into DeletePrinter: the printer stays listed and is reported; exit 1.
m="$work/fail"
fresh "$m" --model MQ-450 --os Win7 --port ZNTCOM1:
install --machine "$m" --model MQ-450 --os Win7 --port ZNTCOM1:
uninstall --machine "$m" --check "MQ-450(S)" --fail DeletePrinter=5 >"$work/fail.out" 2>&1
check "DeletePrinter failure exits 1" test $? = 1
check "refusal logged" grep -qx "log: The spooler refused to delete the printer." "$work/fail.out"
check "printer reported" grep -qx "not removed: MQ-450(S)" "$work/fail.out"
check "printer still on the machine" grep -q "^printer	MQ-450(S)	" "$m/spooler.txt"
uninstall --machine "$m" --check "MQ-450(S)" >"$work/again.out" 2>&1
check "a second run removes it" test $? = 0

# Help and refusals.
uninstall --help >"$work/help.out" 2>&1
check "--help exits 0 with an example" test $? = 0
check "--help shows an example" grep -q "^example: mq450 simulate uninstall" "$work/help.out"
uninstall --machine "$m" --check "No Such Printer" >"$work/bad.out" 2>&1
check "unknown --check exits 2" test $? = 2
uninstall --machine "$work/none" --all >"$work/bad.out" 2>&1
check "missing machine exits 2" test $? = 2
uninstall --machine "$m" --all --fail NoSuchCallW=5 >"$work/bad.out" 2>&1
check "a failure that never happened exits 2" test $? = 2

echo "$failures failure(s)"
test "$failures" = 0

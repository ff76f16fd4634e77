#!/usr/bin/env bash
# Runs "mq450 simulate install" on the sample package: the printed calls and results, the machine that keeps
# its state between runs, injected failures, and the refusals.
set -u
tool=$1
source_package=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/check.sh"
# run NAME ARGS...: runs the tool with the package and a machine, keeps output in NAME.out and status in NAME.rc
run() {
  local name=$1
  shift
  "$tool" simulate install --package "$work/pkg" "$@" >"$work/$name.out" 2>"$work/$name.err"
  echo $? >"$work/$name.rc"
}
rc() { cat "$work/$1.rc"; }
has() { grep -qF -- "$2" "$work/$1.out"; }

# The package as the build lays it out: driver files per word size in W32 and W64 (built libraries replaced by
# placeholders here; the simulation only copies them).
cp -r "$source_package" "$work/pkg"
for w in W32 W64; do
  mkdir -p "$work/pkg/$w"
  cp "$source_package"/Driver/common/* "$source_package"/Driver/UI/* "$work/pkg/$w/"
  for f in MQ450UI.dll ZNTCOMMON.DLL ZNTUSBMON.DLL LANGUAGE_MQ450.ini; do
    [ -e "$work/pkg/$w/$f" ] || echo placeholder >"$work/pkg/$w/$f"
  done
done
for f in ZnUsbInt.dll UsbPrnLink.dll; do echo placeholder >"$work/pkg/$f"; done

run first --machine "$work/m" --model MQ-450 --os Win7 --port ZNTCOM2: --serial 4800,o,7,1.5,p --default
check "serial install succeeds" test "$(rc first)" = 0
check "result state 2" has first "result state: 2"
check "result text is the success text" has first "result text: The printer has been installed."
check "monitor registered" has first "AddMonitorW name=ZNT Serial Port Monitor environment= dll=ZNTCOMMON.DLL"
check "printer added" has first "AddPrinterW name=MQ-450(S) port=ZNTCOM2: driver=MQ-450 processor=WinPrint attributes=64"
check "default printer" has first "SetDefaultPrinterW name=MQ-450(S)"
check "serial settings stored" has first "name=COM2: type=1 data=4800,o,7,1.5,p"
check "plug-in copied" has first 'target=C:\Windows\system32\spool\drivers\W32X86\MQ450UI.DLL'
check "language files in the version folder" has first 'target=C:\Windows\system32\spool\drivers\W32X86\3\ENG_MQ450.RES'
check "one call per line" test "$(grep -c '^AddPrinterDriverW version=3 name=MQ-450 ' "$work/first.out")" = 1
check "DriverUtility.ini on the machine" grep -q 'StopBits=1.5' "$work/m/drive/Program Files/ZNT/Utility/DriverUtility.ini"
check "utility program started" has first 'ShellExecuteW verb=open file=C:\Package\Utility\MQUtility.exe parameters=/VERYSILENT'

run second --machine "$work/m" --model MQ-450 --os Win7 --port ZNTCOM2:
check "second install succeeds" test "$(rc second)" = 0
check "second printer numbered" has second "AddPrinterW name=MQ-450(S)(1)"
check "monitor not added again" test "$(grep -c AddMonitorW "$work/second.out")" = 0

run failed --machine "$work/m" --model MQ-L80 --os XP --port ZNTCOM1: --fail AddPrinterDriverW=5
check "injected failure ends with state 1" test "$(rc failed)" = 1
check "failed call marked" has failed "AddPrinterDriverW version=3 name=MQ-L80 Label"
check "failure text" has failed 'result text: The printer driver could not be added.\r\nAccess is denied.'
check "state 1 printed" has failed "result state: 1"

# Injected failures name a call in either spelling, and one that never happens is an error, not a success.
run spelledA --machine "$work/mA" --model MQ-450 --os Win7 --port LPT1: --fail AddPrinterDriverA=5
check "A spelling fails the W call" test "$(rc spelledA)" = 1
check "A spelling: state 1" has spelledA "result state: 1"
check "A spelling: the call is marked" grep -qE '^AddPrinterDriverW .* -> error 5$' "$work/spelledA.out"
before_missed=$(cat "$work/mA/spooler.txt" "$work/mA/registry.txt" | md5sum)
run missed --machine "$work/mA" --model MQ-450 --os Win7 --port LPT1: --fail NoSuchCall=5
check "a call that never happened exits 2" test "$(rc missed)" = 2
check "it names the call" grep -qF -- "--fail NoSuchCall=5 never happened: the run made 0 calls of NoSuchCall" "$work/missed.err"
check "its run is not kept" test "$(cat "$work/mA/spooler.txt" "$work/mA/registry.txt" | md5sum)" = "$before_missed"
run late --machine "$work/mA" --model MQ-450 --os Win7 --port LPT1: --fail AddPrinterW=1802@3
check "an Nth call beyond the run exits 2" test "$(rc late)" = 2
check "it counts the calls made" grep -qF "the run made 1 call of AddPrinterW or AddPrinterA" "$work/late.err"

run nth --machine "$work/m2" --model MQ-450 --os Vista --port LPT1: --fail AddPrinterW=1802@1 --raster
check "printer name taken once: next name" has nth "AddPrinterW name=MQ-450(P)(1)"
check "succeeds after the retry" test "$(rc nth)" = 0

# USB: no printer connected stops before anything is installed.
run usb --machine "$work/m3" --model MQ-450 --os Win7 --port ZNTUSB1
check "USB without a printer stops" test "$(rc usb)" = 1
check "USB without a printer says so" has usb "text=No USB printer was found."
check "USB without a printer adds nothing" test "$(grep -c AddPrinter "$work/usb.out")" = 0

# A vendor-driver printer with ID 3 (bcdDevice 10) on ZNTUSB2 in advanced setup: Yes rewrites its ID to 2.
run usbid --machine "$work/usbm4" --model MQ-450 --os Win7 --port ZNTUSB2 --advanced --usb-device 1001:10 --answer yes
check "USB ID install succeeds" test "$(rc usbid)" = 0
check "USB ID question asked" has usbid "MessageBoxW type=yesno text=The printer ID does not match the port. Change the printer ID? -> yes"
check "USB ID written" has usbid "uWrite device=0x100 pipe=0 bytes=1B 73 42 45 92 99 1D 49 20 01"
check "USB printer named after the port" has usbid "AddPrinterW name=MQ-450(U) 2 port=ZNTUSB2 driver=MQ-450"
check "USB port recorded" has usbid "RegSetValueExW key=0x1000 name=ZNTUSB2 type=4 data=1"
check "USB printer port recorded" has usbid "name=ZNTUSB2 type=4 data=0"
check "machine keeps the written ID" grep -qx "device 1D3B 1001 1 1" "$work/usbm4/usb.txt"
# The same printer later keeps its new ID: a second model on ZNTUSB2 asks nothing.
run usbagain --machine "$work/usbm4" --model MQ-200 --os Win7 --port ZNTUSB2 --advanced --usb-device 1001
check "remembered ID installs" test "$(rc usbagain)" = 0
check "remembered ID asks nothing" test "$(grep -c type=yesno "$work/usbagain.out")" = 0
run usbno --machine "$work/usbm5" --model MQ-450 --os Win7 --port ZNTUSB2 --advanced --usb-device 1001:10
check "No stops" test "$(rc usbno)" = 1
check "No writes nothing" test "$(grep -c uWrite "$work/usbno.out")" = 0
run usbtwo --machine "$work/usbm6" --model MQ-450 --os Win7 --port ZNTUSB2 --advanced --usb-device 1001:10 --usb-device 1000
check "two printers stop" test "$(rc usbtwo)" = 1
check "two printers: one-printer message" has usbtwo "text=Connect only one USB printer while installing."
check "two printers add nothing" test "$(grep -c AddPrinter "$work/usbtwo.out")" = 0
# A printer-class printer is handed to the USB driver package installer.
run usbclass --machine "$work/usbm7" --model MQ-450 --os Win7 --port ZNTUSB1 --usb-class-printer MQ-450@2 --default
check "class printer handed over" test "$(rc usbclass)" = 0
check "class printer installer started" has usbclass 'ShellExecuteW verb=open file=C:\Package\USBDRV\USBDriver\Install.exe parameters= 3 "C:\Package\W32\Setup.inf" USBPRINT\ZNTMQ4502 0 MQ-450(U)2'
check "class printer adds nothing itself" test "$(grep -c AddPrinter "$work/usbclass.out")" = 0
for bad in "--usb-device 12345" "--usb-device 1001:70000" "--usb-class-printer MQ-450" "--usb-class-printer MQ-450@0" "--answer maybe"; do
  # shellcheck disable=SC2086
  run usbbad --machine "$work/usbm8" --model MQ-450 --os Win7 --port ZNTUSB1 $bad
  check "refused: $bad" test "$(rc usbbad)" = 2
done
echo "device 1D3B" >"$work/usbm4/usb.txt"
run usbbroken --machine "$work/usbm4" --model MQ-450 --os Win7 --port ZNTUSB2
check "damaged usb.txt refused" test "$(rc usbbroken)" = 1
check "damaged usb.txt named" grep -q "usb.txt cannot be read" "$work/usbbroken.err"

run net --machine "$work/m3" --model MQ-450 --os Win7 --port NET:
check "network without address refused" test "$(rc net)" = 1
check "address message" has net "Enter the IP address of the printer."
run net2 --machine "$work/m3" --model MQ-450 --os Win7 --port NET: --ip 192.168.1.20
check "network port created" has net2 "XcvDataW"
check "network printer" has net2 "AddPrinterW name=MQ-450(E) port=ZNTIP_192.168.1.20"

run os --machine "$work/m3" --model MQ-L80 --os 2008 --port ZNTCOM1:
check "model refused on its unsupported system" test "$(rc os)" = 1
check "a stopped preparation ends in state 1" has os "result state: 1"
check "unsupported system message" has os "cannot be installed on Windows Server 2008"

run x64 --machine "$work/m4" --model MQ-450 --os Win7 --port COM1: --64bit
check "64-bit install succeeds" test "$(rc x64)" = 0
check "no serial monitor on 64-bit" test "$(grep -c AddMonitorW "$work/x64.out")" = 0
check "64-bit files from W64" has x64 'source=C:\Package\W64\MQ450UI.DLL target=C:\Windows\system32\spool\drivers\x64\MQ450UI.DLL'

# Results that tell the truth.
variant() {  # variant NAME: a copy of the laid-out package to damage
  rm -rf "$work/$1"
  cp -r "$work/pkg" "$work/$1"
}
runp() {  # runp NAME PACKAGE ARGS...: run with another package
  local name=$1 package=$2
  shift 2
  "$tool" simulate install --package "$work/$package" "$@" >"$work/$name.out" 2>"$work/$name.err"
  echo $? >"$work/$name.rc"
}
not_has() { ! grep -qF -- "$2" "$work/$1.out"; }

run spool --machine "$work/t1" --model MQ-450 --os XP --port LPT1: --fail StartServiceW=5
check "spooler left stopped: exit 1" test "$(rc spool)" = 1
check "spooler left stopped: state 1" has spool "result state: 1"
check "spooler left stopped: says so" has spool "result text: Start spool service error, error code = 5"
check "spooler left stopped: no success text" not_has spool "has been installed"

variant notext
sed -i '/^IDS_ERR_ADDPROCESSOR=/d' "$work/notext/language/setup_EN.ini"
runp notext notext --machine "$work/t2" --model MQ-200 --os Win7 --port LPT1: --fail AddPrintProcessorW=5
check "missing language text: state 1" has notext "result state: 1"
check "missing language text: the built-in English text" has notext "MessageBoxW caption= text=The print processor could not be added."
check "missing language text: no success text" not_has notext "has been installed"

variant nomodel
rm "$work/nomodel/DRVCONFIG/setup_receipt.ini"
runp nomodel nomodel --machine "$work/t3" --model MQ-450 --os Vista --port LPT1:
check "model file deleted: state 1" has nomodel "result state: 1"
check "model file deleted: says so" has nomodel 'result text: The model file C:\Package\DRVCONFIG\setup_receipt.ini is missing from the package.'
check "model file deleted: nothing registered" not_has nomodel "AddPrinter"
variant nosection
python3 - "$work/nosection/DRVCONFIG/setup_receipt.ini" <<'PY'
import sys
path = sys.argv[1]
text = open(path).read()
start = text.index("[MQ-450.Win7]")
end = text.find("\n[", start + 1)
open(path, "w").write(text[:start] + (text[end + 1:] if end >= 0 else ""))
PY
runp nosection nosection --machine "$work/t3" --model MQ-450 --os Win7 --port LPT1: --raster
check "model section removed: names file, section and keys" has nosection 'result text: A driver file is missing from the setup configuration.\r\nC:\Package\DRVCONFIG\setup_receipt.ini [MQ-450.Win7] GDIDriverPath, GDIDataFile, GDIConfigFile, GDIHelpFile, DriverNameP'
check "model section removed: nothing registered" not_has nosection "AddPrint"
variant random
head -c 4096 /dev/urandom >"$work/random/DRVCONFIG/setup_receipt.ini"
runp random random --machine "$work/t3" --model MQ-450 --os XP --port LPT1:
check "random model file: state 1" has random "result state: 1"
check "random model file: no port section" has random 'has no section [MQ-450.PORT].'
check "random model file: nothing registered" not_has random "AddPrint"
variant emptykey
sed -i '/^\[MQ-450.Win7\]/,/^\[/ s/^STDHelpFile=.*/STDHelpFile=/' "$work/emptykey/DRVCONFIG/setup_receipt.ini"
runp emptykey emptykey --machine "$work/t4" --model MQ-450 --os Win7 --port LPT1:
check "empty required value names key and section" has emptykey 'result text: A driver file is missing from the setup configuration.\r\nC:\Package\DRVCONFIG\setup_receipt.ini [MQ-450.Win7] STDHelpFile'
variant nogpd
rm "$work/nogpd/W32/MQ450.GPD"
runp nogpd nogpd --machine "$work/t5" --model MQ-450 --os Win7 --port LPT1:
check "missing package file names its source" has nogpd 'result text: The file could not be copied: C:\Package\W32\MQ450.GPD\r\nThe system cannot find the file specified.'

run denied --machine "$work/t6" --model MQ-450 --os Win7 --port LPT1: --fail CopyFileW=5@1
check "access denied stays access denied" has denied 'result text: The file could not be copied: ZNTDRIVERLOG.INI\r\nAccess is denied.'
run store --machine "$work/t7" --model MQ-450 --os Win7 --port LPT1:
rm -rf "$work/t7/drive/Windows/system32/DriverStore"
run store --machine "$work/t7" --model MQ-450 --os Win7 --port LPT1:
check "no driver store: the message and its separator" has store "result text: Couldn't find system files.\r\nThe system cannot find the path specified."

run netfail --machine "$work/t8" --model MQ-450 --os Win7 --port NET: --ip 10.0.0.9 --fail AddPrinterW=5
check "network run that failed later" test "$(rc netfail)" = 1
run netretry --machine "$work/t8" --model MQ-450 --os Win7 --port NET: --ip 10.0.0.9
check "retry at the same address succeeds" test "$(rc netretry)" = 0
check "retry uses the port left behind" has netretry "AddPrinterW name=MQ-450(E) port=ZNTIP_10.0.0.9"
run netunseen --machine "$work/t8" --model MQ-450 --os Win7 --port NET: --ip 10.0.0.9 --fail EnumPortsW=5
check "a port the spooler cannot show: error 183 has its text" has netunseen "MessageBoxW caption=ERROR text=Cannot create a file when that file already exists."

run speed --machine "$work/t9" --model MQ-450 --os Win7 --port ZNTCOM1:
check "without --serial the model's BaudRate" has speed "name=COM1: type=1 data=38400,n,8,1,p"

# Windows 98 end to end: its spooler has its own environment; the package must bring the universal driver.
variant pkg98
for f in UNIDRV.DLL UNIDRVUI.DLL UNIDRV.HLP; do echo "Windows 98 stand-in" >"$work/pkg98/W32/$f"; done
runp w98 pkg98 --machine "$work/w98" --model MQ-450 --os 98 --port COM1: --serial 19200,e,7,1.5,x --default
check "Windows 98 installs" test "$(rc w98)" = 0
check "Windows 98: driver in its environment" has w98 "AddPrinterDriverW version=0 name=MQ-450 environment=Windows 4.0"
check "Windows 98: printer added" has w98 "AddPrinterW name=MQ-450(S) port=COM1:"
check "Windows 98: default by attribute" has w98 "SetPrinterW handle=0x5000 level=2 attributes=68"
check "Windows 98: win.ini serial text" grep -qi '^COM1:=19200,e,7,1.5,x' "$work/w98/drive/Windows/win.ini"
check "Windows 98: DCB of port 1" has w98 "name=DCB type=0 data=28 bytes"
check "Windows 98: win.ini flushed" has w98 'WritePrivateProfileStringW file=C:\Windows\win.ini section=(null) key=(null) value=(null)'
runp w98x64 pkg98 --machine "$work/w98b" --model MQ-450 --os 98 --port COM1: --64bit
check "Windows 98 has no 64-bit edition" test "$(rc w98x64)" = 2
runp w98nt pkg98 --machine "$work/w98" --model MQ-450 --os XP --port COM1:
check "a Windows 98 machine stays one" test "$(rc w98nt)" = 2
check "its kind is named" grep -qF "was created as Windows 98, not as 32-bit Windows" "$work/w98nt.err"

# Refusals: nothing runs and the machine is left as it was.
before=$(cat "$work/m/spooler.txt" "$work/m/registry.txt" | md5sum)
run unknown --machine "$work/m" --model XY-999 --os Win7 --port LPT1:
check "unlisted model refused" test "$(rc unknown)" = 2
check "unlisted model prints no call" test ! -s "$work/unknown.out"
run wrongtype --machine "$work/m" --model MQ-450 --type label --os Win7 --port LPT1:
check "model under another type refused" test "$(rc wrongtype)" = 2
run word --machine "$work/m" --model MQ-450 --os Win7 --port LPT1: --64bit
check "word size of an existing machine kept" test "$(rc word)" = 2
for bad in "--serial 9600,q,8,1,p" "--serial 9600,n,9,1,p" "--ip 1.2.3" "--fail AddPrinterW" "--fail X=0" \
           "--fail X=5@0" "--os 8" "--type tape" "--bogus"; do
  # shellcheck disable=SC2086
  run bad --machine "$work/m" --model MQ-450 --os Win7 --port LPT1: $bad
  check "bad argument refused: $bad" test "$(rc bad)" = 2
done
run port --machine "$work/m7" --model MQ-L80 --os Win7 --port LPT1:
check "a port the model does not offer gets a note" grep -qF "does not offer LPT1: for MQ-L80 here; it offers: ZNTCOM1:" "$work/port.err"
check "the run still goes ahead" has port "AddPrinterW name=MQ-L80(P) port=LPT1:"
run port64 --machine "$work/m6" --model MQ-450 --os Win7 --port ZNTCOM1: --64bit
check "64-bit port list in the note" grep -qF "it offers: LPT1: LPT2: LPT3: COM1:" "$work/port64.err"
run kind --machine "$work/m6" --model MQ-450 --os Win7 --port FILE: --64bit
check "port of no known kind stops with a message" test "$(rc kind)" = 1
check "its message" has kind "result text: This port cannot be used for the printer."
run noos --machine "$work/m" --model MQ-450 --port LPT1:
check "missing --os refused" test "$(rc noos)" = 2
check "refusals leave the machine alone" test "$(cat "$work/m/spooler.txt" "$work/m/registry.txt" | md5sum)" = "$before"
"$tool" simulate install --package "$work/none" --machine "$work/m5" --model MQ-450 --os Win7 --port LPT1: >/dev/null 2>&1
check "missing package refused" test $? = 2

"$tool" simulate install --help >"$work/help.out" 2>&1
check "--help exits 0" test $? = 0
check "--help has an example" has help "mq450 simulate install --package dist"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]

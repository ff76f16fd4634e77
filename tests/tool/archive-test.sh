#!/usr/bin/env bash
# The release archive that the build writes (build/MQ450-package-<version>.zip): its layout is the package
# folder the programs run from, and unpacked it passes mq450 package check (every file the model files name
# for each model, Windows generation and word size is there under the name the installer looks for, and no
# binary imports a MinGW runtime DLL).
set -u
tool=$1
root=$2
version=$(head -1 "$root/VERSION")
archive=$root/build/MQ450-package-$version.zip
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/check.sh"

if [ ! -f "$archive" ]; then
  echo "FAIL: $archive is missing (the build command writes it: bash scripts/build.sh)"
  exit 1
fi
check "the archive unpacks" python3 -c "import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])" \
  "$archive" "$work"
top=$work/MQ450-package-$version
check "everything is in one folder named after the version" test "$(ls "$work")" = "MQ450-package-$version"
for entry in installer.exe ZnUsbInt.dll UsbPrnLink.dll W32 W64 DRVCONFIG/setup.ini DRVCONFIG/Uninstall.ini \
  language/setup_EN.ini language/uninstall_EN.ini License/License_EN.txt USBDRV/WinUSB; do
  check "the archive holds $entry" test -e "$top/$entry"
done
check "the build's staging folders and the Linux tool stay out" \
  bash -c "! ls '$top' | grep -qxE 'Driver|mq450|tools'"
"$tool" package check "$top" >"$work/check.txt" 2>&1
status=$?
cat "$work/check.txt"
check "the unpacked archive passes the package check" test "$status" -eq 0
check "the check looked at the built binaries" grep -qE "; ([1-9][0-9]*) Windows binaries;" "$work/check.txt"
check "the archive itself passes the package check" "$tool" package check "$archive"
exit $((failures > 0))

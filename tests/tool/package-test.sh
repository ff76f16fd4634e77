#!/usr/bin/env bash
# Runs mq450 package check on package folders laid out as dist/ is: complete, with a file missing, with names
# in another case, with a required value emptied, and with binaries importing the MinGW runtime or damaged.
set -u
here=$(cd "$(dirname "$0")" && pwd)
tool=$1
package=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
source "$here/check.sh"

# A package folder as assemble-dist.sh lays it out, with text stand-ins for the built files.
make_package() {
  rm -rf "$1"
  cp -r "$package" "$1"
  for words in W32 W64; do
    mkdir -p "$1/$words"
    cp "$1"/Driver/common/* "$1"/Driver/UI/* "$1/$words/"
    for built in MQ450UI.dll ZNTCOMMON.DLL ZNTUSBMON.DLL; do echo "stand-in" >"$1/$words/$built"; done
  done
}
run() { "$tool" package check "$1" >out.txt 2>err.txt; echo $? >rc.txt; }
status() { test "$(cat rc.txt)" -eq "$1"; }

make_package pkg
run pkg
check "a complete package passes" status 0
check "the summary says there is no problem" grep -q "^package check: .* no problems$" out.txt

# A missing file is named with the folder the installer copies it from, and where it is named.
rm pkg/W64/MQ450UI.dll
run pkg
check "a missing file fails the check" status 1
check "the missing file is named with its place" \
  grep -q '^missing W64\\MQ450UI.DLL (MQ-450 on Windows XP 64-bit, DRVCONFIG\\setup_receipt_64.ini \[MQ-450.XP\] GDIDataOemuiDLL=MQ450UI.dll)$' out.txt
check "only that file is missing" test "$(grep -c '^missing' out.txt)" -eq 1

# Windows matches names without regard to case; so does the check.
make_package pkg
mv pkg/W32/MQ450.GPD pkg/W32/mq450.gpd
mv pkg/DRVCONFIG pkg/drvconfig
run pkg
check "names in another case are found" status 0

# A required driver file whose value is present but empty cannot be installed.
make_package pkg
sed -i 's/^GDIDriverPath=.*/GDIDriverPath=/' pkg/DRVCONFIG/setup_label.ini
run pkg
check "an empty required value fails" status 1
check "the empty required value is named" grep -q '^MQ-L80 on Windows 2000 32-bit, .*: required GDIDriverPath has no file$' out.txt

# Windows binaries: one importing the MinGW runtime, one cut short. A copy of a real MinGW build is used when
# the cross compiler is there.
make_package pkg
if command -v x86_64-w64-mingw32-g++ >/dev/null; then
  echo 'int main() { throw 1; }' >t.cpp
  x86_64-w64-mingw32-g++ -O0 t.cpp -o dynamic.exe
  cp dynamic.exe pkg/W64/MQREND.DLL
  run pkg
  check "a binary importing the MinGW runtime fails" status 1
  check "the runtime import is named" grep -qE '^W64/MQREND.DLL imports the MinGW runtime DLL lib(stdc\+\+|gcc_s)' out.txt
  x86_64-w64-mingw32-g++ -O0 -static t.cpp -o static.exe
  cp static.exe pkg/W64/MQREND.DLL
  run pkg
  check "a statically linked binary passes" status 0
  check "it is counted as a Windows binary" grep -q "; 1 Windows binaries;" out.txt
  head -c 700 static.exe >pkg/W64/MQREND.DLL
  run pkg
  check "a damaged binary fails" status 1
  check "the damage is named" grep -q '^W64/MQREND.DLL: ' out.txt
else
  echo "note: no MinGW compiler, the binary cases are left out"
fi

# Archives: one folder inside is the package; names that would leave the folder and damage are refused.
zip() {  # zip ARCHIVE FOLDER [EXTRA_NAME]: FOLDER's files under its own name, and an extra entry when given
  python3 - "$@" <<'PY'
import os, sys, zipfile
archive, folder = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
    for root, _, files in os.walk(folder):
        for f in files:
            path = os.path.join(root, f)
            z.write(path, os.path.relpath(path, os.path.dirname(os.path.abspath(folder))))
    if len(sys.argv) > 3:
        z.writestr(sys.argv[3], "outside\n")
PY
}
# Unpacked archives go into the tool's temporary folder: a private one here, to see it cleaned up.
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR"
make_package pkg
zip pkg.zip pkg
run pkg.zip
check "a complete archive passes" status 0
check "the archive's files are found" grep -q "^package check: 208 installations, 33 files present, 0 missing" out.txt
rm pkg/W32/MQ450UI.dll
zip gap.zip pkg
run gap.zip
check "a file missing from an archive is named" grep -q '^missing W32\\MQ450UI.DLL ' out.txt
check "the unpacked archive is removed" test -z "$(ls -A "$TMPDIR")"
make_package pkg
for name in ../escaped.txt /absolute.txt 'a\\b.txt' 'C:x.txt'; do
  zip evil.zip pkg "$name"
  run evil.zip
  check "the entry $name is refused" status 1
  check "the refusal of $name says why" grep -q "outside the folder" err.txt
done
check "nothing was written outside" test ! -e "$work/escaped.txt" -a ! -e "$TMPDIR/escaped.txt"
head -c 5000 pkg.zip >cut.zip
run cut.zip
check "a cut archive is refused" status 1
check "the cut archive is named as such" grep -q 'not a ZIP archive' err.txt
python3 -c "
import sys; b = bytearray(open('pkg.zip','rb').read()); i = b.find(b'PK\x03\x04'); b[i + 60] ^= 0xFF
open('flipped.zip','wb').write(b)"
run flipped.zip
check "a damaged entry is refused" status 1
check "the damage is named" grep -qE 'damaged data|CRC-32' err.txt

# A directory entry may claim any unpacked size: almost 2 GiB for a few compressed bytes is refused unread.
python3 -c "
import struct, zipfile
with zipfile.ZipFile('huge.zip', 'w', zipfile.ZIP_DEFLATED) as z: z.writestr('pkg/a.txt', 'abc')
b = bytearray(open('huge.zip','rb').read()); i = b.find(b'PK\x01\x02'); b[i + 24:i + 28] = struct.pack('<I', 0x7FFF0000)
open('huge.zip','wb').write(b)"
run huge.zip
check "an entry claiming more than its data can hold is refused" status 1
check "the claim is named" grep -q 'claims more bytes than its compressed data can hold' err.txt

check "a folder without DRVCONFIG is refused" bash -c "'$tool' package check '$work' >/dev/null 2>err.txt; test \$? -eq 1 && grep -q 'not a package' err.txt"
check "a missing folder is refused" bash -c "'$tool' package check '$work/none' >/dev/null 2>/dev/null; test \$? -eq 1"
check "no folder is a usage error" bash -c "'$tool' package check >/dev/null 2>&1; test \$? -eq 2"
check "--help has an example" bash -c "'$tool' package check --help | grep -q 'mq450 package check dist'"
exit $((failures > 0))

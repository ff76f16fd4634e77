#!/usr/bin/env bash
# Runs the settings commands of mq450 on real files: records, their shown fields, and the refusals.
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
source "$(dirname "$0")/check.sh"
field() { "$tool" settings show "$1" | grep -F "$2 = " | head -1 | cut -d= -f2- | sed 's/^ //'; }

check "default succeeds" "$tool" settings default -o d.bin --system-dir 'E:\WIN\system32'
check "default is 1976 bytes" test "$(stat -c %s d.bin)" = 1976
check "log folder follows the system drive" test "$(field d.bin logFolder)" = '"E:\ZNTDriverlog\MQ-450\"'
check "end of document cuts" test "$(field d.bin endDoc.cutType)" = 1
check "1D entry 2 is EAN13" test "$(field d.bin 'barcode1D[2].type')" = 3
check "show lists every slot and entry" test "$("$tool" settings show d.bin | wc -l)" -gt 200

# A record of an earlier layout: 1464 bytes that say so, with an edited field.
head -c 1464 d.bin > old.bin
printf '\xb8\x05' | dd of=old.bin bs=1 seek=0 conv=notrunc status=none
printf '\x01' | dd of=old.bin bs=1 seek=999 conv=notrunc status=none
printf '\x65' | dd of=old.bin bs=1 seek=12 conv=notrunc status=none
check "convert succeeds" "$tool" settings convert old.bin -o c.bin
check "convert keeps the old values" test "$(field c.bin printAsGraphics)" = 1
check "convert keeps reservedValue" test "$(field c.bin reservedValue)" = 101
check "convert restores the size" test "$(field c.bin dwSize)" = 1976
check "merge succeeds" "$tool" settings merge old.bin -o m.bin
check "merge bounds reservedValue" test "$(field m.bin reservedValue)" = 0
check "converted log folder is the default" test "$(field c.bin logFolder)" = '"C:\ZNTDriverlog\MQ-450\"'

# A foreign record becomes the defaults.
head -c 1976 /dev/urandom > foreign.bin
printf 'ABCD' | dd of=foreign.bin bs=1 seek=4 conv=notrunc status=none
"$tool" settings default -o plain.bin
check "foreign record converts to defaults" "$tool" settings convert foreign.bin -o f.bin
check "foreign record gives exactly the defaults" cmp -s f.bin plain.bin

# set: the named fields change, every other byte stays, and show prints what was set.
check "set succeeds" "$tool" settings set d.bin -o s.bin zoomEnabled=1 scalePercent=55 \
  'endDoc.command=1B 70 00 19 FA' 'barcode1D[7].gs1RowHeight=250' 'barcode2D[1].qrModel=2' \
  reservedValue=-5 'formName=Custom Paper-MQ450' dwSignature=0x41424344
for expected in 'zoomEnabled = 1' 'scalePercent = 55' 'endDoc.command = 1B 70 00 19 FA' \
  'endDoc.commandLength = 5' 'barcode1D[7].gs1RowHeight = 250' 'barcode2D[1].qrModel = 2' \
  'reservedValue = -5' 'formName = "Custom Paper-MQ450"' 'dwSignature = 0x41424344'; do
  check "show prints $expected" bash -c "'$tool' settings show s.bin | grep -qxF '$expected'"
done
# cmp -l numbers bytes from 1: the offsets of exactly the fields set (formName's 18 units, the command's 5
# bytes and its length byte, the low byte of gs1RowHeight, all four bytes of -5 and of the signature).
changed=$(cmp -l d.bin s.bin | awk '{print $1 - 1}' | tr '\n' ' ')
check "only the set fields' bytes changed" test "$changed" = \
  "4 5 6 7 12 13 14 15 310 311 313 314 438 872 930 1395 1398 1400 1402 1404 1406 1408 1410 1412 1414 1416 1418 1420 1422 1424 1426 1428 1430 1432 1462 "
check "set writes over its input" "$tool" settings set s.bin -o s.bin 'endDoc.command=' scalePercent=10
check "an emptied command has length 0" bash -c "'$tool' settings show s.bin | grep -qxF 'endDoc.commandLength = 0'"
cp s.bin s-keep.bin
for refused in 'scalePercent=101' 'scalePercent=9' 'watermarkMode=3' 'nosuchfield=1' 'zoomEnabled' \
  'scalePercent=12abc' 'startDoc.command=1G' 'startDoc.command=1B 7' 'watermarkText=12345678901234567' \
  "startDoc.command=$(printf '00 %.0s' $(seq 129))"; do
  check "set refuses $refused" bash -c "'$tool' settings set s.bin -o s.bin zoomEnabled=0 '$refused' 2>err.txt; test \$? -eq 2"
  check "the refusal of $refused says why" test -s err.txt
done
check "a refused set leaves the output intact" cmp -s s.bin s-keep.bin
check "--any-value takes what fits the width" "$tool" settings set d.bin -o a.bin --any-value scalePercent=255
check "--any-value still refuses what does not fit" bash -c "! '$tool' settings set d.bin -o a.bin --any-value scalePercent=256 2>/dev/null"
check "set --help gives an example" bash -c "'$tool' settings set --help | grep -q '^example: mq450 settings set'"

# Refusals: clear message, non-zero status, existing output untouched and no stray files.
cp d.bin keep.bin
head -c 10 d.bin > tiny.bin
check "a 10-byte file is refused" bash -c "! '$tool' settings convert tiny.bin -o keep.bin 2>err.txt"
check "the refusal says why" grep -q "not a settings record" err.txt
check "the output file is left intact" cmp -s keep.bin d.bin
check "a record claiming more than the file is refused" bash -c "! '$tool' settings merge <(head -c 1464 d.bin) -o x.bin 2>/dev/null"
check "a missing input is refused" bash -c "! '$tool' settings convert nothere.bin -o x.bin 2>/dev/null"
check "a missing -o is a usage error" bash -c "'$tool' settings convert d.bin 2>/dev/null; test \$? -eq 2"
check "show refuses a wrong size" bash -c "! '$tool' settings show old.bin 2>/dev/null"
check "an unwritable output fails" bash -c "! '$tool' settings default -o /nonexistent/dir/x.bin 2>/dev/null"
check "no output or temporary file was left behind" test -z "$(ls | grep -E '^x\.bin|\.tmp\.')"

if [ "$failures" -eq 0 ]; then echo "settings tool: all checks passed"; fi
exit $((failures > 0))

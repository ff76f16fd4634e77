#!/usr/bin/env bash
# Runs the settings commands of mq450 on real files: records, their shown fields, and the refusals.
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if ! "$@"; then
    echo "FAIL: $what"
    failures=$((failures + 1))
  fi
}
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

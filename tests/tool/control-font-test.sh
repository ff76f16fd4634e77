#!/usr/bin/env bash
# Runs mq450 control-font on real files: the table shown, one character set and removed, and the refusals.
set -u
tool=$1
package=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/check.sh"
cd "$work"

cp "$package/Driver/common/MQ450CONTROL.dat" t.dat
check "show succeeds on the shipped table" "$tool" control-font show t.dat
check "show has a header and 96 rows" test "$("$tool" control-font show t.dat | wc -l)" -eq 97
check "set succeeds" "$tool" control-font set t.dat A "1B 70 00 19 FA"
check "show prints what was set" bash -c "'$tool' control-font show t.dat | grep -qE '^A +41 +1B 70 00 19 FA *\$'"
check "a code names the character too" "$tool" control-font set t.dat 0x7E "1b40"
check "the bytes are stored as byte text" bash -c "'$tool' control-font show t.dat | grep -qE '^~ +7E +1B 40 *\$'"
check "an empty command removes the key" "$tool" control-font set t.dat A ""
check "the removed key shows no command" bash -c "'$tool' control-font show t.dat | grep -qE '^A +41 *\$'"
check "a missing file is created by set" "$tool" control-font set new.dat 0x20 "0A"
check "the new file holds the key" bash -c "'$tool' control-font show new.dat | grep -qE \"^' ' +20 +0A *\\\$\""

cp t.dat keep.dat
long=$(printf '00 %.0s' $(seq 129))
for refused in "A|1G" "A|1B 7" "A|$long" "AB|00" "0x1F|00" "0x80|00" "é|00"; do
  char=${refused%%|*}
  bytes=${refused#*|}
  check "set refuses $char ${bytes:0:12}" bash -c "'$tool' control-font set t.dat '$char' '$bytes' 2>err.txt; test \$? -eq 2"
  check "the refusal says why ($char ${bytes:0:12})" test -s err.txt
done
check "a refused set leaves the file intact" cmp -s t.dat keep.dat
check "show of a missing file fails" bash -c "! '$tool' control-font show nothere.dat 2>/dev/null"
check "--help gives an example" bash -c "'$tool' control-font --help | grep -q '^example: mq450 control-font set'"
check "no temporary file was left behind" test -z "$(ls | grep -E '\.tmp\.')"

if [ "$failures" -eq 0 ]; then echo "control-font tool: all checks passed"; fi
exit $((failures > 0))

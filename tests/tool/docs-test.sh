#!/usr/bin/env bash
# The mq450 examples of docs/support.md run as shown: every command line of its ```sh blocks (a trailing
# backslash continues a line; "# exit N" at the end says the status it must end with, 0 otherwise), in order,
# in one folder holding what the document says it holds: the package folder dist/ (the sample package laid
# out as the build lays it out, with stand-ins for the built files), shop.bmp, badge.bmp and MQ450CONTROL.dat.
# Also: every command of the tool answers --help with an example.
set -u
here=$(cd "$(dirname "$0")" && pwd)
tool=$(realpath "$1")
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/check.sh"

mkdir -p "$work/bin"
ln -s "$tool" "$work/bin/mq450"
export PATH="$work/bin:$PATH"
cd "$work"
cp -r "$root/package" dist
for words in W32 W64; do
  mkdir -p "dist/$words"
  cp dist/Driver/common/* dist/Driver/UI/* "dist/$words/"
  for built in MQ450UI.dll ZNTCOMMON.DLL ZNTUSBMON.DLL; do echo "stand-in" >"dist/$words/$built"; done
done
cp "$root/tests/data/download/shop-96x64.bmp" shop.bmp
cp "$root/tests/data/download/badge-48x32.bmp" badge.bmp
cp "$root/package/Driver/common/MQ450CONTROL.dat" .

commands=$(python3 - "$root/docs/support.md" <<'PY'
import sys
lines, inside, joined = open(sys.argv[1], encoding="utf-8").read().splitlines(), False, ""
for line in lines:
    if line.startswith("```"):
        inside = line.strip() == "```sh"
        continue
    if not inside:
        continue
    joined += line.rstrip("\\").rstrip() + " " if line.endswith("\\") else line
    if not line.endswith("\\"):
        if joined.strip():
            print(joined.strip())
        joined = ""
PY
)
count=0
while IFS= read -r line; do
  expected=0
  if [[ $line =~ \#\ exit\ ([0-9]+)$ ]]; then expected=${BASH_REMATCH[1]}; fi
  case $line in
    mq450\ *) ;;
    *) check "docs/support.md shows only mq450 commands in its sh blocks: $line" false; continue ;;
  esac
  count=$((count + 1))
  bash -c "$line" >out.txt 2>err.txt
  status=$?
  check "\"$line\" ends with $expected (got $status: $(head -c 300 err.txt))" test "$status" -eq "$expected"
done <<<"$commands"
echo "$count commands of docs/support.md ran"
check "docs/support.md shows mq450 commands ($count found)" test "$count" -ge 10

# Every command's --help: exit 0, a usage line and an example.
asked=(settings "settings default" "settings convert" "settings merge" "settings show" "settings set" logo
  "logo gray" "logo mono" "logo encode-mono" "logo encode-gray" "logo preview" "logo job" barcode "barcode check"
  "barcode job" "barcode preview" control-font "control-font show" "control-font set" watermark
  "watermark image" "watermark preview" send render printer simulate "simulate install" "simulate uninstall"
  package "package check")
mq450 --help >help.txt 2>&1
check "mq450 --help exits 0" test $? -eq 0
check "mq450 --help shows the usage" grep -qi "usage" help.txt
for command in "${asked[@]}"; do
  # shellcheck disable=SC2086
  mq450 $command --help >help.txt 2>&1
  status=$?
  check "mq450 $command --help exits 0" test "$status" -eq 0
  check "mq450 $command --help shows the usage" grep -qi "usage" help.txt
  check "mq450 $command --help has an example" grep -qi "example" help.txt
done
# A group the tool lists that the table above does not ask is a gap in the table.
for group in $(mq450 --help | awk 'NR > 1 {print $1}' | sort -u); do
  check "the --help table asks the group $group" bash -c 'for a in "${@:2}"; do [ "$a" = "$1" ] && exit 0; done; exit 1' _ "$group" "${asked[@]}"
done
check "mq450 --version prints the package version" test "$(mq450 --version)" = "mq450 $(head -1 "$root/VERSION")"
exit $((failures > 0))

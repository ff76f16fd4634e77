#!/usr/bin/env bash
# Runs mq450 render on jobs written by the tool itself: logos defined by logo job and printed by number land on
# the paper dot for dot as their intermediate files, the stored logos outlive a run only with --state, the
# report names unknown and truncated bytes, and refusals leave earlier outputs intact. The pictures it makes
# are kept in the folder given as third argument, to be looked at.
set -u
tool=$1
data=$2
pictures=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p "$pictures"
cp "$data"/colour-13x7.bmp "$data"/mono-black-white-35x9.bmp "$data"/gray-9x5.bmp .
source "$(dirname "$0")/check.sh"
# same_dots PNG X Y BMP [gray]: the paper from (X, Y) holds BMP's pixels, and white around them up to the
# logo's record size (a multiple of 32 dots across and 8 down, blank rows on top); gray compares 16 levels.
same_dots() {
  python3 - "$@" <<'PY'
import subprocess, sys
png, x0, y0, bmp = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
gray = len(sys.argv) > 5
def raw(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True).stdout.split()
    data = subprocess.run(["convert", path, "-depth", "8", "gray:-"], capture_output=True).stdout
    return int(size[0]), int(size[1]), data
pw, ph, paper = raw(png)
w, h, pic = raw(bmp)
rw = (w + 31) // 32 * 32
rh = (h + 1) // 2 * 2 if gray else (h + 7) // 8 * 8
top = rh - h if not gray else 0
for y in range(rh):
    for x in range(rw):
        inside = x < w and top <= y < top + h
        want = pic[(y - top) * w + x] if inside else 255
        if gray:
            want = (want >> 4) * 17
        got = paper[(y0 + y) * pw + x0 + x]
        if got != want:
            print(f"dot {x},{y}: paper {got}, logo {want}")
            sys.exit(1)
PY
}
printf '\x1c\x70\x01\x00\x1c\x70\x02\x00' > print12.prn

"$tool" logo job mono colour-13x7.bmp mono-black-white-35x9.bmp -o mono.prn > /dev/null
"$tool" logo mono colour-13x7.bmp --halftone m3 > /dev/null
check "mono logos and their printing render" "$tool" render mono.prn print12.prn -o mono.png --state flash > report.txt
check "the report names the logos stored" grep -qF "define mono logos 2: 32x8 64x16" report.txt
check "logo 1 is its intermediate file dot for dot" same_dots mono.png 0 8 colour-13x7Temp.bmp
check "logo 2 is its one-bit source dot for dot" same_dots mono.png 0 16 mono-black-white-35x9.bmp
cp mono.png "$pictures/logo-download-mono.png"

check "the stored logos print in a later run with --state" "$tool" render print12.prn -o later.png --state flash > /dev/null
check "the later run's logo 2 is the same" same_dots later.png 0 16 mono-black-white-35x9.bmp
check "without --state the printer has no logos" "$tool" render print12.prn -o none.png > report.txt
check "the missing logo is reported" grep -qF "print logo 1: no such logo stored" report.txt

"$tool" logo job gray gray-9x5.bmp -o gray.prn > /dev/null
"$tool" logo gray gray-9x5.bmp > /dev/null
check "a gray logo renders" "$tool" render gray.prn print12.prn -o gray.png --state flash > /dev/null
check "the gray logo is its intermediate file in 16 levels" same_dots gray.png 0 8 gray-9x5Temp.bmp gray
cp gray.png "$pictures/logo-download-gray.png"

printf '\x1b\x63\x3b\x01\x1d\x28\x41\x02\x00\x00\x02\x1b\x63\x3b\x00' > selftest.prn
check "a self-test renders with the stored logos" "$tool" render selftest.prn -o selftest.png --state flash > /dev/null
cp selftest.png "$pictures/self-test.png"

printf 'Receipt\n\x1b\x7e\x01\x02\x1d\x56\x42\x00\x1b\x70\x00\x0a\x14\x1d\x6b\x04\x31' > odd.prn
check "unknown and truncated bytes render" "$tool" render odd.prn -o odd.png > report.txt
check "the report lists the unknown bytes" grep -qF "offset 8: unknown 1B 7E 01 02" report.txt
check "the report lists the truncated command" grep -qF "offset 21: truncated 1D 6B 04 31" report.txt
cp odd.png "$pictures/unknown-and-truncated.png"

cp odd.png keep.png
"$tool" render missing.prn -o keep.png 2> err.txt
check "a missing job fails with status 1" test $? = 1
check "it says which file" grep -qF "missing.prn" err.txt
check "the earlier picture is intact" cmp -s odd.png keep.png
"$tool" render odd.prn 2> /dev/null
check "no -o is a usage error" test $? = 2
mkdir damaged && printf 'not a logo' > damaged/logos.prn
"$tool" render print12.prn -o keep.png --state damaged 2> err.txt
check "a damaged state file fails with status 1" test $? = 1
check "the damaged state file is left as it was" test "$(cat damaged/logos.prn)" = "not a logo"
check "help has an example" sh -c "'$tool' render --help | grep -q '^example: mq450 render'"

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all render checks passed"

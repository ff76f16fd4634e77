#!/usr/bin/env bash
# The mq450 tool under careless or hostile input, as whole processes: outputs that respect what they replace
# (regular files, symbolic links, pipes, devices, concurrent runs, long names) and readers that refuse what
# cannot be valid with a clear error, quickly. Each case prints its time; none is a timed assertion, but a
# hang ends at the guard below.
set -u
tool=$1
source_package=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
source "$(dirname "$0")/check.sh"
guard=30  # seconds before a case counts as hung

# case NAME EXPECTED_STATUS MESSAGE_PATTERN COMMAND...: runs the command with the guard, checks its exit status
# and that standard error matches the pattern (empty: anything).
case_() {
  local name=$1 expected=$2 pattern=$3
  shift 3
  local start=$(date +%s%N)
  timeout "$guard" "$@" >"$name.out" 2>"$name.err"
  local status=$?
  local ms=$((($(date +%s%N) - start) / 1000000))
  if [ "$status" -ne "$expected" ]; then
    echo "FAIL: $name: exit $status, expected $expected ($(head -c 300 "$name.err"))"
    failures=$((failures + 1))
  elif [ -n "$pattern" ] && ! grep -qE -- "$pattern" "$name.err"; then
    echo "FAIL: $name: message does not match '$pattern': $(head -c 300 "$name.err")"
    failures=$((failures + 1))
  else
    echo "ok: $name ($ms ms)"
  fi
}
le32() { printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"; }
bmp24() {  # bmp24 WIDTH HEIGHT FILE: a grey 24-bit bitmap
  local stride=$((($1 * 3 + 3) / 4 * 4)) size
  size=$((stride * $2))
  {
    printf 'BM'; le32 $((54 + size)); le32 0; le32 54
    le32 40; le32 "$1"; le32 "$2"; printf '\x01\x00\x18\x00'; le32 0; le32 "$size"; le32 0; le32 0; le32 0; le32 0
    head -c "$size" /dev/zero | tr '\0' '\200'
  } >"$3"
}
no_temporaries() { test -z "$(find "$work" -name '.mq450-*' -o -name '*.part' -o -name '*.tmp.*')"; }

# ---- Outputs ----
"$tool" settings default -o ref.bin

echo old >kept.bin
chmod 640 kept.bin
case_ regular-file-keeps-its-mode 0 "" "$tool" settings default -o kept.bin
check "the mode is kept" test "$(stat -c %a kept.bin)" = 640
check "the record replaced the file" cmp -s kept.bin ref.bin

echo old >target.bin
ln -s target.bin link.bin
case_ symbolic-link-written-through 0 "" "$tool" settings default -o link.bin
check "the link is still a link" test -L link.bin
check "its target holds the record" cmp -s target.bin ref.bin
ln -s missing.bin dangling.bin
case_ dangling-link-creates-its-target 0 "" "$tool" settings default -o dangling.bin
check "the dangling link's target was created" cmp -s missing.bin ref.bin

mkfifo pipe
cat pipe >from-pipe.bin &
reader=$!
case_ pipe-written-in-place 0 "" "$tool" settings default -o pipe
wait "$reader"
check "the pipe is still a pipe" test -p pipe
check "the reader got the record" cmp -s from-pipe.bin ref.bin

if mknod full c 1 7 2>/dev/null; then
  case_ full-device-reports-the-error 1 "cannot write full: No space left on device" "$tool" settings default -o full
  check "the device node is still a device" test -c full
else
  echo "skip: full-device-reports-the-error (mknod not permitted)"
fi

long=$(printf 'n%.0s' $(seq 255))
case_ longest-file-name 0 "" "$tool" settings default -o "$long"
check "the longest name holds the record" cmp -s "$long" ref.bin
bmp24 64 32 src.bmp
case_ longest-name-logo-record 0 "" "$tool" logo preview src.bmp -o "$long"
longsrc=$(printf 's%.0s' $(seq 247)).bmp  # its intermediate name is 255 bytes long
cp src.bmp "$longsrc"
case_ longest-intermediate-name 0 "" "$tool" logo gray "$longsrc"

"$tool" logo mono src.bmp --halftone m3 >/dev/null && cp srcTemp.bmp mono-ref.bmp
for i in $(seq 40); do "$tool" logo mono src.bmp --halftone m3 >/dev/null 2>>concurrent.err & done
wait
check "40 concurrent conversions of one source all succeed" test ! -s concurrent.err
check "their intermediate is whole" cmp -s srcTemp.bmp mono-ref.bmp

case_ unwritable-folder 1 "cannot write" "$tool" settings default -o /nonexistent/folder/x.bin
check "no temporary file is left anywhere" no_temporaries

# ---- Readers ----
# A form name holding a line break and a terminal escape.
cp ref.bin form.bin
printf 'A\x00\n\x00l\x00o\x00g\x00E\x00n\x00a\x00b\x00l\x00e\x00d\x00 \x00=\x00 \x001\x00\x1b\x00[\x003\x001\x00m\x00' |
  dd of=form.bin bs=1 seek=1398 conv=notrunc status=none
case_ show-escapes-control-characters 0 "" "$tool" settings show form.bin
check "one logEnabled line only" test "$(grep -c '^logEnabled' show-escapes-control-characters.out)" = 1
check "no escape byte reaches the terminal" bash -c "! grep -q $'\x1b' show-escapes-control-characters.out"
check "the line break is shown escaped" grep -qF 'formName = "A\nlogEnabled = 1\x1B[31m"' show-escapes-control-characters.out

truncate -s 3G huge.bin
case_ huge-settings-record 1 "larger than 65535 bytes" "$tool" settings convert huge.bin -o x.bin
case_ huge-record-shown 1 "larger than 1976 bytes" "$tool" settings show huge.bin
case_ contrast-with-two-signs 2 "contrast must be a whole number" "$tool" logo gray src.bmp --contrast +-5
case_ logo-job-contrast-with-two-signs 2 "contrast must be a whole number" \
  "$tool" logo job mono src.bmp --contrast +-5 -o job.prn
case_ brightness-with-a-blank 2 "brightness must be a whole number" "$tool" logo gray src.bmp --brightness ' 5'

# The logo source shrinks and grows while conversions read it.
bmp24 1024 768 big.bmp
cp big.bmp moving.bmp
(for i in $(seq 60); do truncate -s 1000 moving.bmp; cp big.bmp moving.bmp; done) &
shrinker=$!
crashes=0
for i in $(seq 60); do
  "$tool" logo mono moving.bmp --halftone diffuse >/dev/null 2>&1
  [ $? -ge 128 ] && crashes=$((crashes + 1))
done
wait "$shrinker"
check "a source that shrinks during conversions never kills the tool ($crashes crashes)" test "$crashes" = 0

# ---- Package and machine files ----
package() {  # package NAME: a copy of the sample package with its driver folders
  cp -r "$source_package" "$1"
  for w in W32 W64; do
    mkdir -p "$1/$w"
    cp "$source_package"/Driver/common/* "$source_package"/Driver/UI/* "$1/$w/"
    for f in MQ450UI.dll ZNTCOMMON.DLL ZNTUSBMON.DLL LANGUAGE_MQ450.ini; do
      [ -e "$1/$w/$f" ] || echo placeholder >"$1/$w/$f"
    done
  done
}
simulate=("$tool" simulate install --model MQ-450 --os Win7 --port LPT1:)

package pkg
cp -r pkg pkg-count
sed -i 's/^DEVICENUMBER=.*/DEVICENUMBER=2147483647/' pkg-count/DRVCONFIG/setup.ini
case_ device-count-beyond-the-list 0 "claims 2147483647 models; only the first 100 are read" \
  "${simulate[@]}" --package pkg-count --machine m-count

cp -r pkg pkg-wide
{
  echo "[Wide]"
  for i in $(seq 40000); do echo "K$i=$i"; done
} >>pkg-wide/DRVCONFIG/setup.ini
case_ section-of-40000-keys 0 "" "${simulate[@]}" --package pkg-wide --machine m-wide

cp -r pkg pkg-big
yes '[Filler]
Key=a value that fills the file' | head -c 24000000 >>pkg-big/DRVCONFIG/setup.ini
case_ package-file-of-24-megabytes 0 "" "${simulate[@]}" --package pkg-big --machine m-big
case_ out-of-memory-is-a-clear-error 1 "out of memory" bash -c \
  "ulimit -v 150000; '$tool' simulate install --model MQ-450 --os Win7 --port LPT1: --package pkg-big --machine m-oom"

cp -r pkg pkg-huge
truncate -s 3G pkg-huge/DRVCONFIG/setup_receipt.ini
case_ package-file-of-3-gigabytes 2 "setup_receipt.ini: larger than 33554432 bytes" \
  "${simulate[@]}" --package pkg-huge --machine m-huge

"${simulate[@]}" --package pkg --machine m >/dev/null
cp m/registry.txt registry.good
printf '[HKLM\\SOFTWARE\\ZNT]\n"Count"=4:zz\n' >>m/registry.txt
cp m/registry.txt registry.bad
case_ malformed-registry-line 1 "registry.txt cannot be read: line [0-9]+: the value data is not hex digits" \
  "${simulate[@]}" --package pkg --machine m
check "the malformed machine file is left as it was" cmp -s m/registry.txt registry.bad
{
  printf '[HKLM'
  for i in $(seq 50000); do printf '\\k'; done
  printf ']\n'
} >m/registry.txt
case_ key-nested-50000-levels 1 "line 1: a key nested deeper than 512 levels" "${simulate[@]}" --package pkg --machine m
truncate -s 3G m/registry.txt
case_ registry-of-3-gigabytes 1 "registry.txt: larger than" "${simulate[@]}" --package pkg --machine m
cp registry.good m/registry.txt
printf 'printer\tP\tLPT1:\tD\tWinPrint\t-1\n' >>m/spooler.txt
case_ malformed-spooler-line 1 "spooler.txt cannot be read: line [0-9]+: the printer attributes" \
  "${simulate[@]}" --package pkg --machine m

tabbed=$'ZNTCOM1:\tx\ny'
case_ port-name-with-tab-and-line-break 0 "" "${simulate[@]}" --package pkg --machine m-tab --port "$tabbed"
case_ machine-still-readable-after-it 0 "" "${simulate[@]}" --package pkg --machine m-tab
check "the odd name is kept escaped" grep -qF 'ZNTCOM1:%09x%0Ay' m-tab/registry.txt m-tab/spooler.txt

check "no temporary file is left anywhere" no_temporaries
if [ "$failures" -eq 0 ]; then echo "hostile input: all cases passed"; fi
exit $((failures > 0))

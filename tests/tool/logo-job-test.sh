#!/usr/bin/env bash
# Runs mq450 logo job on real bitmaps: the job's framing, Clear All Logos, and every refusal of the page, each
# leaving no output behind and an earlier output intact.
set -u
tool=$1
data=$2
download=$3  # the Wine sheet host's files, with the jobs this tool writes for them
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$data"/*.bmp .
source "$(dirname "$0")/check.sh"
hex() { od -An -v -tx1 "$1" | tr -d ' \n'; }
refused() {  # refused DESCRIPTION STATUS MESSAGE ARGS...: fails with that status and message, out.prn untouched
  local what=$1 status=$2 message=$3
  shift 3
  cp keep.prn out.prn
  "$tool" logo job "$@" -o out.prn > /dev/null 2> err.txt
  local got=$?
  check "$what: status $status" test "$got" = "$status"
  check "$what: says why" grep -qF "$message" err.txt
  check "$what: earlier output intact" cmp -s keep.prn out.prn
}

check "clear succeeds" "$tool" logo job clear -o clear.prn
check "clear is the bracketed clear command" test "$(hex clear.prn)" = 1b633b011c7100000a1b633b00

check "mono of two files succeeds" "$tool" logo job mono colour-13x7.bmp mono-black-white-35x9.bmp -o mono.prn
check "mono opens with the bracket and FS q 2" test "$(hex mono.prn | cut -c1-14)" = 1b633b011c7102
check "mono ends with the closing bracket" test "$(hex mono.prn | tail -c 8)" = 1b633b00
check "no intermediate file is left beside the sources" test -z "$(ls | grep Temp.bmp)"
check "gray succeeds" "$tool" logo job gray gray-9x5.bmp colour-13x7.bmp --contrast -20 -o gray.prn
check "gray opens with the gray define command and 2" test "$(hex gray.prn | cut -c1-14)" = 1b633b011c7202

# Pictures at and over the size limits, and logos at and over the byte limit (one-bit sources count as they
# are in mono mode, so trailing bytes set their size).
python3 - <<'PY'
import struct
def mono(w, h, total=None):
    stride = (w + 31) // 32 * 4
    body = bytes(stride * h)
    size = 62 + len(body)
    head = b"BM" + struct.pack("<IHHI", size, 0, 0, 62) + struct.pack("<IiiHHIIiiII", 40, w, h, 1, 1, 0, len(body), 0, 0, 0, 0)
    data = head + b"\x00\x00\x00\x00\xff\xff\xff\x00" + body
    return data + bytes((total or len(data)) - len(data))
open("wide.bmp", "wb").write(mono(1025, 10))
open("tall.bmp", "wb").write(mono(10, 769))
open("largest.bmp", "wb").write(mono(1024, 768))
open("fits.bmp", "wb").write(mono(64, 64, 98303))
open("over.bmp", "wb").write(mono(64, 64, 98304))
PY
check "98303 bytes are accepted" "$tool" logo job mono fits.bmp -o fits.prn

cp clear.prn keep.prn
# 1024 x 768 passes the size check; as one logo it is over the byte limit (62 + 128 x 768 bytes).
refused "1024 x 768" 1 "the logos come to 98366 bytes" mono largest.bmp
refused "1025 x 10" 1 "wide.bmp: 1025 x 10 is larger than 1024 x 768" mono wide.bmp
refused "10 x 769" 1 "is larger than 1024 x 768" gray tall.bmp
refused "98304 bytes" 1 "the logos come to 98304 bytes" mono over.bmp
refused "ten files" 1 "10 files given: the printer keeps at most 9 logos" mono $(for i in $(seq 10); do echo colour-13x7.bmp; done)
refused "a 4-bit picture in mono" 1 "four-bit-6x2.bmp: a 4-bit picture cannot become a mono logo" mono colour-13x7.bmp four-bit-6x2.bmp
refused "a 4-bit picture in gray" 1 "four-bit-6x2.bmp:" gray four-bit-6x2.bmp
refused "a truncated picture" 1 "truncated-8x8.bmp:" mono truncated-8x8.bmp
refused "a missing file" 1 "cannot read nowhere.bmp" mono nowhere.bmp
refused "halftone with gray" 2 "gray logos take no halftone" gray colour-13x7.bmp --halftone m3
refused "an unknown halftone" 2 "halftone must be" mono colour-13x7.bmp --halftone m5
refused "contrast out of range" 2 "contrast must be" mono colour-13x7.bmp --contrast 101
refused "no files" 2 "needs at least one bitmap" mono
refused "clear with files" 2 "takes no files" clear colour-13x7.bmp
# The job files the Wine sheet host compares the page's printer output with are this tool's output.
check "mono job file is the tool's" sh -c "\"$tool\" logo job mono \"$download/shop-96x64.bmp\" \"$download/badge-48x32.bmp\" -o d-mono.prn >/dev/null && cmp -s d-mono.prn \"$download/logo-job-mono.prn\""
check "gray job file is the tool's" sh -c "\"$tool\" logo job gray \"$download/shop-96x64.bmp\" \"$download/badge-48x32.bmp\" -o d-gray.prn >/dev/null && cmp -s d-gray.prn \"$download/logo-job-gray.prn\""
check "clear job file is the tool's" cmp -s clear.prn "$download/logo-job-clear.prn"
check "no temporary files are left" test -z "$(ls | grep '\.tmp\.')"
check "help has an example" sh -c "\"$tool\" logo job --help | grep -q '^example: mq450 logo job'"

[ "$failures" -eq 0 ] && echo "all logo job checks passed"
exit "$((failures > 0))"

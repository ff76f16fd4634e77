#!/usr/bin/env bash
# Runs the barcode commands of mq450 as a whole process: the data check's answers and exit statuses, the test
# print of a font of a real settings record byte for byte, and the refusals, each leaving no output behind and
# an earlier output intact.
set -u
tool=$1
pages=$2  # the Wine sheet host's record and the test prints this tool writes for it
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
source "$(dirname "$0")/check.sh"
hex() { od -An -v -tx1 "$1" | tr -d ' \n'; }
answer() {  # answer STATUS EXPECTED-OUTPUT ARGS...: barcode check says exactly that, with that status
  local status=$1 expected=$2
  shift 2
  local out got
  out=$("$tool" barcode check "$@" 2>&1)
  got=$?
  check "check $*: status $status" test "$got" = "$status"
  check "check $*: says \"$expected\" (said \"$out\")" test "$out" = "$expected"
}

answer 0 "accepted: 8 bytes: 7B 41 31 32 7B 43 22 38" code128 '{A12{C3456'
answer 0 "accepted: 6 bytes: 7B 41 31 32 33 34" 8 '{A1234'
answer 1 "rejected: the Code128 code-C run from offset 2 has an odd number of digits" code128 '{C123'
answer 1 "rejected: Code128 data must begin with {A, {B or {C" code128 '{D12'
answer 1 "rejected: UPC-A takes 11 to 12 bytes, not 13" upc-a 1234567890123
answer 1 "rejected: Codabar data must begin with 'A', 'B', 'C' or 'D'" codabar E123A
answer 0 "accepted: 2 bytes: C9 E9" qr 'Éé'
answer 0 "accepted: 4 bytes: D6 D0 CE C4" qr '中文' --code-page 936
answer 0 "accepted: 3 bytes: 00 FF 41" pdf417 '00 FF 41' --hex
answer 1 "rejected: byte 0x23 at offset 4 is not permitted in GS1 DataBar Stacked" gs1-stacked '0123#'
answer 1 "rejected: Maxi Code takes 1 to 84 bytes, not 85" maxicode "$(printf '%085d' 0)"
answer 2 "mq450: the data holds a character that code page 1252 does not have" qr '中文'
for args in "zz 1" "19 1" "upc-a" "upc-a 1 2"; do
  "$tool" barcode check $args > /dev/null 2>&1
  check "check $args is a usage error" test $? = 2
done
check "help exits 0 with an example" bash -c "\"$tool\" barcode check --help | grep -q '^example: mq450 barcode check'"

# Test prints of real records: EAN13 (entry 2 by default), Code128 with edited settings, QR Code.
"$tool" settings default -o d.bin
"$tool" settings set d.bin -o s.bin 'barcode1D[4].type=8' 'barcode1D[4].elementWidth=2' \
  'barcode1D[4].elementHeight=80' 'barcode1D[4].hriPosition=2' 'barcode1D[4].hriFont=1' \
  'barcode2D[1].type=4' 'barcode2D[1].qrElementWidth=6' 'barcode2D[1].qrErrorLevel=2' > /dev/null
check "EAN13 job succeeds" "$tool" barcode job d.bin --font 1d3 --data 1234567890128 -o ean.prn
check "EAN13 job bytes" test "$(hex ean.prn)" = \
  1d66001d48001d77031d68a31d6b02$(printf 1234567890128 | od -An -tx1 | tr -d ' \n')000a1d564200
check "Code128 job succeeds" "$tool" barcode job s.bin --font 1d5 --data '{A12{C3456' -o c128.prn
check "Code128 job bytes" test "$(hex c128.prn)" = \
  1d66011d48021d77021d68501d6b49001d77021d68501d6b49087b4131327b432238000a1d564200
check "QR job with the sample data" "$tool" barcode job s.bin --font 2d2 -o qr.prn
check "QR job bytes" test "$(hex qr.prn)" = \
  1d6f000600011d6b0b48412c$(printf 01234567890123 | od -An -tx1 | tr -d ' \n')000a1d564200

refused() {  # refused DESCRIPTION STATUS MESSAGE ARGS...: fails with that status and message, out.prn untouched
  local what=$1 status=$2 message=$3
  shift 3
  echo keep > out.prn
  "$tool" barcode job "$@" -o out.prn > /dev/null 2> err.txt
  local got=$?
  check "$what: status $status" test "$got" = "$status"
  check "$what: says why ($(cat err.txt))" grep -qF -- "$message" err.txt
  check "$what: earlier output intact" test "$(cat out.prn)" = keep
}
refused "refused data" 1 "data refused: the Code128 code-C run" s.bin --font 1d5 --data '{C123'
refused "UPC-A of 13 digits" 1 "UPC-A takes 11 to 12 bytes, not 13" d.bin --font 1d1 --data 1234567890123
head -c 100 d.bin > short.bin
refused "short record" 1 "not a settings record (100 bytes" short.bin --font 1d1
"$tool" settings set d.bin -o bad.bin --any-width 'barcode1D[0].type=13' > /dev/null 2>&1 ||
  printf '\x0d' | { cp d.bin bad.bin; dd of=bad.bin bs=1 seek=596 conv=notrunc status=none; }
refused "type no list offers" 1 "holds type 13" bad.bin --font 1d1
refused "font 1d9" 2 "--font is 1d1..1d8, 2d1 or 2d2" d.bin --font 1d9
refused "missing record" 1 "nothing.bin" nothing.bin --font 2d1
refused "unknown option" 2 "unknown option" d.bin --font 2d1 --colour red
"$tool" barcode job d.bin --font 2d1 > /dev/null 2>&1
check "job without -o is a usage error" test $? = 2

# The record the Wine sheet host's barcode pages are expected to leave, and the test prints the pages send
# for it, are this tool's.
"$tool" settings default -o p-default.bin > /dev/null
check "the pages' record is the tool's" sh -c "\"$tool\" settings set p-default.bin -o p.bin \
  'barcode1D[1].type=8' 'barcode1D[1].elementWidth=4' 'barcode1D[1].elementWidthX8=32' \
  'barcode1D[1].elementHeight=100' 'barcode1D[1].hriPosition=2' 'barcode1D[1].hriFont=1' \
  'barcode1D[1].symbolHeight=117' 'barcode1D[2].type=12' 'barcode1D[2].gs1ElementWidth=3' \
  'barcode1D[2].gs1RowHeight=60' 'barcode1D[2].gs1CompositeRowHeight=5' 'barcode1D[2].gs1SeparatorHeight=2' \
  'barcode1D[2].gs1Hri=2' 'barcode1D[2].gs1Ai=0' 'barcode2D[0].pdfColumns=5' 'barcode2D[0].pdfRows=90' \
  'barcode2D[0].pdfElementWidth=2' 'barcode2D[0].pdfElementHeight=4' 'barcode2D[0].pdfErrorLevel=3' \
  'barcode2D[1].type=4' 'barcode2D[1].qrElementWidth=6' 'barcode2D[1].qrLanguageMode=1' \
  'barcode2D[1].qrModel=1' 'barcode2D[1].qrErrorLevel=2' > /dev/null && cmp -s p.bin \"$pages/pages-settings.bin\""
page_job() {  # page_job FILE FONT DATA: the tool's test print of that font equals the file
  check "$1 is the tool's" sh -c "\"$tool\" barcode job \"$pages/pages-settings.bin\" --font $2 --data '$3' -o j.prn \
    > /dev/null && cmp -s j.prn \"$pages/$1\""
}
page_job page-1d-code128.prn 1d2 '{A12{C3456'
page_job page-1d-gs1-expanded.prn 1d3 0112345678901231
page_job page-2d-pdf417.prn 2d1 'MQ-450 PDF417'
page_job page-2d-qr.prn 2d2 https://example.com/mq450

echo "barcode commands: $failures failures"
test "$failures" = 0

#!/usr/bin/env bash
# The barcode test prints of the 1D and 2D pages, written by mq450 barcode job, printed by mq450 render and
# read back from the paper by an independent decoder (zbar): each type zbar reads, with its sample data where
# that is a valid symbol, otherwise with data the page accepts. zbar names UPC-A as the EAN-13 it expands to,
# and GS1 DataBar with the (01) identifier and its check digit. One paper per family is kept in the folder
# given as second argument.
set -u
tool=$1
pictures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p "$pictures"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
"$tool" settings default -o d.bin

# trip FIELD -- FONT DATA EXPECTED [PICTURE]: the test print of the record with FIELD set, rendered and read.
trip() {
  local field=$1 font=$3 data=$4 expected=$5 picture=${6:-} dataArgs=()
  [ "$data" != - ] && dataArgs=(--data "$data")
  "$tool" settings set d.bin -o r.bin "$field" > /dev/null || { fail "settings $field"; return; }
  "$tool" barcode job r.bin --font "$font" "${dataArgs[@]}" -o job.prn > /dev/null || { fail "job $field"; return; }
  if ! "$tool" render job.prn -o paper.png > report.txt 2> err.txt; then
    fail "render of $field '$data': $(cat err.txt)"
    return
  fi
  grep -q "not drawn" report.txt && fail "$field '$data': $(grep 'not drawn' report.txt)"
  local got
  got=$(zbarimg -q paper.png 2> /dev/null | head -1)
  [ "$got" = "$expected" ] || fail "$field '$data' reads '$got' from the paper, expected '$expected'"
  [ -n "$picture" ] && cp paper.png "$pictures/$picture.png"
}
one() { local type=$1; shift; trip "barcode1D[0].type=$type" -- 1d1 "$@"; }
two() { local type=$1; shift; trip "barcode2D[1].type=$type" -- 2d2 "$@"; }

one 0 - EAN-13:0123456789012 barcode-upc-a
one 2 12345670 EAN-8:12345670 barcode-ean8
one 3 1234567890128 EAN-13:1234567890128
one 4 - CODE-39:123ABC barcode-code39
one 5 - I2/5:0123456789 barcode-itf  # an odd digit count gains a leading zero
one 6 - Codabar:A123456789A barcode-codabar
one 7 - CODE-93:123ABC barcode-code93
one 8 - CODE-128:1234 barcode-code128
one 8 '{A12{C3456' CODE-128:123456
one 9 0123456789012 DataBar:0101234567890128 barcode-gs1-databar
one 10 0123456789012 DataBar:0101234567890128
one 12 '(01)01234567890128' DataBar-Exp:0101234567890128 barcode-gs1-databar-expanded
two 1 0123456789012 DataBar:0101234567890128 barcode-gs1-databar-stacked
two 2 0123456789012 DataBar:0101234567890128
two 3 '(01)01234567890128' DataBar-Exp:0101234567890128
two 4 - QR-Code:01234567890123 barcode-qr
two 4 'Hello, QR' 'QR-Code:Hello, QR'
# Symbols zbar does not read are still drawn, not reported as failures.
for picture in "0 pdf417" "5 maxicode"; do
  set -- $picture
  "$tool" settings set d.bin -o r.bin "barcode2D[1].type=$1" > /dev/null
  "$tool" barcode job r.bin --font 2d2 -o job.prn > /dev/null
  "$tool" render job.prn -o "$pictures/barcode-$2.png" > report.txt || fail "render of $2"
  grep -q "not drawn" report.txt && fail "$2: $(grep 'not drawn' report.txt)"
done

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "every test print read back from the paper"

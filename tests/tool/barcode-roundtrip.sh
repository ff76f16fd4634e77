#!/usr/bin/env bash
# Draws test-print symbols with mq450 barcode preview and reads them back with an independent decoder (zbar):
# every type zbar reads, with its sample data where that is a valid symbol and with other accepted data, at
# the narrowest and widest module widths. zbar names UPC-A and UPC-E as the EAN-13 they expand to, and GS1
# DataBar with the (01) identifier and its check digit. Sample data that no symbol can carry (a wrong check
# digit, a UPC-A number without a UPC-E form) must be refused with the reason.
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
"$tool" settings default -o d.bin

# trip FIELD=VALUE... -- FONT DATA EXPECTED: the record with those fields, its preview decoded.
trip() {
  local fields=()
  while [ "$1" != -- ]; do fields+=("$1"); shift; done
  shift
  local font=$1 data=$2 expected=$3 dataArgs=()
  [ "$data" != - ] && dataArgs=(--data "$data")
  "$tool" settings set d.bin -o r.bin "${fields[@]}" > /dev/null || { fail "settings ${fields[*]}"; return; }
  rm -f x.png
  if ! "$tool" barcode preview r.bin --font "$font" "${dataArgs[@]}" -o x.png > /dev/null 2> err.txt; then
    fail "preview of ${fields[*]} $data: $(cat err.txt)"
    return
  fi
  local got
  got=$(zbarimg -q x.png 2> /dev/null | head -1)
  [ "$got" = "$expected" ] || fail "${fields[*]} '$data' decodes to '$got', expected '$expected'"
}
one() { local type=$1; shift; trip "barcode1D[0].type=$type" -- 1d1 "$@"; }
two() { local type=$1; shift; trip "barcode2D[1].type=$type" -- 2d2 "$@"; }

one 0 - EAN-13:0123456789012
one 0 03600029145 EAN-13:0036000291452
one 1 01234000005 EAN-13:0012340000053
one 2 1234567 EAN-8:12345670
one 2 12345670 EAN-8:12345670
one 3 1234567890128 EAN-13:1234567890128
one 3 590123412345 EAN-13:5901234123457
one 4 - CODE-39:123ABC
one 4 'CODE 39-$/+%' 'CODE-39:CODE 39-$/+%'
one 5 - I2/5:0123456789  # an odd digit count gains a leading zero
one 5 12345678 I2/5:12345678
one 6 - Codabar:A123456789A
one 6 A1234T Codabar:A1234A  # T is the alternative name of stop character A
one 7 - CODE-93:123ABC
one 7 'code 93 lower' 'CODE-93:code 93 lower'
one 8 - CODE-128:1234
one 8 '{A12{C3456' CODE-128:123456
one 8 '{BHello{C2026' CODE-128:Hello2026
one 9 0123456789012 DataBar:0101234567890128
one 10 0123456789012 DataBar:0101234567890128
one 12 '(01)01234567890128' DataBar-Exp:0101234567890128
two 1 0123456789012 DataBar:0101234567890128
two 2 0123456789012 DataBar:0101234567890128
two 3 '(01)01234567890128' DataBar-Exp:0101234567890128
two 4 - QR-Code:01234567890123
two 4 'Hello, QR' 'QR-Code:Hello, QR'
trip 'barcode2D[1].type=4' 'barcode2D[1].qrErrorLevel=2' 'barcode2D[1].qrElementWidth=2' -- 2d2 'level H' \
  'QR-Code:level H'
trip 'barcode1D[0].type=8' 'barcode1D[0].elementWidth=2' 'barcode1D[0].elementHeight=40' -- 1d1 - CODE-128:1234
trip 'barcode1D[0].type=3' 'barcode1D[0].elementWidth=6' 'barcode1D[0].hriPosition=3' -- 1d1 1234567890128 \
  EAN-13:1234567890128

# Sample data no symbol can carry.
refused() {  # refused TYPE MESSAGE
  "$tool" settings set d.bin -o r.bin "barcode1D[0].type=$1" > /dev/null
  echo keep > x.png
  if "$tool" barcode preview r.bin --font 1d1 -o x.png > /dev/null 2> err.txt; then
    fail "type $1's sample data was drawn"
  fi
  grep -qF -- "$2" err.txt || fail "type $1: says '$(cat err.txt)', not '$2'"
  [ "$(cat x.png)" = keep ] || fail "type $1: earlier picture replaced"
}
refused 1 "has no UPC-E form"
refused 2 "Invalid check digit"
refused 3 "Invalid check digit"
refused 12 "Data does not start with an AI"

# The human-readable text adds to the picture's height.
"$tool" settings set d.bin -o a.bin 'barcode1D[0].hriPosition=0' > /dev/null
"$tool" settings set d.bin -o b.bin 'barcode1D[0].hriPosition=2' > /dev/null
"$tool" barcode preview a.bin --font 1d1 -o a.png > /dev/null
"$tool" barcode preview b.bin --font 1d1 -o b.png > /dev/null
height() { python3 -c "import struct,sys; print(struct.unpack('>I', open(sys.argv[1],'rb').read()[20:24])[0])" "$1"; }
[ "$(height b.png)" -gt "$(height a.png)" ] || fail "HRI below does not make the picture taller"

echo "barcode round trip: $failures failures"
test "$failures" = 0

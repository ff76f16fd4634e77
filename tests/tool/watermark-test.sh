#!/usr/bin/env bash
# Runs mq450 watermark on real files: the picture file of 1-, 8- and 24-bit bitmaps, the refusals (which leave
# an existing output alone), and the preview box of a picture watermark, tiled and anchored.
set -u
tool=$(realpath "$1")
logos=$(realpath "$2")
data=$(realpath "$3")  # tests/data: the 8-bit picture the Wine sheet host applies, and its picture file
source "$(dirname "$0")/check.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# field OFFSET SIZE FILE: a little-endian header field as a decimal number.
field() { od -An -tu"$2" -j "$1" -N "$2" "$3" | tr -d ' '; }

check "8-bit picture normalised" "$tool" watermark image "$logos/gray-9x5.bmp" -o gray.bmp
check "its size is 54 + 5 rows of 28" test "$(stat -c %s gray.bmp)" -eq 194
check "its header says 24 bits at 54" test "$(field 28 2 gray.bmp)/$(field 10 4 gray.bmp)/$(field 2 4 gray.bmp)" = 24/54/194
check "1-bit picture normalised" "$tool" watermark image "$logos/mono-black-white-35x9.bmp" -o mono.bmp
check "its size is 54 + 9 rows of 108" test "$(stat -c %s mono.bmp)" -eq 1026
check "its pixels are the palette's black and white only" \
  test "$(tail -c 972 mono.bmp | od -An -v -tx1 | tr ' ' '\n' | grep -v '^$' | sort -u | tr '\n' ' ')" = "00 ff "
check "the sheet host's 8-bit picture normalised" "$tool" watermark image "$data/download/badge-48x32.bmp" -o badge.bmp
check "as the file the sheet host compares the page's file with" cmp -s badge.bmp "$data/watermark/badge-48x32-picture.bmp"
check "24-bit picture copied" "$tool" watermark image "$logos/colour-13x7.bmp" -o colour.bmp
check "the copy is the file unchanged" cmp -s colour.bmp "$logos/colour-13x7.bmp"

echo keep > kept.bmp
for refused in four-bit-6x2 rle8-header-4x4 top-down-5x3 truncated-8x8; do
  check "$refused is refused" bash -c "'$tool' watermark image '$logos/$refused.bmp' -o kept.bmp 2>err.txt; test \$? -eq 1"
  check "$refused gets the page's message" grep -q "Make sure the specified bitmap is 1/8/24/ bits!" err.txt
done
check "a missing source fails" bash -c "! '$tool' watermark image nothere.bmp -o kept.bmp 2>/dev/null"
check "refusals leave the output as it was" test "$(cat kept.bmp)" = keep
check "image without -o is a usage error" bash -c "'$tool' watermark image gray.bmp 2>/dev/null; test \$? -eq 2"

"$tool" settings default -o default.bin >/dev/null
"$tool" settings set default.bin -o tiled.bin watermarkPosition=9 watermarkSize=10 watermarkBrightness=0 >/dev/null
check "tiled preview drawn" bash -c "'$tool' watermark preview tiled.bin --picture '$logos/colour-13x7.bmp' --box 129x214 -o tiled.png >out.txt"
check "tiles are drawn at 20%: 25 x 13" grep -q "size 20, brightness 0: 25x13 tiles" out.txt
check "the preview is a 129 x 214 PNG" test "$(od -An -tx1 -j 16 -N 8 tiled.png | tr -d ' ')" = 00000081000000d6
check "anchored preview drawn from the record's own path" bash -c "
  '$tool' settings set default.bin -o anchored.bin 'watermarkBitmapPath=$logos/gray-9x5.bmp' watermarkPosition=8 >/dev/null &&
  '$tool' watermark preview anchored.bin --box 100x100 -o anchored.png >out.txt"
check "right-bottom at full size: 100 x 55 at 0,45" grep -q "100x55 at 0,45" out.txt
for box in 0x10 10 10x4097 -5x5 10x+5 axb; do
  check "--box $box is refused" bash -c "'$tool' watermark preview tiled.bin --picture gray.bmp --box '$box' -o p.png 2>/dev/null; test \$? -eq 2"
done
check "a refused picture fails the preview" bash -c "'$tool' watermark preview tiled.bin --picture '$logos/four-bit-6x2.bmp' --box 9x9 -o p.png 2>/dev/null; test \$? -eq 1"
check "a short settings record fails" bash -c "'$tool' watermark preview gray.bmp --picture gray.bmp --box 9x9 -o p.png 2>/dev/null; test \$? -eq 1"
check "nothing was written by the failures" test ! -e p.png
check "--help gives an example" bash -c "'$tool' watermark --help | grep -q '^example: mq450 watermark preview'"
check "an unknown command is a usage error" bash -c "'$tool' watermark stamp 2>/dev/null; test \$? -eq 2"
check "no temporary file was left behind" test -z "$(ls | grep -E '\.tmp\.')"

if [ "$failures" -eq 0 ]; then echo "watermark tool: all checks passed"; fi
exit $((failures > 0))
